#include "ui/common/fitted_label.h"

#include "platform/desktop.h"
#include "ui/common/accessibility.h"
#include "ui/common/amount_elision.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace devical::ui {

namespace {

// Smaller than this an amount is no longer read at a glance.
constexpr qreal kSmallestPointSize = 6.0;
constexpr qreal kShrinkStep = 0.5;
const QString kEllipsis = QStringLiteral("…");

}  // namespace

FittedLabel::FittedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void FittedLabel::SetFit(Fit fit) {
    fit_ = fit;
    RefitWhenShown();
}

void FittedLabel::SetTyping(bool typing) {
    if (typing == typing_) return;
    typing_ = typing;
    RefitWhenShown();
}

void FittedLabel::SetText(const QString& title, const QString& tail) {
    // Every evaluation sets every box: one whose text stays needs no new fit nor paint.
    if (tail == tail_ && text() == title + tail) return;
    tail_ = tail;
    const QString before = text();
    QLabel::setText(title + tail);
    if (fit_ == Fit::Amount) AnnounceAmount(this, before, text());
    RefitWhenShown();
}

void FittedLabel::RefitWhenShown() {
    // Measuring text loads the fonts: a hidden label waits for its first paint, so that
    // building the window costs no more than a plain label's.
    if (!isVisible()) {
        fittedSize_ = QSize();
        return;
    }
    Refit();
    update();
}

QRect FittedLabel::TextRect() const {
    QRect rect = contentsRect();
    const int margin = std::max(indent(), 0);
    if (alignment() & Qt::AlignRight) rect.setRight(rect.right() - margin);
    if (alignment() & Qt::AlignLeft) rect.setLeft(rect.left() + margin);
    return rect;
}

bool FittedLabel::Fits(const QFontMetrics& metrics, const QString& text) const {
    const QRect rect = TextRect();
    // The ink of a last glyph such as ")" may pass its advance by a pixel: it stays inside.
    if (!wordWrap()) return metrics.horizontalAdvance(text) < rect.width();
    const QRect needed = metrics.boundingRect(rect, static_cast<int>(alignment()) | Qt::TextWordWrap, text);
    return needed.width() <= rect.width() && needed.height() <= rect.height();
}

// The longest beginning of the text, or of the title before its tail, that fits with "…".
QString FittedLabel::Elided(const QFontMetrics& metrics) const {
    const QString whole = text();
    const QString tail = Fits(metrics, kEllipsis + tail_) ? tail_ : QString();
    const QString head = whole.left(whole.size() - tail.size());
    qsizetype low = 0;
    qsizetype high = head.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (Fits(metrics, head.left(middle) + kEllipsis + tail))
            low = middle;
        else
            high = middle - 1;
    }
    return head.left(low) + kEllipsis + tail;
}

void FittedLabel::Refit() {
    fittedText_ = text();
    fittedSize_ = size();
    shownFont_ = font();
    shown_ = fittedText_;
    if (fit_ != Fit::Title) {
        for (qreal size = shownFont_.pointSizeF(); !Fits(QFontMetrics(shownFont_), shown_);) {
            size -= kShrinkStep;
            if (size < kSmallestPointSize) break;
            shownFont_.setPointSizeF(size);
        }
    }
    const QFontMetrics metrics(shownFont_);
    if (fit_ == Fit::Amount) {
        shown_ = ElideAmount(
            shown_, [&](const QString& text) { return Fits(metrics, text); }, typing_,
            QLatin1Char(platform::DecimalSeparator()));
    } else if (!Fits(metrics, shown_)) {
        shown_ = Elided(metrics);
    }
    ShowTip();
}

void FittedLabel::ShowTip() {
    const bool cut = shown_ != fittedText_;
    QString tip = hint_;
    if (cut) tip = hint_.isEmpty() ? fittedText_ : fittedText_ + QLatin1Char('\n') + hint_;
    settingTip_ = true;
    setToolTip(tip);
    settingTip_ = false;
}

void FittedLabel::paintEvent(QPaintEvent*) {
    if (fittedText_ != text() || fittedSize_ != size()) Refit();  // set through a plain QLabel pointer
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(shownFont_);
    const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    style()->drawItemText(&painter, TextRect(), flags, palette(), isEnabled(), shown_, foregroundRole());
}

void FittedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    RefitWhenShown();
}

bool FittedLabel::event(QEvent* event) {
    const bool handled = QLabel::event(event);
    if (event->type() == QEvent::ToolTipChange && !settingTip_) {
        hint_ = toolTip();  // the label's own hint, set from outside
        ShowTip();
    }
    return handled;
}

void FittedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) RefitWhenShown();
}

}  // namespace devical::ui
