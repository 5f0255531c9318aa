// How the program's windows come to the front.
#pragma once

class QWidget;

namespace devical::ui {

// Shows the window in its normal state, raised and active. The first time it opens it is
// centred on its screen; afterwards it comes back where the user left it.
void ShowInFront(QWidget* window);

}  // namespace devical::ui
