// Qt's own texts, such as the standard buttons of message boxes (Yes, No, Cancel), in the
// language of the interface rather than in English.
#pragma once

#include <QString>

class QCommandLineParser;

namespace devical::platform {

// languageCode: the two-letter code of the installed language file (FR, BE, GM, AN, EU).
void FollowInterfaceLanguage(const QString& languageCode);

// The parser's --help, printed on stdout, the lines of its help options in the language in
// use where Qt's catalogue has none for them; then the program ends.
[[noreturn]] void ShowHelp(const QCommandLineParser& parser);

}  // namespace devical::platform
