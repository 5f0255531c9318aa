#include "ui/main/controls.h"

#include "ui/common/accessibility.h"

#include <QApplication>

namespace devical::ui {

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
        palette.setColor(QPalette::WindowText, Readable(colour, palette, QPalette::Window, QPalette::WindowText));
        palette.setColor(QPalette::ButtonText, Readable(colour, palette, QPalette::Button, QPalette::ButtonText));
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

QToolButton* MakePictureButton(QWidget* parent, const char* name, Place place, QIcon (*picture)(const QColor&),
                               const QColor& ink, const QString& hint, const QString& accessibleName) {
    auto* button = Placed(new QToolButton(parent), name, place, hint);
    const bool flat = place.width < 24;  // drawn straight on the window, not on a button face
    button->setAutoRaise(flat);
    button->setIcon(picture(Readable(ink, button->palette(), flat ? QPalette::Window : QPalette::Button,
                                     flat ? QPalette::WindowText : QPalette::ButtonText)));
    button->setIconSize(QSize(place.width - 8, place.height - 8).expandedTo(QSize(12, 12)));
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
    palette.setColor(QPalette::Window, system.color(underEntry ? QPalette::Base : QPalette::Button));
    palette.setColor(QPalette::WindowText, underEntry ? Readable(kNavy, system, QPalette::Base, QPalette::Text)
                                                      : system.color(QPalette::ButtonText));
    box->setPalette(palette);
}

void TintNavy(QLabel* label, bool navy) {
    QPalette palette = label->palette();
    const QColor text = QApplication::palette().color(QPalette::WindowText);
    palette.setColor(QPalette::WindowText, navy ? Readable(kNavy, palette.color(QPalette::Window), text) : text);
    label->setPalette(palette);
}

}  // namespace devical::ui
