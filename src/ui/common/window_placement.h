// How the program's windows come to the front.
#pragma once

class QString;
class QWidget;

namespace devical::ui {

// The width a window needs for its whole caption beside the frame's icon and buttons: the
// frame draws the caption in a font of its own, often bold and larger than the interface's.
int FramedCaptionWidth(const QString& caption);

// A window of fixed size widens to show its whole caption, its controls staying in the middle;
// back to its design width when the caption fits there.
void WidenForCaption(QWidget& window, int designWidth);

// Shows the window in its normal state, raised and active. The first time it opens it is
// centred on its screen; afterwards it comes back where the user left it.
void ShowInFront(QWidget* window);

}  // namespace devical::ui
