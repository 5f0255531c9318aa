#include "ui/main/file_text_box.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

#include "storage/cp1252.h"

namespace devical::ui {

namespace {

class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return storage::FitsCp1252(input.toStdString()) ? Acceptable : Invalid;
    }
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

void MakeFileTextBox(QLineEdit* box) {
    box->setValidator(new Cp1252Validator(box));
    box->installEventFilter(new SelectAllOnFocus(box));
}

}  // namespace devical::ui
