#include "ui/common/click_filter.h"

#include <QMouseEvent>

#include "ui/common/accessibility.h"

namespace devical::ui {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* widget, std::function<void()> handler) : QObject(widget), handler_(std::move(handler)) {
        setObjectName(QLatin1String(kName));
    }
    void Press() const { handler_(); }
    static constexpr const char* kName = "devicalClickFilter";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonRelease) return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            handler_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> handler_;
};

}  // namespace

void OnClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, std::move(handler)));
    MarkClickable(widget);
}

void PressClickable(QWidget* widget) {
    for (QObject* child : widget->children()) {
        if (child->objectName() == QLatin1String(ClickFilter::kName)) static_cast<ClickFilter*>(child)->Press();
    }
}

}  // namespace devical::ui
