// The tax list: choosing a row makes it the current tax rate.
#pragma once

#include "ui/lists/list_editor.h"

namespace devical::ui {

class TTaxes : public ListWindow {
    Q_OBJECT
public:
    explicit TTaxes(Services& services, QWidget* parent = nullptr);

protected:
    QString CurrentTitle() const override { return services_.TaxTitle(); }
};

}  // namespace devical::ui
