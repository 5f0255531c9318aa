// The main window's kinds of controls, made at their place with their look: labels, keypad
// keys, picture buttons and amount boxes. Places are 96 dpi device-independent pixels.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "ui/common/colours.h"
#include "ui/common/fitted_label.h"
#include "ui/common/placed.h"

namespace devical::ui {

enum Look : unsigned {
    Plain = 0,
    Bold = 1,
    RedText = 2,
    NavyText = 4,
    Centred = 8,
    RightAligned = 16,
    WordWrap = 32,
    Large = 64,
};

void ApplyLook(QWidget* widget, unsigned look);
// The look, with the alignment and wrapping; a label with no caption is named by its hint.
void ApplyLabelLook(QLabel* label, const QString& caption, unsigned look, const QString& hint);

template <typename L = QLabel>
L* MakeLabel(QWidget* parent, const char* name, Place place, const QString& caption, unsigned look = Plain,
             const QString& hint = {}) {
    auto* label = Placed(new L(caption, parent), name, place, hint);
    ApplyLabelLook(label, caption, look, hint);
    return label;
}

// Keypad keys take no focus: the focus stays on "=" so that Enter evaluates.
QPushButton* MakeButton(QWidget* parent, const char* name, Place place, const QString& caption, unsigned look,
                        const QString& hint = {});
// The picture is drawn in ink, or in the text colour where ink would not read on the button.
QToolButton* MakePictureButton(QWidget* parent, const char* name, Place place, QIcon (*picture)(const QColor&),
                               const QColor& ink, const QString& hint, const QString& accessibleName);
// Amount boxes only display: text arrives through the keypad and the keyboard map, so a
// framed label serves (and opens far faster than a text editor).
FittedLabel* MakeAmountBox(QWidget* parent, const char* name, Place place, const QString& hint);

// The box under entry: bold navy on the window-background colour; the others plain, greyed.
void ShowAsUnderEntry(QLabel* box, bool underEntry);
// A label in navy, or in the system's text colour.
void TintNavy(QLabel* label, bool navy);

}  // namespace devical::ui
