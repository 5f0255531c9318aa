#include "ui/common/focus_ring.h"

#include <QApplication>
#include <QPainter>

namespace devical::ui {

namespace {
constexpr int kWidth = 2;
}

FocusRing::FocusRing(QWidget& window) : QWidget(&window), window_(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { Follow(now); });
}

void FocusRing::Follow(QWidget* focused) {
    if (focused && (focused == &window_ || focused->window() != &window_)) return;  // another window's
    if (target_) target_->removeEventFilter(this);
    target_ = focused;
    if (target_) target_->installEventFilter(this);
    Place();
}

void FocusRing::Place() {
    if (!target_ || !target_->isVisible()) return hide();
    const QRect around(target_->mapTo(&window_, QPoint(0, 0)), target_->size());
    setGeometry(around.adjusted(-kWidth, -kWidth, kWidth, kWidth).intersected(window_.rect()));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == target_ &&
        (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide))
        Place();
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), kWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0));
}

}  // namespace devical::ui
