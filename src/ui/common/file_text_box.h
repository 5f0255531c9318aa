// Text boxes whose content is stored in a Windows-1252 file: the entry dialogs' boxes and
// the title question's answer.
#pragma once

#include <QString>
#include <functional>

class QLineEdit;

namespace devical::ui {

// The message that names a refused character, "%1" standing for it, in the language in use.
using RefusalText = std::function<QString()>;

// The box takes only characters the file can hold, whether typed or pasted, so that what
// the user sees is what comes back after a restart; a character it refuses is named at
// once under the box and to a screen reader, a paste holding one is refused whole. It
// selects its whole text whenever it takes the focus, so that typing replaces it.
void MakeFileTextBox(QLineEdit* box, RefusalText refusal);

}  // namespace devical::ui
