// The currency list: choosing a row makes it the current currency.
#pragma once

#include "ui/lists/list_editor.h"

namespace devical::ui {

class TRates : public ListWindow {
    Q_OBJECT
public:
    explicit TRates(Services& services, QWidget* parent = nullptr);

protected:
    QString CurrentTitle() const override { return services_.CurrencyTitle(); }
};

}  // namespace devical::ui
