#include "ui/common/click_filter.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/common/accessibility.h"

namespace devical::ui {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* widget, std::function<void()> handler, bool byKeys)
        : QObject(widget), handler_(std::move(handler)), byKeys_(byKeys) {
        setObjectName(QLatin1String(kName));
    }
    void Press() const { handler_(); }
    static constexpr const char* kName = "devicalClickFilter";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (byKeys_ && event->type() == QEvent::KeyPress && IsPressKey(*static_cast<QKeyEvent*>(event))) {
            handler_();
            return true;
        }
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
    static bool IsPressKey(const QKeyEvent& key) {
        const bool plain = (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        return plain && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space);
    }

    std::function<void()> handler_;
    bool byKeys_;
};

}  // namespace

void OnClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, std::move(handler), false));
    MarkClickable(widget);
}

void OnClickOrKey(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, std::move(handler), true));
    widget->setFocusPolicy(Qt::StrongFocus);
    MarkClickable(widget);
}

bool PressClickable(QWidget* widget) {
    for (QObject* child : widget->children()) {
        if (child->objectName() == QLatin1String(ClickFilter::kName)) {
            static_cast<ClickFilter*>(child)->Press();
            return true;
        }
    }
    return false;
}

}  // namespace devical::ui
