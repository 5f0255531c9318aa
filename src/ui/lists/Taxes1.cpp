#include "ui/lists/Taxes1.h"

#include "platform/desktop.h"
#include "storage/file_io.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

TTaxes::TTaxes(TCalc& calc, QWidget* parent)
    : ListWindow(calc,
                 {"Taxes", "Taxes", "Taxes_Face", "Taxes_Tips", "Taxes.txt", "DontExistTaxe", "SelTaxeBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}, storage::kRateFields, false},
                 parent) {}

bool TTaxes::ChooseRow(const QTreeWidgetItem& row) {
    const QString title = row.text(0);
    const QString rateText = row.text(1);
    try {
        calc_.State().TaxRate = engine::ParseAmount(rateText.toStdString(), platform::DecimalSeparator());
        calc_.State().TaxChanged = true;
        calc_.Settings().WriteTax(title.toStdString(), rateText.toStdString());
    } catch (const std::runtime_error& error) {  // a rate that is not a number, a file not written
        ShowError(QString::fromStdString(error.what()));
        return false;
    }
    return true;
}

}  // namespace devical::ui
