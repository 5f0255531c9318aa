// The program's own colours, beside the desktop's palette.
#pragma once

#include <QColor>
#include <QPalette>

namespace devical::ui {

// The colour of what the user works on: the box under entry and its labels, the titles, the
// program's name and pictures.
inline const QColor kNavy(0, 0, 128);
// Warnings and the keys that clear.
inline const QColor kRed(192, 0, 0);
// The cancel cross.
inline const QColor kCancelRed(170, 0, 0);

// The WCAG contrast ratio of two colours, from 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);
// The program's colour where it reads on the background (4.5:1), else the palette's text
// colour: a dark palette would swallow navy and red.
QColor Readable(const QColor& brand, const QColor& background, const QColor& text);
QColor Readable(const QColor& brand, const QPalette& palette, QPalette::ColorRole background, QPalette::ColorRole text);
// The colour mixed with black or white, whichever stands further from `against`, just enough
// to contrast `ratio`:1 with it: the desktop's colour, only as much deeper or lighter as needed.
QColor ShadedToContrast(const QColor& colour, const QColor& against, double ratio);
// The palette with a selected row's text reading at 4.5:1 on its highlight, in an active
// window and an inactive one: the text colour kept, the highlight shaded as far as needed.
QPalette WithReadableSelection(QPalette palette);

}  // namespace devical::ui
