#include "ui/common/file_text_box.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

#include "storage/cp1252.h"
#include "ui/common/accessibility.h"
#include "ui/common/qt_text.h"

namespace devical::ui {

namespace {

bool FitsFile(const QString& text) { return storage::FitsCp1252(Utf8(text)); }

// Each character of the text the file cannot hold, once, separated by blanks.
QString RefusedCharacters(const QString& text) {
    QStringList refused;
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        if (!FitsFile(character) && !refused.contains(character)) refused << character;
    }
    return refused.join(QLatin1Char(' '));
}

class Cp1252Validator : public QValidator {
public:
    Cp1252Validator(QLineEdit* box, RefusalText refusal) : QValidator(box), box_(box), refusal_(std::move(refusal)) {}

    State validate(QString& input, int&) const override {
        if (FitsFile(input)) return Acceptable;
        refused_ = RefusedCharacters(input);
        // Said once the box has undone the edit, however often it asks meanwhile.
        if (!hintDue_) QTimer::singleShot(0, this, [this] { ShowHint(); });
        hintDue_ = true;
        return Invalid;
    }

private:
    void ShowHint() const {
        hintDue_ = false;
        const QString hint = refusal_().arg(refused_);
        Announce(box_->window(), hint);
        QToolTip::showText(box_->mapToGlobal(QPoint(0, box_->height())), hint, box_);
    }

    QLineEdit* box_;
    RefusalText refusal_;
    mutable QString refused_;
    mutable bool hintDue_ = false;
};

class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // Queued: a click that gave the focus places the cursor afterwards.
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
        return false;
    }
};

}  // namespace

void MakeFileTextBox(QLineEdit* box, RefusalText refusal) {
    box->setValidator(new Cp1252Validator(box, std::move(refusal)));
    box->installEventFilter(new SelectAllOnFocus(box));
}

}  // namespace devical::ui
