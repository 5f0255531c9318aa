#include "ui/lists/Taxes1.h"

#include "ui/main/Devical1.h"

namespace devical::ui {

TTaxes::TTaxes(TCalc& calc, QWidget* parent)
    : ListWindow(calc,
                 {"Taxes", "Taxes", "Taxes_Face", "Taxes_Tips", "Taxes.txt", "DontExistTaxe", "SelTaxeBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}, storage::kRateFields, false},
                 parent) {}

bool TTaxes::ChooseRow(const QTreeWidgetItem& row) {
    const auto rate = ListedRate(row);
    if (!rate) return false;
    calc_.State().TaxRate = *rate;
    calc_.State().TaxChanged = true;
    return calc_.StoreSettings([&row](const storage::SettingsFile& settings) {
        settings.WriteTax(row.text(0).toStdString(), row.text(1).toStdString());  // exactly as listed
    });
}

}  // namespace devical::ui
