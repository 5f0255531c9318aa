// The currency list: choosing a row makes it the current currency.
#pragma once

#include "ui/lists/list_editor.h"

namespace devical::ui {

class TRates : public ListWindow {
    Q_OBJECT
public:
    explicit TRates(TCalc& calc, QWidget* parent = nullptr);

protected:
    bool ChooseRow(const QTreeWidgetItem& row) override;
    QStringList PlaceholderRow() override;
    bool IsLocked(const QTreeWidgetItem& row) const override;
    void MarkRow(QTreeWidgetItem& row, bool fromFile) override;
};

}  // namespace devical::ui
