// The program's pictures, drawn at run time so that they stay sharp at any scale.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace devical::ui {

QIcon ProgramIcon();
// The pictures shown on the window are drawn in the ink given, read against their background.
QIcon CopyIcon(const QColor& ink);
QIcon CloseIcon(const QColor& ink);
QIcon DeviationIcon(const QColor& ink);
QIcon LanguageIcon(const QColor& ink);
QIcon TapeIcon(const QColor& ink);
QIcon PrintIcon(const QColor& ink);
QIcon PdfIcon(const QColor& ink);
// The padlocks of the currency list: locked, and the open one.
QIcon PadlockIcon(bool locked, const QColor& ink);

}  // namespace devical::ui
