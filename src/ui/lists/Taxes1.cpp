#include "ui/lists/Taxes1.h"

namespace devical::ui {

TTaxes::TTaxes(Services& services, QWidget* parent)
    : ListWindow(services,
                 {storage::ListKind::Taxes,
                  "Taxes",
                  "Taxes",
                  "Taxes_Face",
                  "Taxes_Tips",
                  "Taxes.txt",
                  "DontExistTaxe",
                  "SelTaxeBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}},
                 parent) {}

}  // namespace devical::ui
