// Text boxes whose content is stored in a Windows-1252 file: the entry dialogs' boxes and
// the title question's answer.
#pragma once

class QLineEdit;

namespace devical::ui {

// The box takes only characters the file can hold, whether typed or pasted, so that what
// the user sees is what comes back after a restart; and it selects its whole text whenever
// it takes the focus, so that typing replaces it.
void MakeFileTextBox(QLineEdit* box);

}  // namespace devical::ui
