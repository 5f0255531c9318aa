#include "ui/lists/Rates1.h"

namespace devical::ui {

TRates::TRates(Services& services, QWidget* parent)
    : ListWindow(services,
                 {storage::ListKind::Currencies,
                  "Rates",
                  "Taux de change",
                  "Rates_Face",
                  "Rates_Tips",
                  "Rates.txt",
                  "DontExistRate",
                  "SelRateBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}},
                 parent) {}

}  // namespace devical::ui
