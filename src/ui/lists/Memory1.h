// The saved amounts: pairs of amounts under a title that begins with their currency's
// code, exchanged with the main window's memory register.
#pragma once

#include "ui/lists/list_editor.h"

namespace devical::ui {

class TMemory : public ListWindow {
    Q_OBJECT
public:
    explicit TMemory(Services& services, QWidget* parent = nullptr);

    // The main window's register as it opens the list: title (code, blank, title),
    // national and euro amounts.
    void SetCurrentMemory(const QString& title, const QString& national, const QString& euro);
    QStringList CurrentMemory() const { return currentMemory_; }

    void Bt_CopieMemClick();
    void ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) override;

    QToolButton* Bt_CopieMem{};

protected:
    void Chosen(const storage::RowChoice& choice) override;

private:
    QStringList currentMemory_{QString(), QStringLiteral("0"), QStringLiteral("0")};
};

}  // namespace devical::ui
