// The entry dialog of the tax list: a title and a rate in percent.
#pragma once

#include "ui/lists/entry_dialog.h"

namespace devical::ui {

class TSTaxes : public EntryDialog {
    Q_OBJECT
public:
    TSTaxes(Services& services, ListWindow& taxes, QWidget* parent = nullptr)
        : EntryDialog(services, taxes, "STaxes", "Taxes2_Face", 1, Holds::Rate, parent) {
        setWindowTitle(QStringLiteral("Saisie Taxe"));
    }
};

}  // namespace devical::ui
