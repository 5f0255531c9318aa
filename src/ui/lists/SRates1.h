// The entry dialog of the currency list: a title and a rate.
#pragma once

#include "ui/lists/entry_dialog.h"

namespace devical::ui {

class TSRates : public EntryDialog {
    Q_OBJECT
public:
    TSRates(Services& services, ListWindow& rates, QWidget* parent = nullptr)
        : EntryDialog(services, rates, "SRates", "Rates2_Face", 1, Holds::Rate, parent) {
        setWindowTitle(QStringLiteral("Saisie Taux"));
    }
};

}  // namespace devical::ui
