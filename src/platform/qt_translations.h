// Qt's own texts, such as the standard buttons of message boxes (Yes, No, Cancel), in the
// language of the interface rather than in English.
#pragma once

#include <QString>

namespace devical::platform {

// languageCode: the two-letter code of the installed language file (FR, BE, GM, AN, EU).
void FollowInterfaceLanguage(const QString& languageCode);

}  // namespace devical::platform
