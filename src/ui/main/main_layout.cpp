// The main window's controls: names, places, sizes, design texts and hints, at 96 dpi
// device-independent pixels (the desktop's scale factor applies on top).
#include <QApplication>

#include "platform/desktop.h"
#include "ui/main/Devical1.h"
#include "ui/main/icons.h"

namespace devical::ui {

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 293;
const QColor kNavy(0, 0, 128);
const QColor kRed(192, 0, 0);

struct Place {
    int left, top, width, height;
};

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

template <typename W>
W* Placed(QWidget* parent, W* widget, const char* name, Place place, const QString& hint = {}) {
    widget->setParent(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place.left, place.top, place.width, place.height);
    if (!hint.isEmpty()) widget->setToolTip(hint);
    return widget;
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

template <typename L = QLabel>
L* MakeLabel(QWidget* parent, const char* name, Place place, const QString& caption, unsigned look = Plain,
             const QString& hint = {}) {
    auto* label = Placed(parent, new L(caption), name, place, hint);
    ApplyLook(label, look);
    Qt::Alignment alignment = Qt::AlignVCenter;
    alignment |= (look & Centred) ? Qt::AlignHCenter : (look & RightAligned) ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(alignment);
    label->setWordWrap(look & WordWrap);
    if (caption.isEmpty()) label->setAccessibleName(hint);  // a caption names a label by itself
    return label;
}

// Keypad keys take no focus: the focus stays on "=" so that Enter evaluates.
QPushButton* MakeButton(QWidget* parent, const char* name, Place place, const QString& caption, unsigned look,
                        const QString& hint = {}) {
    auto* button = Placed(parent, new QPushButton(caption), name, place, hint);
    ApplyLook(button, look);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

QToolButton* MakePictureButton(QWidget* parent, const char* name, Place place, const QIcon& icon,
                               const QString& hint, const QString& accessibleName) {
    auto* button = Placed(parent, new QToolButton, name, place, hint);
    button->setIcon(icon);
    button->setIconSize(QSize(place.width - 8, place.height - 8).expandedTo(QSize(12, 12)));
    button->setAutoRaise(place.width < 24);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(hint.isEmpty() ? accessibleName : hint);
    return button;
}

// Amount boxes only display: text arrives through the keypad and the keyboard map, so a
// framed label serves (and opens far faster than a text editor).
FittedLabel* MakeAmountBox(QWidget* parent, const char* name, Place place, const QString& hint) {
    auto* box = Placed(parent, new FittedLabel(QStringLiteral("0")), name, place, hint);
    box->SetFit(FittedLabel::Fit::Amount);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setIndent(4);
    box->setAutoFillBackground(true);
    box->setAccessibleName(hint);
    return box;
}

}  // namespace

void TCalc::BuildControls() {
    QWidget* w = this;
    setObjectName(QStringLiteral("Calc"));
    setWindowTitle(QStringLiteral("Devical"));
    setToolTip(QStringLiteral("Language"));
    QFont font = QApplication::font();
    font.setPointSize(8);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);

    // Amount boxes and their labels.
    const std::array<std::pair<const char*, Place>, 6> boxPlaces = {{
        {"Cur_HT", {194, 48, 104, 22}},
        {"Euro_HT", {301, 48, 104, 22}},
        {"Cur_Taxe", {194, 75, 104, 22}},
        {"Euro_Taxe", {301, 75, 104, 22}},
        {"Cur_TTC", {194, 101, 104, 22}},
        {"Euro_TTC", {301, 101, 104, 22}},
    }};
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i] = MakeAmountBox(w, boxPlaces[i].first, boxPlaces[i].second,
                                  QStringLiteral("(Ctrl+Num %1)").arg(i + 1));
    const QString clickToEdit = QStringLiteral("Clic pour modifier");
    Lib_Rate = MakeLabel<FittedLabel>(w, "Lib_Rate", {193, 0, 213, 18}, QStringLiteral("Lib_Rate"), Centred | WordWrap,
                         QStringLiteral("Liste des taux de change"));
    Lib_Cur = MakeLabel<FittedLabel>(w, "Lib_Cur", {193, 21, 106, 26}, QStringLiteral("Currency"), Bold | NavyText | Centred | WordWrap);
    Lib_Euro = MakeLabel(w, "Lib_Euro", {330, 21, 52, 18}, QStringLiteral("Euros"), Bold | Centred);
    Lib_HT = MakeLabel<FittedLabel>(w, "Lib_HT", {3, 53, 180, 13}, QString(30, QLatin1Char('x')), NavyText, clickToEdit);
    Lib_Taxe = MakeLabel<FittedLabel>(w, "Lib_Taxe", {3, 80, 180, 13}, QString(30, QLatin1Char('x')), Plain, clickToEdit);
    Lib_TTC = MakeLabel<FittedLabel>(w, "Lib_TTC", {3, 106, 180, 13}, QString(30, QLatin1Char('x')), Plain, clickToEdit);

