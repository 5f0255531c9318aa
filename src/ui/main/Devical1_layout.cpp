// The main window's controls: names, places, sizes, design texts and hints, at 96 dpi
// device-independent pixels (the desktop's scale factor applies on top).
#include <QApplication>

#include "platform/desktop.h"
#include "ui/common/accessibility.h"
#include "ui/common/icons.h"
#include "ui/common/readable_slider.h"
#include "ui/main/Devical1_design.h"

namespace devical::ui {

namespace {

constexpr int kClientWidth = 408;
constexpr int kClientHeight = 293;

const QString kClickToEdit = QStringLiteral("Clic pour modifier");

}  // namespace

void TCalc::BuildControls() {
    setObjectName(QStringLiteral("Calc"));
    setWindowTitle(QStringLiteral("Devical"));
    QFont font = QApplication::font();
    font.setPointSize(8);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);
    BuildAmountArea();
    BuildMemoryArea();
    BuildKeypad();
    BuildOtherControls();
    // The buttons a key of the keypad does not stand for are reached by Tab too, as the
    // keyboard alone must reach every action.
    for (QWidget* button : std::initializer_list<QWidget*>{ButtonMPlus, ButtonMMoins, ButtonMR, ButtonMC, Bt_Ecart,
                                                           Bt_Tape, Bt_Copy, Bt_Close})
        button->setFocusPolicy(Qt::TabFocus);
    // After "=", the amounts in reading order, then the memory, then the rest in reading order.
    QWidget* order[] = {ButtonEgal, boxes_[0],  boxes_[1],  boxes_[2],   boxes_[3],   boxes_[4],    boxes_[5],
                        Bt_Ecart,   Bt_Tape,    Lib_MemCur, Lib_MemEuro, ButtonMPlus, ButtonMMoins, ButtonMR,
                        ButtonMC,   Lst_Memory, Nb_Dec,     Bt_Copy,     Bt_Close,    Bt_Langue};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TCalc::BuildAmountArea() {
    const std::pair<const char*, Place> boxes[] = {
        {"Cur_HT", {194, 48, 104, 22}},    {"Euro_HT", {301, 48, 104, 22}},  {"Cur_Taxe", {194, 75, 104, 22}},
        {"Euro_Taxe", {301, 75, 104, 22}}, {"Cur_TTC", {194, 101, 104, 22}}, {"Euro_TTC", {301, 101, 104, 22}},
    };
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i] = MakeAmountBox(this, boxes[i].first, boxes[i].second, QStringLiteral("(Ctrl+Num %1)").arg(i + 1));
    Lib_Rate = MakeLabel<FittedLabel>(this, "Lib_Rate", {193, 0, 213, 18}, QStringLiteral("Lib_Rate"),
                                      Centred | WordWrap, QStringLiteral("Liste des taux de change"));
    Lib_Cur = MakeLabel<FittedLabel>(this, "Lib_Cur", {193, 21, 106, 26}, QStringLiteral("Currency"),
                                     Bold | NavyText | Centred | WordWrap);
    Lib_Euro = MakeLabel(this, "Lib_Euro", {330, 21, 52, 18}, QStringLiteral("Euros"), Bold | Centred);
    const QString design(30, QLatin1Char('x'));
    Lib_HT = MakeLabel<FittedLabel>(this, "Lib_HT", {3, 53, 180, 13}, design, NavyText, kClickToEdit);
    Lib_Taxe = MakeLabel<FittedLabel>(this, "Lib_Taxe", {3, 80, 180, 13}, design, Plain, kClickToEdit);
    Lib_TTC = MakeLabel<FittedLabel>(this, "Lib_TTC", {3, 106, 180, 13}, design, Plain, kClickToEdit);
    // The longest currency and tax names of the sets ("ATS Österreichischer Schilling",
    // "Netherlands - standard rate") fit in a smaller font rather than cut.
    for (FittedLabel* caption : {Lib_Cur, Lib_HT, Lib_Taxe, Lib_TTC})
        caption->SetFit(FittedLabel::Fit::Caption);
}

void TCalc::BuildMemoryArea() {
    auto* bevel = Placed(new QFrame(this), "Bevel1", {0, 128, 189, 93});
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    for (const KeyDesign& key : kMemoryKeys) {
        this->*key.control = MakeButton(this, key.name, key.place, QString::fromUtf8(key.caption), key.look,
                                        QString::fromUtf8(key.hint));
        connect(this->*key.control, &QPushButton::clicked, this, key.handler);
    }
    Lst_Memory->setFocusPolicy(Qt::TabFocus);
    Lib_Memory = MakeLabel<FittedLabel>(this, "Lib_Memory", {67, 136, 118, 27}, QStringLiteral("Mémoire"),
                                        Centred | WordWrap, kClickToEdit);
    Lib_MemCur = MakeLabel<FittedLabel>(this, "Lib_MemCur", {2, 169, 50, 13}, QStringLiteral("0"), RightAligned);
    Lb_Dev = MakeLabel(this, "Lb_Dev", {57, 169, 29, 13}, QStringLiteral("DEM"));
    Label1 = MakeLabel(this, "Label1", {84, 169, 16, 13}, QStringLiteral("="), Centred, QStringLiteral("Clic = 0"));
    Lib_MemEuro = MakeLabel<FittedLabel>(this, "Lib_MemEuro", {100, 169, 50, 13}, QStringLiteral("0"), RightAligned,
                                         QStringLiteral("Euros"));
    Lib_MemCur->SetFit(FittedLabel::Fit::Amount);
    Lib_MemEuro->SetFit(FittedLabel::Fit::Amount);
    for (QLabel* amount : {Lib_MemCur, Lib_MemEuro}) {
        MarkSpokenAmount(amount);
        amount->setFocusPolicy(Qt::TabFocus);
    }
    MakeLabel(this, "Label2", {156, 169, 27, 13}, QStringLiteral("Euro"));
}

