// The tax list: choosing a row makes it the current tax rate.
#pragma once

#include "ui/lists/list_editor.h"

namespace devical::ui {

class TTaxes : public ListWindow {
    Q_OBJECT
public:
    explicit TTaxes(TCalc& calc, QWidget* parent = nullptr);

protected:
    bool ChooseRow(const QTreeWidgetItem& row) override;
    QStringList PlaceholderRow() override { return {QStringLiteral("Titre taxe"), QStringLiteral("0")}; }
};

}  // namespace devical::ui
