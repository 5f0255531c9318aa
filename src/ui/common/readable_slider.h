// A slider whose handle stands out at 3:1 from the window around it, under a light palette and
// a dark one: the style draws the groove, the handle takes the palette's highlight, shaded as
// far as needed (the styles' own handles barely differ from the window's background).
#pragma once

#include <QSlider>

namespace devical::ui {

class ReadableSlider : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace devical::ui