void TCalc::BuildKeypad() {
    for (int digit = 0; digit < 10; ++digit) {
        const QByteArray name = "Button" + QByteArray::number(digit);
        auto* button = MakeButton(this, name.constData(), kDigitPlaces[digit], QString::number(digit), Bold);
        connect(button, &QPushButton::clicked, this, [this, digit] { DigitClick(digit); });
        digitButtons_[static_cast<std::size_t>(digit)] = button;
    }
    for (const KeyDesign& key : kKeypadKeys) {
        this->*key.control = MakeButton(this, key.name, key.place, QString::fromUtf8(key.caption), key.look,
                                        QString::fromUtf8(key.hint));
        connect(this->*key.control, &QPushButton::clicked, this, key.handler);
    }
    ButtonDec->setText(QString(QLatin1Char(platform::DecimalSeparator())));
    ButtonEgal->setFocusPolicy(Qt::StrongFocus);
    ButtonEgal->setDefault(true);
}

void TCalc::BuildOtherControls() {
    Bar_Reduc =
        Placed(new ReadableSlider(Qt::Vertical, this), "Bar_Reduc", {0, 0, 18, 49}, QStringLiteral("Taille Devical"));
    Bar_Reduc->setRange(1, 3);
    Bar_Reduc->setPageStep(1);
    Bar_Reduc->setInvertedAppearance(true);  // level 1 at the top, as the window folds downwards
    Bar_Reduc->setInvertedControls(true);
    Bar_Reduc->setFocusPolicy(Qt::NoFocus);
    Bar_Reduc->setAccessibleName(QStringLiteral("Taille Devical"));
    Bt_Manuel = MakeLabel(this, "Bt_Manuel", {17, -1, 174, 50}, QStringLiteral("Devical €"),
                          Bold | NavyText | Centred | Large, QStringLiteral("Manuel d'emploi"));
    Bt_Ecart =
        MakePictureButton(this, "Bt_Ecart", {301, 27, 16, 16}, DeviationIcon, kNavy, QStringLiteral("Ecarts"), {});
    Bt_Tape = MakePictureButton(this, "Bt_Tape", {386, 27, 16, 16}, TapeIcon, kNavy,
                                QStringLiteral("Bande de calcul (R)"), {});
    Bt_Langue =
        MakePictureButton(this, "Bt_Langue", {1, 230, 20, 20}, LanguageIcon, kNavy, {}, QStringLiteral("Language"));
    Bt_Langue->setFocusPolicy(Qt::TabFocus);  // a picture alone: Tab reaches it, besides "l"
    Bt_Info = MakeLabel(this, "Bt_Info", {23, 228, 166, 26}, QString(), Centred | WordWrap);
    QFont creditFont = Bt_Info->font();
    creditFont.setPointSize(7);
    Bt_Info->setFont(creditFont);
    Bt_Code = MakeLabel(this, "Bt_Code", {0, 255, 190, 36}, QStringLiteral("QWIL"), Bold | NavyText | Centred | Large);
    for (QLabel* link : {Bt_Manuel, Bt_Info, Bt_Code})
        link->setCursor(Qt::PointingHandCursor);
    Lib_Dec = MakeLabel<FittedLabel>(this, "Lib_Dec", {262, 259, 73, 13}, QStringLiteral("Décimales"));
    Lib_Dec->SetFit(FittedLabel::Fit::Caption);  // "Dezimalstellen" is longer than the room
    Lib_NbrDec = MakeLabel(this, "Lib_NbrDec", {265, 274, 46, 13}, QStringLiteral("Décimales"), Bold | Centred);
    Nb_Dec = Placed(new QComboBox(this), "Nb_Dec", {315, 270, 21, 21}, QStringLiteral("Nombre de décimales"));
    Nb_Dec->addItems(
        {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("x")});
    Nb_Dec->setAccessibleName(QStringLiteral("Nombre de décimales"));
    Lib_Dec->setBuddy(Nb_Dec);  // the labelled-by relation a screen reader reads: "Décimales, 2"
    Nb_Dec->setFocusPolicy(Qt::TabFocus);
    Bt_Copy = MakePictureButton(this, "Bt_Copy", {340, 261, 30, 30}, CopyIcon, kNavy, {}, QStringLiteral("Copy"));
    Bt_Close =
        MakePictureButton(this, "Bt_Close", {375, 261, 30, 30}, CloseIcon, kCancelRed, QStringLiteral("Sortir"), {});
}

}  // namespace devical::ui
