// A frame around the focused control of a window, in the palette's highlight colour: the
// keyboard focus shows plainly under light and dark palettes alike.
#pragma once

#include <QPointer>
#include <QWidget>

namespace devical::ui {

class FocusRing : public QWidget {
public:
    explicit FocusRing(QWidget& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow(QWidget* focused);
    void Place();

    QWidget& window_;
    QPointer<QWidget> target_;
};

}  // namespace devical::ui