    // Memory area.
    Bevel1 = Placed(w, new QFrame, "Bevel1", {0, 128, 189, 93});
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Lst_Memory = MakeButton(w, "Lst_Memory", {2, 135, 61, 30}, QStringLiteral("Memory"), Bold | RedText,
                            QStringLiteral("Liste des mémoires"));
    Lst_Memory->setFocusPolicy(Qt::TabFocus);
    Lib_Memory = MakeLabel<FittedLabel>(w, "Lib_Memory", {67, 136, 118, 27}, QStringLiteral("Mémoire"), Centred | WordWrap, clickToEdit);
    Lib_MemCur = MakeLabel<FittedLabel>(w, "Lib_MemCur", {2, 169, 50, 13}, QStringLiteral("0"), RightAligned);
    Lb_Dev = MakeLabel(w, "Lb_Dev", {57, 169, 29, 13}, QStringLiteral("DEM"));
    Label1 = MakeLabel(w, "Label1", {84, 169, 16, 13}, QStringLiteral("="), Centred, QStringLiteral("Clic = 0"));
    Lib_MemEuro = MakeLabel<FittedLabel>(w, "Lib_MemEuro", {100, 169, 50, 13}, QStringLiteral("0"), RightAligned, QStringLiteral("Euros"));
    Lib_MemCur->SetFit(FittedLabel::Fit::Amount);
    Lib_MemEuro->SetFit(FittedLabel::Fit::Amount);
    Label2 = MakeLabel(w, "Label2", {156, 169, 27, 13}, QStringLiteral("Euro"));
    ButtonMC = MakeButton(w, "ButtonMC", {3, 187, 30, 30}, QStringLiteral("MC"), Bold, QStringLiteral("Effacer la mémoire actuelle"));
    ButtonMR = MakeButton(w, "ButtonMR", {54, 187, 30, 30}, QStringLiteral("MR"), Bold,
                          QStringLiteral("Rappeler la mémoire dans la case en saisie"));
    ButtonMMoins = MakeButton(w, "ButtonMMoins", {106, 187, 30, 30}, QStringLiteral("M-"), Bold,
                              QStringLiteral("Soustraire de la mémoire"));
    ButtonMPlus = MakeButton(w, "ButtonMPlus", {156, 187, 30, 30}, QStringLiteral("M+"), Bold,
                             QStringLiteral("Additionner à la mémoire"));

    // Keypad.
    const std::array<Place, 10> digitPlaces = {{{193, 228, 65, 30},
                                                {193, 194, 30, 30},
                                                {229, 194, 30, 30},
                                                {266, 194, 30, 30},
                                                {193, 161, 30, 30},
                                                {229, 161, 30, 30},
                                                {266, 161, 30, 30},
                                                {193, 127, 30, 30},
                                                {229, 127, 30, 30},
                                                {266, 127, 30, 30}}};
    for (int digit = 0; digit < 10; ++digit) {
        const QByteArray name = "Button" + QByteArray::number(digit);
        digitButtons_[static_cast<std::size_t>(digit)] =
            MakeButton(w, name.constData(), digitPlaces[static_cast<std::size_t>(digit)], QString::number(digit), Bold);
    }
    ButtonDiv = MakeButton(w, "ButtonDiv", {302, 127, 30, 30}, QStringLiteral("/"), Bold);
    ButtonMul = MakeButton(w, "ButtonMul", {339, 127, 30, 30}, QStringLiteral("x"), Bold);
    ButtonRA = MakeButton(w, "ButtonRA", {375, 127, 30, 30}, QStringLiteral("<="), Plain, QStringLiteral("BackSpace"));
    ButtonPlus = MakeButton(w, "ButtonPlus", {302, 161, 30, 63}, QStringLiteral("+"), Bold | RedText);
    ButtonMoins = MakeButton(w, "ButtonMoins", {339, 161, 30, 30}, QStringLiteral("-"), Bold);
    ButtonCE = MakeButton(w, "ButtonCE", {375, 161, 30, 30}, QStringLiteral("CE"), Bold,
                          QStringLiteral("Effacer le dernier chiffre saisi"));
    Bt_Pourc = MakeButton(w, "Bt_Pourc", {339, 194, 30, 30}, QStringLiteral("%"), Bold);
    ButtonC = MakeButton(w, "ButtonC", {375, 195, 30, 63}, QStringLiteral("C"), Bold | RedText,
                         QStringLiteral("Effacer tous les chiffres"));
    ButtonDec = MakeButton(w, "ButtonDec", {266, 228, 30, 30}, QString(QLatin1Char(platform::DecimalSeparator())), Bold);
    ButtonEgal = MakeButton(w, "ButtonEgal", {302, 228, 68, 30}, QStringLiteral("="), Bold | Large);
    ButtonEgal->setFocusPolicy(Qt::StrongFocus);
    ButtonEgal->setDefault(true);
    Button100 = MakeButton(w, "Button100", {193, 261, 30, 30}, QStringLiteral("00"), Plain, QStringLiteral("x100"));
    Button1000 = MakeButton(w, "Button1000", {229, 261, 30, 30}, QStringLiteral("000"), Plain, QStringLiteral("x1000"));

