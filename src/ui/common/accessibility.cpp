#include "ui/common/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "ui/common/click_filter.h"

namespace devical::ui {

namespace {

const char* const kAmountBox = "devicalAmountBox";
const char* const kSpokenAmount = "devicalSpokenAmount";
const char* const kClickable = "devicalClickable";
const char* const kLink = "devicalLink";
const char* const kUnderEntry = "devicalUnderEntry";
const char* const kUnderEntryText = "devicalUnderEntryText";
const char* const kAnnouncer = "devicalAnnouncer";
const char* const kAnnouncement = "devicalAnnouncement";

// A label read as a button (press runs its click handler) or, for an amount, as text whose
// content is the amount, named with it too; a box is selected while it is under entry.
class LabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(QLabel* label)
        : QAccessibleWidget(label, label->property(kAmountBox).toBool() || label->property(kSpokenAmount).toBool()
                                       ? QAccessible::StaticText
                                       : QAccessible::Button) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface && IsAmount()) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name: {
            if (widget()->accessibleName().isEmpty()) return Label()->text();
            // Screen readers say a label's name, not its text: the amount goes with it.
            if (IsAmount() && !Label()->text().isEmpty())
                return widget()->accessibleName() + QStringLiteral(", ") + Label()->text();
            return widget()->accessibleName();
        }
        case QAccessible::Value: return IsAmount() ? Label()->text() : QString();
        case QAccessible::Description: {
            QString description = widget()->toolTip();
            if (IsUnderEntry())
                description = widget()->property(kUnderEntryText).toString() + QStringLiteral(" ") + description;
            return description.trimmed();
        }
        default: return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::Role role() const override {
        return widget()->property(kLink).toBool() ? QAccessible::Link : QAccessibleWidget::role();
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (IsAmountBox()) {
            state.selectable = true;
            state.selected = IsUnderEntry();
            state.readOnly = true;
        }
        return state;
    }

    QStringList actionNames() const override {
        return widget()->property(kClickable).toBool() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) PressClickable(widget());
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The amount as read-only text, no selection, the caret before it.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Label()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Label()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }

private:
    QLabel* Label() const { return static_cast<QLabel*>(widget()); }
    bool IsAmountBox() const { return widget()->property(kAmountBox).toBool(); }
    bool IsAmount() const { return IsAmountBox() || widget()->property(kSpokenAmount).toBool(); }
    bool IsUnderEntry() const { return widget()->property(kUnderEntry).toBool(); }
};

// A notification named by what is to be said. Screen readers drop a label's text and name
// changes, and Qt 6.4 sends name and description changes without the new text; a
// notification that appears is read out whole.
class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? widget()->property(kAnnouncement).toString() : QString();
    }
};

// A text box read as Qt reads it, but for its text attributes: Qt 6.4 gives each character a
// range of its own, empty, and a screen reader that speaks the line run by run then drops the
// last character ("0,94" heard "0,9"). Here one run spans the whole text.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return Box()->text();
        return QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value && !Box()->isReadOnly()) Box()->setText(text);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Box()->isReadOnly();
        state.readOnly = Box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Text.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Box()->hasSelectedText()) return;
        *start = Box()->selectionStart();
        *end = Box()->selectionEnd();
    }
    int selectionCount() const override { return Box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) Box()->deselect();
    }
    void setSelection(int, int start, int end) override { Box()->setSelection(start, end - start); }
    int cursorPosition() const override { return Box()->cursorPosition(); }
    void setCursorPosition(int position) override { Box()->setCursorPosition(position); }
    QString text(int start, int end) const override { return Box()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Box()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint& point) const override {
        return Box()->cursorPositionAt(Box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editable text.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (Box()->isReadOnly()) return;
        Box()->setText(Box()->text().replace(start, end - start, text));
    }

private:
    QLineEdit* Box() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* box = qobject_cast<QLineEdit*>(object); box && box->echoMode() == QLineEdit::Normal)
        return new LineEditAccessible(box);
    if (object->property(kAnnouncer).toBool()) return new AnnouncerAccessible(static_cast<QWidget*>(object));
    auto* label = qobject_cast<QLabel*>(object);
    if (label && (label->property(kAmountBox).toBool() || label->property(kSpokenAmount).toBool() ||
                  label->property(kClickable).toBool()))
        return new LabelAccessible(label);
    return nullptr;
}

// Qt may have made the widget's interface already, as its texts were set: that one would
// not know the mark, so it goes and the next query makes ours.
void Mark(QWidget* widget, const char* property) {
    widget->setProperty(property, true);
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        made && !dynamic_cast<LabelAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// A screen reader may learn of the focus before it learns that the window is active, and then
// stays on the window: the focus is told again once the activation is through.
class FocusRetold : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            auto* window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, window, [window] { RetellFocus(window); });
        }
        return false;
    }
};

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        qApp->installEventFilter(new FocusRetold(qApp));
        return true;
    }();
    (void)installed;
}

void RetellFocus(QWidget* window) {
    QWidget* focused = QApplication::focusWidget();
    if (!QAccessible::isActive() || !focused || !window->isActiveWindow() || focused->window() != window) return;
    QAccessibleInterface* told = QAccessible::queryAccessibleInterface(focused);
    // In a list the current row has the focus, not the list.
    if (const auto* view = qobject_cast<QAbstractItemView*>(focused);
        view && view->currentIndex().isValid() && told && told->tableInterface())
        if (QAccessibleInterface* cell =
                told->tableInterface()->cellAt(view->currentIndex().row(), view->currentIndex().column()))
            told = cell;
    if (!told) return;
    QAccessibleEvent focus(told, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void MarkAmountBox(QWidget* box) { Mark(box, kAmountBox); }

void MarkSpokenAmount(QWidget* label) { Mark(label, kSpokenAmount); }

void MarkClickable(QWidget* label) { Mark(label, kClickable); }

void MarkLink(QWidget* label) { label->setProperty(kLink, true); }

void SetUnderEntry(QWidget* box, bool underEntry, const QString& underEntryText) {
    const bool was = box->property(kUnderEntry).toBool();
    box->setProperty(kUnderEntryText, underEntryText);
    if (was == underEntry) return;
    box->setProperty(kUnderEntry, underEntry);
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent selection(box, changed);
    QAccessible::updateAccessibility(&selection);
    QAccessibleEvent description(box, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

void AnnounceAmount(QWidget* box, const QString& before, const QString& after) {
    if (before == after || !QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent update(box, 0, before, after);
    QAccessible::updateAccessibility(&update);
    QAccessibleEvent name(box, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

void Announce(QWidget* window, const QString& text) {
    QWidget* announcer = nullptr;
    for (QObject* child : window->children())
        if (child->property(kAnnouncer).toBool()) announcer = static_cast<QWidget*>(child);
    if (!announcer) {
        // Empty and without a size: nothing to see, nothing to click.
        announcer = new QWidget(window);
        announcer->setProperty(kAnnouncer, true);
        announcer->setGeometry(0, 0, 0, 0);
    }
    announcer->hide();
    announcer->setProperty(kAnnouncement, text);
    announcer->show();
}

}  // namespace devical::ui
