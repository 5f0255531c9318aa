// Every window's controls are made with their parent, then given their design name (their
// objectName, which tests and the accessibility walk look them up by) and their place.
#pragma once

#include <QString>
#include <QWidget>

namespace devical::ui {

// At 96 dpi device-independent pixels; the desktop's scale factor applies on top.
struct Place {
    int left, top, width, height;
};

// Gives the widget, made with its parent, its name, place and hint. (Made without one and
// adopted later, each control would resolve its font and style twice.)
template <typename W>
W* Placed(W* widget, const char* name, Place place, const QString& hint = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place.left, place.top, place.width, place.height);
    if (!hint.isEmpty()) widget->setToolTip(hint);
    return widget;
}

}  // namespace devical::ui
