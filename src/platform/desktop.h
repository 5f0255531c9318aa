// What the program asks of the desktop: its directory, the user's decimal separator, the
// clipboard, and opening documents and links.
#pragma once

#include <QString>

namespace devical::platform {

// The running executable's directory with a trailing '/', or empty (the current
// directory) where it cannot be found.
QString ExecutableDirectory();

// ',' or '.': the user's locale's separator at this moment ('.' for any other).
char DecimalSeparator();

void SetClipboardText(const QString& text);
QString ClipboardText();

// Opens a regular file with the desktop's handler; false, with nothing opened, for a file
// that is missing or not a regular file.
bool OpenDocument(const QString& path);
void OpenLink(const QString& url);

}  // namespace devical::platform
