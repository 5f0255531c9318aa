#include "ui/common/window_placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace devical::ui {

namespace {

constexpr const char* kPlacedProperty = "devicalPlaced";

// The frame's icon, its three buttons and their margins, as openbox, xfwm and KWin draw them.
constexpr int kCaptionFrameRoom = 120;

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    QRect place(QPoint(), window->frameGeometry().size());
    place.moveCenter(screen->availableGeometry().center());
    window->move(place.topLeft());
}

}  // namespace

int FramedCaptionWidth(const QString& caption) {
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    return QFontMetrics(font).horizontalAdvance(caption) + kCaptionFrameRoom;
}

void WidenForCaption(QWidget& window, int designWidth) {
    const int width = std::max(designWidth, FramedCaptionWidth(window.windowTitle()));
    const int moved = (width - designWidth) / 2 - (window.width() - designWidth) / 2;
    for (QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->move(control->pos() + QPoint(moved, 0));
    window.setFixedWidth(width);
}

void ShowInFront(QWidget* window) {
    if (!window->property(kPlacedProperty).toBool()) {
        CentreOnScreen(window);
        window->setProperty(kPlacedProperty, true);
    }
    window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace devical::ui
