// The program's own colours, beside the desktop's palette.
#pragma once

#include <QColor>

namespace devical::ui {

// The colour of what the user works on: the box under entry and its labels, the titles, the
// program's name and pictures.
inline const QColor kNavy(0, 0, 128);

}  // namespace devical::ui