    // The rest.
    Bar_Reduc = Placed(w, new QSlider(Qt::Vertical), "Bar_Reduc", {0, 0, 18, 49}, QStringLiteral("Taille Devical"));
    Bar_Reduc->setRange(1, 3);
    Bar_Reduc->setPageStep(1);
    Bar_Reduc->setInvertedAppearance(true);  // level 1 at the top, as the window folds downwards
    Bar_Reduc->setInvertedControls(true);
    Bar_Reduc->setFocusPolicy(Qt::NoFocus);
    Bar_Reduc->setAccessibleName(QStringLiteral("Taille Devical"));
    Bt_Manuel = MakeLabel(w, "Bt_Manuel", {17, -1, 174, 50}, QStringLiteral("Devical €"), Bold | NavyText | Centred | Large,
                          QStringLiteral("Manuel d'emploi"));
    Bt_Manuel->setCursor(Qt::PointingHandCursor);
    Bt_Ecart = MakePictureButton(w, "Bt_Ecart", {301, 27, 16, 16}, DeviationIcon(), QStringLiteral("Ecarts"), {});
    Bt_Langue = MakePictureButton(w, "Bt_Langue", {1, 230, 20, 20}, LanguageIcon(), {}, QStringLiteral("Language"));
    Bt_Info = MakeLabel(w, "Bt_Info", {23, 228, 166, 26}, QString(), Centred | WordWrap);
    QFont creditFont = Bt_Info->font();
    creditFont.setPointSize(7);
    Bt_Info->setFont(creditFont);
    Bt_Info->setCursor(Qt::PointingHandCursor);
    Bt_Code = MakeLabel(w, "Bt_Code", {0, 255, 190, 36}, QStringLiteral("QWIL"), Bold | NavyText | Centred | Large);
    Bt_Code->setCursor(Qt::PointingHandCursor);
    Lib_Dec = MakeLabel(w, "Lib_Dec", {262, 259, 73, 13}, QStringLiteral("Décimales"));
    Lib_NbrDec = MakeLabel(w, "Lib_NbrDec", {265, 274, 46, 13}, QStringLiteral("Décimales"), Bold | Centred);
    Nb_Dec = Placed(w, new QComboBox, "Nb_Dec", {315, 270, 21, 21}, QStringLiteral("Nombre de décimales"));
    Nb_Dec->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("x")});
    Nb_Dec->setAccessibleName(QStringLiteral("Nombre de décimales"));
    Nb_Dec->setFocusPolicy(Qt::TabFocus);
    Bt_Copy = MakePictureButton(w, "Bt_Copy", {340, 261, 30, 30}, CopyIcon(), {}, QStringLiteral("Copy"));
    Bt_Close = MakePictureButton(w, "Bt_Close", {375, 261, 30, 30}, CloseIcon(), QStringLiteral("Sortir"), {});
    setTabOrder(ButtonEgal, Lst_Memory);
    setTabOrder(Lst_Memory, Nb_Dec);
}

}  // namespace devical::ui
