#include "ui/lists/Rates1.h"

#include "ui/main/Devical1.h"
#include "ui/main/icons.h"

namespace devical::ui {

namespace {
constexpr int kLockedRole = Qt::UserRole + 2;
}

TRates::TRates(TCalc& calc, QWidget* parent)
    : ListWindow(calc,
                 {"Rates", "Taux de change", "Rates_Face", "Rates_Tips", "Rates.txt", "DontExistRate", "SelRateBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}, storage::kRateFields, false},
                 parent) {}

QStringList TRates::PlaceholderRow() { return {QStringLiteral("XXX Nouvelle devise"), QStringLiteral("1")}; }

// The mark comes from the title as read from the file; a row added here stays unlocked
// until the list is next loaded.
void TRates::MarkRow(QTreeWidgetItem& row, bool fromFile) {
    const bool locked = fromFile && storage::IsLockedCurrency(row.text(0).toStdString());
    row.setData(0, kLockedRole, locked);
    row.setIcon(0, PadlockIcon(locked));
}

bool TRates::IsLocked(const QTreeWidgetItem& row) const { return row.data(0, kLockedRole).toBool(); }

bool TRates::ChooseRow(const QTreeWidgetItem& row) {
    const auto rate = ListedRate(row);
    if (!rate) return false;
    calc_.State().CurrencyRate = *rate;
    if (!calc_.StoreSettings([&row](const storage::SettingsFile& settings) {
            settings.WriteCurrency(row.text(0).toStdString(), row.text(1).toStdString());  // exactly as listed
        }))
        return false;
    calc_.State().CurrencyChanged = true;
    return true;
}

}  // namespace devical::ui
