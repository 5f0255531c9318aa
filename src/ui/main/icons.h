// The program's pictures, drawn at run time so that they stay sharp at any scale.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace devical::ui {

QIcon ProgramIcon();
QIcon CopyIcon();
QIcon CloseIcon();
QIcon DeviationIcon();
QIcon LanguageIcon();
// The padlocks of the currency list: locked, and the greyed-out unlocked one.
QIcon PadlockIcon(bool locked);

}  // namespace devical::ui
