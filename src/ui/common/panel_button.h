// The flat picture buttons of a window's bottom panel, 30 pixels square.
#pragma once

#include <QIcon>
#include <QToolButton>

namespace devical::ui {

// A flat button at `left` in the panel, showing the picture.
QToolButton* MakePanelButton(QWidget* panel, const char* name, int left, const QIcon& picture);

// The ink of the pictures the program draws for a panel: the buttons' text colour, which
// reads on a light palette and a dark one alike.
QColor PanelInk(const QWidget& panel);

}  // namespace devical::ui
