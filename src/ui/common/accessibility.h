// What a screen reader learns of the main window beyond what Qt tells by itself: each amount
// box named by its line and column, with its amount as its text and the box under entry
// marked; and the labels that act on a click exposed as buttons (or links) that can be pressed.
#pragma once

#include <QString>

class QWidget;

namespace devical::ui {

// Once, before the first window is shown.
void InstallAccessibility();

// Tells a listening screen reader again what has the focus in the active window (in a list, its
// current row). Done for every window as it becomes active.
void RetellFocus(QWidget* window);

// An amount box: read as "name: amount", the box under entry selected and described so.
void MarkAmountBox(QWidget* box);
void SetUnderEntry(QWidget* box, bool underEntry, const QString& underEntryText);
// Tells a listening screen reader that the amount shown, and so the name, has changed.
void AnnounceAmount(QWidget* box, const QString& before, const QString& after);

// A label showing an amount, not a box: read as "name, amount".
void MarkSpokenAmount(QWidget* label);

// Has a listening screen reader say text now, whatever has the focus.
void Announce(QWidget* window, const QString& text);

// A label with a click handler (click_filter.h): a button whose press runs the handler.
void MarkClickable(QWidget* label);
// A clickable label that opens an address: read as a link rather than a button.
void MarkLink(QWidget* label);

}  // namespace devical::ui
