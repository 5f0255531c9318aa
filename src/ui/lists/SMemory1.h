// The entry dialog of the saved amounts: a title, shown without its currency prefix, and
// the national and euro amounts.
#pragma once

#include "engine/memory_register.h"
#include "ui/lists/entry_dialog.h"

namespace devical::ui {

class TSMemory : public EntryDialog {
    Q_OBJECT
public:
    TSMemory(Services& services, ListWindow& memory, QWidget* parent = nullptr)
        : EntryDialog(services, memory, "SMemory", "Memory2_Face", 2, Holds::Amounts, parent) {
        setWindowTitle(QStringLiteral("Saisie Mémoire"));
        LimitTitle(engine::kMemoryTitleLength);  // a saved title comes back into the register
    }

protected:
    // The prefix in force when OK is pressed goes in front of the title typed.
    QString StoredTitle(const QString& typed) const override { return services_.MemoryCurrencyPrefix() + typed; }
};

}  // namespace devical::ui
