#include "ui/common/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <functional>

#include "ui/common/colours.h"

namespace devical::ui {

namespace {

// Paints a picture drawn for a square of designSize at whatever size is asked, when it is
// asked: sharp at every scale, and no work before an icon is first shown.
class PaintedIconEngine : public QIconEngine {
public:
    PaintedIconEngine(int designSize, std::function<void(QPainter&)> draw)
        : designSize_(designSize), draw_(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / double(designSize_), rect.height() / double(designSize_));
        draw_(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(designSize_, designSize_)}; }
    QIconEngine* clone() const override { return new PaintedIconEngine(designSize_, draw_); }

private:
    int designSize_;
    std::function<void(QPainter&)> draw_;
};

QIcon Drawn(int size, std::function<void(QPainter&)> draw) {
    return QIcon(new PaintedIconEngine(size, std::move(draw)));
}

// An open padlock has its shackle raised, one leg out: told apart by shape, not only shade.
void DrawPadlock(QPainter& p, const QColor& body, const QColor& outline, bool open) {
    const double lift = open ? 1.5 : 0;
    p.setPen(QPen(outline, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 1.5 - lift, 7, 9), 0, 180 * 16);
    p.drawLine(QPointF(4.5, 6 - lift), QPointF(4.5, 8));
    p.drawLine(QPointF(11.5, 6 - lift), QPointF(11.5, open ? 6.5 - lift : 8));
    p.setPen(QPen(outline, 1));
    p.setBrush(body);
    p.drawRect(QRectF(2.5, 7.5, 11, 7));
    p.drawLine(QPointF(8, 10), QPointF(8, 12.5));
}

}  // namespace

QIcon ProgramIcon() {
    return Drawn(32, [](QPainter& p) {
        p.setBrush(kNavy);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        // A euro sign: an open circle crossed by two bars.
        p.setPen(QPen(QColor(255, 204, 0), 3, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 7, 17, 18), 50 * 16, 260 * 16);
        p.drawLine(QPointF(6, 14), QPointF(19, 14));
        p.drawLine(QPointF(6, 19), QPointF(19, 19));
    });
}

QIcon CopyIcon(const QColor& ink) {
    return Drawn(20, [ink](QPainter& p) {
        p.setPen(QPen(ink, 1.5));
        // Outlines only: a white page would vanish on a light button.
        p.drawPolyline(QPolygonF({{7, 14}, {3, 14}, {3, 2}, {13, 2}, {13, 6}}));
        p.drawRect(QRectF(7, 6, 10, 12));
    });
}

QIcon CloseIcon(const QColor& ink) {
    return Drawn(20, [ink](QPainter& p) {
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(15, 15));
        p.drawLine(QPointF(15, 5), QPointF(5, 15));
    });
}

QIcon DeviationIcon(const QColor& ink) {
    return Drawn(16, [ink](QPainter& p) {
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(8, 2), QPointF(8, 10));
        p.drawLine(QPointF(4, 6), QPointF(12, 6));
        p.drawLine(QPointF(4, 13), QPointF(12, 13));
    });
}

QIcon LanguageIcon(const QColor& ink) {
    return Drawn(20, [ink](QPainter& p) {
        p.setPen(QPen(ink, 1.2));
        QColor tint = ink;  // a light wash of the ink: pale blue on a light window
        tint.setAlpha(25);
        p.setBrush(tint);
        p.drawEllipse(QRectF(2, 2, 16, 16));
        p.drawLine(QPointF(2, 10), QPointF(18, 10));
        p.drawEllipse(QRectF(6.5, 2, 7, 16));
    });
}

QIcon TapeIcon(const QColor& ink) {
    return Drawn(16, [ink](QPainter& p) {
        // A paper roll unwinding, a few printed lines on its strip.
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 1.5, 6, 6));
        p.drawPolyline(QPolygonF({{7.5, 4.5}, {14.5, 4.5}, {14.5, 14.5}, {4.5, 14.5}, {4.5, 7.5}}));
        for (const double y : {8.0, 10.5, 13.0})
            p.drawLine(QPointF(8, y - 0.5), QPointF(13, y - 0.5));
    });
}

QIcon PrintIcon(const QColor& ink) {
    return Drawn(20, [ink](QPainter& p) {
        // A printer: its body, the sheet going in at the top and the printed one coming out.
        p.setPen(QPen(ink, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6, 2.5, 8, 4.5));
        p.drawRect(QRectF(2.5, 7, 15, 7));
        p.drawPolyline(QPolygonF({{6, 14}, {6, 17.5}, {14, 17.5}, {14, 14}}));
        p.drawLine(QPointF(7.5, 15.7), QPointF(12.5, 15.7));
    });
}

QIcon PdfIcon(const QColor& ink) {
    return Drawn(20, [ink](QPainter& p) {
        // A page with its corner folded, a bold band across it: a document to keep.
        p.setPen(QPen(ink, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(QPolygonF({{4, 2}, {12, 2}, {16, 6}, {16, 18}, {4, 18}}));
        p.drawPolyline(QPolygonF({{12, 2}, {12, 6}, {16, 6}}));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(2, 9.5, 12, 5));
    });
}

QIcon PadlockIcon(bool locked, const QColor& ink) {
    return Drawn(16, [locked, ink](QPainter& p) {
        // Locked: a body washed with the ink, grey on a light list; open: the outline alone.
        QColor body = ink;
        body.setAlpha(locked ? 95 : 0);
        DrawPadlock(p, body, ink, !locked);
    });
}

}  // namespace devical::ui
