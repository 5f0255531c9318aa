#include "ui/lists/Taxes1.h"

#include "platform/desktop.h"
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
    } catch (const engine::ConversionError& error) {
        ShowError(QString::fromStdString(error.what()));
        return false;
    }
    calc_.State().TaxChanged = true;
    return calc_.StoreSettings([&](const storage::SettingsFile& settings) {
        settings.WriteTax(title.toStdString(), rateText.toStdString());
    });
}

}  // namespace devical::ui
