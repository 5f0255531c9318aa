#include "ui/common/window_placement.h"

#include <QScreen>
#include <QWidget>

namespace devical::ui {

namespace {

constexpr const char* kPlacedProperty = "devicalPlaced";

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    QRect place(QPoint(), window->frameGeometry().size());
    place.moveCenter(screen->availableGeometry().center());
    window->move(place.topLeft());
}

}  // namespace

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
