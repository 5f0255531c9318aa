#include "ui/main/controls.h"

#include "ui/main/accessibility.h"

#include <QApplication>

namespace devical::ui {

namespace {
const QColor kRed(192, 0, 0);
}

void ApplyLook(QWidget* widget, unsigned look) {
    if (look & (Bold | Large)) {
        QFont font = widget->font();
        font.setBold(look & Bold);
        if (look & Large) font.setPointSize(font.pointSize() + 4);
        widget->setFont(font);
    }
    if (look & (RedText | NavyText)) {
        QPalette palette = widget->palette();
        const QColor colour = (look & RedText) ? kRed : kNavy;
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
        widget->setPalette(palette);
    }
}

void ApplyLabelLook(QLabel* label, const QString& caption, unsigned look, const QString& hint) {
    ApplyLook(label, look);
    Qt::Alignment alignment = Qt::AlignVCenter;
    alignment |= (look & Centred) ? Qt::AlignHCenter : (look & RightAligned) ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(alignment);
    label->setWordWrap(look & WordWrap);
    if (caption.isEmpty()) label->setAccessibleName(hint);  // a caption names a label by itself
}

QPushButton* MakeButton(QWidget* parent, const char* name, Place place, const QString& caption, unsigned look,
                        const QString& hint) {
    auto* button = Placed(new QPushButton(caption, parent), name, place, hint);
    ApplyLook(button, look);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

QToolButton* MakePictureButton(QWidget* parent, const char* name, Place place, const QIcon& icon, const QString& hint,
                               const QString& accessibleName) {
    auto* button = Placed(new QToolButton(parent), name, place, hint);
    button->setIcon(icon);
    button->setIconSize(QSize(place.width - 8, place.height - 8).expandedTo(QSize(12, 12)));
    button->setAutoRaise(place.width < 24);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(hint.isEmpty() ? accessibleName : hint);
    return button;
}

FittedLabel* MakeAmountBox(QWidget* parent, const char* name, Place place, const QString& hint) {
    auto* box = Placed(new FittedLabel(QStringLiteral("0"), parent), name, place, hint);
    box->SetFit(FittedLabel::Fit::Amount);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setIndent(4);
    box->setAutoFillBackground(true);
    MarkAmountBox(box);                 // named by its line and column once the window knows them
    box->setFocusPolicy(Qt::TabFocus);  // reached by Tab, to be read without a mouse
    return box;
}

void ShowAsUnderEntry(QLabel* box, bool underEntry) {
    const QPalette system = QApplication::palette();
    QFont font = box->font();
    font.setBold(underEntry);
    box->setFont(font);
    QPalette palette = system;
    palette.setColor(QPalette::WindowText, underEntry ? kNavy : system.color(QPalette::WindowText));
    palette.setColor(QPalette::Window, system.color(underEntry ? QPalette::Base : QPalette::Button));
    box->setPalette(palette);
}

void TintNavy(QLabel* label, bool navy) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, navy ? kNavy : QApplication::palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

}  // namespace devical::ui
