#include "ui/common/readable_slider.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

#include "ui/common/colours.h"

namespace devical::ui {

void ReadableSlider::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    option.subControls = QStyle::SC_SliderGroove;
    if (tickPosition() != NoTicks) option.subControls |= QStyle::SC_SliderTickmarks;
    painter.drawComplexControl(QStyle::CC_Slider, option);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ShadedToContrast(palette().color(QPalette::Highlight), palette().color(QPalette::Window), 3));
    painter.drawRoundedRect(QRectF(handle).adjusted(1, 1, -1, -1), 2, 2);
}

}  // namespace devical::ui
