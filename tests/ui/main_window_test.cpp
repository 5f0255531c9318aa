// The main window used as a person would: keys typed at the window, clicks on controls,
// and what the boxes, labels, clipboard and settings file then hold.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "app/startup.h"
#include "platform/tray.h"
#include "ui/about/Info1.h"
#include "ui/common/amount_elision.h"
#include "ui/common/fitted_label.h"
#include "ui/main/Devical1.h"
#include "window_test_support.h"

using devical::platform::MessageAnswer;
using devical::ui::TCalc;
using namespace devical::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestProgramDirectory> dir_;
    std::unique_ptr<MessageRecorder> messages_;
    QStringList openedLinks_;  // handed to the desktop

    std::unique_ptr<TCalc> Open() {
        auto calc = std::make_unique<TCalc>(dir_->Path());
        calc->show();
        calc->activateWindow();
        if (!QTest::qWaitForWindowActive(calc.get())) calc->FormActivate();
        return calc;
    }
    static QString Box(TCalc& calc, const char* name) { return calc.findChild<QLabel*>(name)->text(); }
    static QStringList Boxes(TCalc& calc) {
        QStringList texts;
        for (const char* name : {"Cur_HT", "Euro_HT", "Cur_Taxe", "Euro_Taxe", "Cur_TTC", "Euro_TTC"})
            texts << Box(calc, name);
        return texts;
    }
    // Whether anything is drawn in the pixel column x of a label's contents: text that runs
    // into the edge of its box is cut there.
    static bool InkInColumn(QLabel* label, int x) {
        const QImage image = label->grab().toImage();
        const QRect contents = label->contentsRect();
        const QRgb background = image.pixel(contents.topLeft());  // the top row holds no text
        for (int y = contents.top(); y <= contents.bottom(); ++y)
            if (image.pixel(x, y) != background) return true;
        return false;
    }
    static devical::ui::FittedLabel* Fitted(TCalc& calc, const char* name) {
        return calc.findChild<devical::ui::FittedLabel*>(name);
    }
    static void Type(TCalc& calc, const QString& keys) { TypeAt(calc.windowHandle(), keys); }
    static void Press(TCalc& calc, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(calc.windowHandle(), key, modifiers);
    }
    template <typename W = QWidget>
    static void Click(TCalc& calc, const char* name) {
        QTest::mouseClick(calc.findChild<W*>(name), Qt::LeftButton);
    }

public slots:
    void OpenedLink(const QUrl& url) { openedLinks_ << url.toString(); }

private slots:
    void init() {
        UseLocale(QLocale::French, QLocale::France);
        dir_ = std::make_unique<TestProgramDirectory>();
        messages_ = std::make_unique<MessageRecorder>();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() {
        devical::platform::OverrideTrayAvailable(std::nullopt);
        for (const char* scheme : {"mailto", "https"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        const QString problems = messages_->Problems();
        messages_.reset();
        dir_.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void typingAnAmountAndEnterConvertsCopiesAndReports() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100"));
        Press(*calc, Qt::Key_Return);
        QCOMPARE(Boxes(*calc), (QStringList{"100", "15,24", "20,6", "3,14", "120,6", "18,39"}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("15,24"));

        Press(*calc, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("100\t15,24\r\n20,6\t3,14\r\n120,6\t18,39\r\n"));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("100"));  // Ctrl+C is no "c": nothing cleared

        messages_->Expect(
            QStringLiteral("Écarts de conversion (Centimes)\n\nMontant HT = -3\nTVA (20,6 %) = 0\n"
                           "Montant TTC = +3\n"));
        Type(*calc, QStringLiteral("!"));
        QCOMPARE(QApplication::focusWidget(), calc->findChild<QWidget*>("ButtonEgal"));
    }

    void theKeypadButtonsWorkWithTheMouse() {
        auto calc = Open();
        for (const char* name : {"Button1", "Button2", "ButtonPlus", "Button3", "ButtonMul", "Button2", "ButtonEgal"})
            Click(*calc, name);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("30"));
        Click(*calc, "Euro_TTC");
        Click(*calc, "Button1000");
        QCOMPARE(Box(*calc, "Euro_TTC"), QStringLiteral("000"));
        QCOMPARE(dir_->Setting("Windows", "CaseEnSaisie"), QByteArray("6"));
        Click(*calc, "ButtonC");
        QCOMPARE(Boxes(*calc), QStringList(6, QStringLiteral("0")));
    }

    void keyboardMapReachesTheSameHandlers() {
        auto calc = Open();
        Type(*calc, QStringLiteral("3x-2="));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("7"));
        Type(*calc, QStringLiteral("5X"));  // upper-case X is not mapped
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("5"));
        Type(*calc, QStringLiteral("*2="));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("10"));
        Type(*calc, QStringLiteral("12,5"));
        Press(*calc, Qt::Key_Backspace);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("12,"));
        Press(*calc, Qt::Key_Delete);  // CE: the running result again
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("10"));

        Press(*calc, Qt::Key_4, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(calc->State().BoxUnderEntry, 4);
        Press(*calc, Qt::Key_0, Qt::AltModifier | Qt::KeypadModifier);
        QCOMPARE(Box(*calc, "Euro_Taxe"), QStringLiteral("00"));
        Press(*calc, Qt::Key_1, Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier);  // neither rule
        QCOMPARE(calc->State().BoxUnderEntry, 4);
        Press(*calc, Qt::Key_1, Qt::ControlModifier);  // the main keyboard's 1 too, for a laptop
        QCOMPARE(calc->State().BoxUnderEntry, 1);
    }

    void arrowKeysNeverMoveTheFocusAndStepOnlyAFocusedDecimalsList() {
        auto calc = Open();
        const int full = calc->height();
        auto* decimals = calc->findChild<QComboBox*>("Nb_Dec");
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right, Qt::Key_PageUp,
                            Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown}) {
            Press(*calc, key, Qt::AltModifier);
            Press(*calc, key);
            if (key == Qt::Key_Down || key == Qt::Key_PageDown) Press(*calc, Qt::Key_Up, Qt::AltModifier);
        }
        QCOMPARE(calc->height(), full);
        QCOMPARE(QApplication::focusWidget(), calc->findChild<QWidget*>("ButtonEgal"));
        QCOMPARE(decimals->currentText(), QStringLiteral("2"));

        decimals->setFocus(Qt::TabFocusReason);  // reached with Tab, Up and Down step the list: 1, 2, 3
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_End})
            Press(*calc, key);
        Press(*calc, Qt::Key_Down, Qt::AltModifier);  // folds the window, opens nothing
        QCOMPARE(calc->height(), 127);
        QVERIFY(!decimals->view()->isVisible());
        QCOMPARE(decimals->currentText(), QStringLiteral("3"));  // shown and stored: the keyboard test
    }

    void theDecimalKeyShowsTheSeparatorItTypes_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << QStringLiteral(",");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << QStringLiteral(".");
    }
    void theDecimalKeyShowsTheSeparatorItTypes() {
        QFETCH(QLocale, locale);
        QFETCH(QString, separator);
        QLocale::setDefault(locale);
        auto calc = Open();
        QCOMPARE(calc->findChild<QPushButton*>("ButtonDec")->text(), separator);
        for (const char* name : {"Button1", "ButtonDec", "Button5"})
            Click(*calc, name);
        QCOMPARE(Box(*calc, "Cur_HT"), "1" + separator + "5");
    }

    void anAmountWiderThanItsBoxIsNeverShownCut() {
        auto calc = Open();
        Type(*calc, QStringLiteral("1205999999998,79="));
        for (const char* name : {"Cur_HT", "Euro_HT", "Cur_Taxe", "Euro_Taxe", "Cur_TTC", "Euro_TTC"}) {
            auto* box = Fitted(*calc, name);
            QVERIFY2(!InkInColumn(box, box->contentsRect().left()), name);  // a smaller font, whole
            QCOMPARE(box->ShownText(), box->text());
        }
        QVERIFY(Fitted(*calc, "Cur_TTC")->ShownFont().pointSizeF() < calc->font().pointSizeF());

        // The memory line is narrower: past the smallest font the amount is shortened, and
        // shows whole in its tooltip.
        Press(*calc, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
        auto* memory = Fitted(*calc, "Lib_MemCur");
        QCOMPARE(memory->text(), QStringLiteral("1205999999998,79"));
        QVERIFY(!InkInColumn(memory, memory->contentsRect().left()));
        QVERIFY(memory->ShownText() != memory->text());
        QVERIFY(memory->toolTip().startsWith(QLatin1String("1205999999998,79\n")));
        QVERIFY(memory->toolTip().endsWith(QStringLiteral("FRF Franc français")));  // its own hint stays
        memory->setText(QStringLiteral("5"));
        QCOMPARE(memory->toolTip(), QStringLiteral("FRF Franc français"));
    }

    // Text, width in characters, "typing" or not, what shows: what is shortened keeps its
    // size and the digit being typed.
    void aShortenedAmountKeepsItsSizeAndItsLastTypedDigit_data() {
        QTest::addColumn<QString>("row");
        for (const char* row : {"1,5|10||1,5", "1,23456789012346E22|12||1,234567…E22",
                                "-5,17508018371637E-226|10||-5,1…E-226", "12345678901234567890123|10|typing|…567890123",
                                "12345678901234567890123|10||1,2345…E22", "1205999999998,79|15||1205999999998,…",
                                "1205999999998,79|10||1,2059…E12", "0,000123456789012345|10||0,0001234…",
                                "-12345,5|6||-1,…E4", "-1234567|5|typing|-…567", "000000000000|6||…00000"})
            QTest::newRow(row) << QString::fromUtf8(row);
    }
    void aShortenedAmountKeepsItsSizeAndItsLastTypedDigit() {
        QFETCH(QString, row);
        const QStringList field = row.split('|');
        const auto fits = [width = field[1].toInt()](const QString& candidate) { return candidate.size() <= width; };
        QCOMPARE(devical::ui::ElideAmount(field[0], fits, field[2] == "typing", QLatin1Char(',')), field[3]);
    }

    void aLongAmountShowsTheDigitTypedThenItsExponent() {
        auto calc = Open();
        auto* box = Fitted(*calc, "Cur_HT");
        Type(*calc, QStringLiteral("12345678901234567890123"));
        QVERIFY2(box->ShownText().startsWith(QStringLiteral("…")) && box->ShownText().endsWith("0123"),
                 qPrintable(box->ShownText()));
        messages_->Expect(QStringLiteral("Dépassement de capacité"));  // a deviation in centimes this large
        Press(*calc, Qt::Key_Return);
        QVERIFY2(box->ShownText().endsWith(QStringLiteral("…E22")), qPrintable(box->ShownText()));
        QCOMPARE(box->text(), QStringLiteral("1,23456789012346E22"));
    }

    void aLongTitleIsElidedButNeverTheTaxRate() {
        const QByteArray title =
            "Taxe sur la valeur ajout\xe9"
            "e au taux normal des livraisons de biens";
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Title=TVA", "Title=" + title));
        auto calc = Open();
        auto* tax = Fitted(*calc, "Lib_Taxe");
        const QString whole = QString::fromLatin1(title) + QStringLiteral(" (20,6 %)");
        QCOMPARE(tax->text(), whole);
        QVERIFY(tax->ShownText().endsWith(QStringLiteral("… (20,6 %)")));
        QVERIFY(!InkInColumn(tax, tax->contentsRect().right()));
        QVERIFY(tax->toolTip().startsWith(whole));
    }

    void qtsOwnButtonsSpeakTheInterfaceLanguage() {
        auto calc = Open();
        QMessageBox french(QMessageBox::Question, "Devical", "?", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(french.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Oui"));
        QCOMPARE(french.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Non"));
        calc.reset();
        dir_->Write("DEVICAL.LAN", "[Dialogs]\r\nLangue=AN\r\n");
        calc = Open();
        QMessageBox english(QMessageBox::Question, "Devical", "?", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(english.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Yes"));
    }

    void theWindowOpensCentredOnTheScreen() {
        TCalc calc(dir_->Path());
        calc.Devical1Click();
        QVERIFY(QTest::qWaitForWindowExposed(&calc));
        const QPoint offset = calc.frameGeometry().center() - calc.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void shiftEscapeHidesTheWindowAndClearsAllBoxes() {
        devical::platform::OverrideTrayAvailable(true);
        auto calc = Open();
        Type(*calc, QStringLiteral("42="));
        Press(*calc, Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(!calc->isVisible());
        QCOMPARE(Boxes(*calc), QStringList(6, QStringLiteral("0")));
    }

    void closingByTheFrameHidesAndShowingAgainKeepsTheAmounts() {
        devical::platform::OverrideTrayAvailable(true);
        auto calc = Open();
        Type(*calc, QStringLiteral("42="));
        calc->close();
        QVERIFY(!calc->isVisible());
        calc->Devical1Click();
        QVERIFY(calc->isVisible());
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("42"));
    }

    void ctrlDeleteClearsTheMemoryThenTheEntry() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Curr=0", "Curr=5"));
        auto calc = Open();
        Type(*calc, QStringLiteral("7+8"));
        Press(*calc, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray(" "));
        QCOMPARE(dir_->Setting("Memory", "Curr"), QByteArray("0"));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("7"));  // CE shows the running result
        Type(*calc, QStringLiteral("1="));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("8"));
        Press(*calc, Qt::Key_Delete, Qt::ShiftModifier);  // only the entry
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray(" "));
    }

    void sizeLevelsFoldTheWindowAndMoveTheEntryUp() {
        auto calc = Open();
        Click(*calc, "Euro_TTC");
        const int full = calc->height();
        Press(*calc, Qt::Key_Up, Qt::AltModifier);  // already at level 1
        QCOMPARE(calc->height(), full);
        Press(*calc, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(calc->height(), 127);
        QCOMPARE(calc->State().BoxUnderEntry, 6);
        Press(*calc, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(calc->height(), 75);
        QCOMPARE(calc->State().BoxUnderEntry, 2);
        QCOMPARE(dir_->Setting("Windows", "Size"), QByteArray("3"));
        QCOMPARE(dir_->Setting("Windows", "CaseEnSaisie"), QByteArray("2"));
        Press(*calc, Qt::Key_Down, Qt::AltModifier);  // already at level 3
        QCOMPARE(calc->height(), 75);

        Press(*calc, Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);  // a hidden row: level 2 first
        QCOMPARE(calc->height(), 127);
        QCOMPARE(calc->State().BoxUnderEntry, 5);
        Press(*calc, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(calc->height(), full);
        QCOMPARE(calc->State().BoxUnderEntry, 5);  // going back does not move it back
    }

    void aStoredSizeOutOfRangeIsHeldAndRewritten() {  // the stored values' rules: the session's test
        dir_->Write(
            "DEVICAL.INI",
            QByteArray(kFrenchSettings).replace("Size=1", "Size=5").replace("CaseEnSaisie=1", "CaseEnSaisie=7"));
        auto calc = Open();
        QCOMPARE(calc->height(), 75);
    }

    void theFirstActivationClearsTheBoxesButRestoresTheBoxUnderEntry() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("CaseEnSaisie=1", "CaseEnSaisie=4"));
        auto calc = Open();
        QCOMPARE(Boxes(*calc), QStringList(6, QStringLiteral("0")));
        QCOMPARE(calc->State().BoxUnderEntry, 4);
        QCOMPARE(calc->findChild<QLabel*>("Euro_Taxe")->font().bold(), true);
        QCOMPARE(calc->findChild<QLabel*>("Cur_HT")->font().bold(), false);
        QCOMPARE(calc->findChild<QLabel*>("Lib_Taxe")->text(), QStringLiteral("TVA (20,6 %)"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_Rate")->text(), QStringLiteral("1 Euro = 6,55957 unités"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_Memory")->text(), QStringLiteral("Caisse"));
        QCOMPARE(calc->findChild<QLabel*>("Lb_Dev")->text(), QStringLiteral("FRF"));
    }

    void aNewCurrencyKeepsTheEurosAndRecomputesTheNationalAmounts() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100="));
        // As the rate list hands over a currency chosen.
        calc->Choose(devical::storage::CurrencyChoice{"DEM Mark", "1,95583", 1.95583L});
        calc->FormActivate();
        QCOMPARE(Boxes(*calc), (QStringList{"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}));
        QCOMPARE(calc->State().BoxUnderEntry, 1);
        QVERIFY(!calc->State().CurrencyChanged);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("29,81"));
    }

    void aNewTaxRateIsCarriedIntoTheColumn() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100="));
        calc->Choose(devical::storage::TaxChoice{"TVA", "5,5", 5.5L});
        calc->FormActivate();
        QCOMPARE(Boxes(*calc), (QStringList{"100", "15,24", "5,5", "0,84", "105,5", "16,08"}));
    }

    void anUnusableSettingSaysWhereItIsAndItsDefaultServes() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings)
                                       .replace("Rate=6,55957", "Rate=six")
                                       .replace("Size=1", "Size=x")
                                       .replace("CaseEnSaisie=1", "CaseEnSaisie=zz"));
        const QString where = QStringLiteral("\nFichier %1DEVICAL.INI, section ").arg(dir_->Path());
        messages_->Expect("'six' n'est pas une valeur flottante correcte" + where + "[Currency], clé Rate");
        messages_->Expect("'x' n'est pas une valeur entière correcte" + where + "[Windows], clé Size");
        messages_->Expect("'zz' n'est pas une valeur entière correcte" + where + "[Windows], clé CaseEnSaisie");
        auto calc = Open();
        // Every label shows real text, and the calculator works at the default rate.
        QCOMPARE(calc->findChild<QLabel*>("Lib_Rate")->text(), QStringLiteral("1 Euro = 1 unité"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_Cur")->text(), QStringLiteral("FRF Franc français"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_NbrDec")->text(), QStringLiteral("2"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_Memory")->text(), QStringLiteral("Caisse"));
        QCOMPARE(calc->State().BoxUnderEntry, 1);
        Type(*calc, QStringLiteral("100="));
        QCOMPARE(Boxes(*calc), (QStringList{"100", "100", "20,6", "20,6", "120,6", "120,6"}));
    }

    void comingBackFromAMessageBoxIsNoNewActivation() {
        auto calc = Open();
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Lib_HT=Montant HT", "Lib_HT=Net"));
        auto* box = new QMessageBox(QMessageBox::Information, "Devical", "report", QMessageBox::Ok, calc.get());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::ApplicationModal);  // as the program's boxes are
        box->setObjectName(QStringLiteral("report"));
        messages_->ExpectDialog(box->objectName());
        box->show();
        QTRY_COMPARE(QApplication::activeWindow(), box);
        box->close();
        calc->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), calc.get());
        QCOMPARE(calc->findChild<QLabel*>("Lib_HT")->text(), QStringLiteral("Montant HT"));

        QWidget other;  // another window of the program: its closing activates the main one anew
        other.show();
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);
        other.hide();
        calc->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), calc.get());
        QCOMPARE(calc->findChild<QLabel*>("Lib_HT")->text(), QStringLiteral("Net"));
    }

    void pastingTakesTheFirstLineAndEitherSeparator() {
        auto calc = Open();
        struct Paste {
            const char* clipboard;
            const char* shown;
        };
        for (const Paste& paste : {Paste{"12.50", "12,5"}, Paste{"  42  ", "42"}, Paste{"7\r\n8", "7"},
                                   Paste{"1.234.567", "7"}, Paste{"", "7"}, Paste{"douze", "7"}}) {
            QGuiApplication::clipboard()->setText(QString::fromUtf8(paste.clipboard));
            Press(*calc, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Box(*calc, "Cur_HT"), QString::fromUtf8(paste.shown));
        }
        QCOMPARE(Box(*calc, "Euro_HT"), QStringLiteral("1,07"));  // 7 was evaluated

        UseLocale(QLocale::English, QLocale::UnitedKingdom);
        QGuiApplication::clipboard()->setText(QStringLiteral("3,75"));
        Press(*calc, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("3.75"));
    }

    void copyingWithoutTaxPutsOneLine() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Rate=20,6", "Rate=0"));
        auto calc = Open();
        Type(*calc, QStringLiteral("100="));
        Click<QToolButton>(*calc, "Bt_Copy");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("100\t15,24\r\n"));
    }

    void choosingDecimalsReevaluatesAndIsStored() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100="));
        auto* decimals = calc->findChild<QComboBox*>("Nb_Dec");
        decimals->setCurrentIndex(3);
        emit decimals->activated(3);
        QCOMPARE(Box(*calc, "Euro_HT"), QStringLiteral("15,245"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_NbrDec")->text(), QStringLiteral("3"));
        QCOMPARE(dir_->Setting("Calcul", "Nb_Dec"), QByteArray("3"));
        decimals->setCurrentIndex(4);
        emit decimals->activated(4);  // "x" clears first
        QCOMPARE(Boxes(*calc), QStringList(6, QStringLiteral("0")));
        QCOMPARE(dir_->Setting("Calcul", "Nb_Dec"), QByteArray("x"));
    }

    void digitsGoToTheOpenDecimalsList() {
        auto calc = Open();
        Type(*calc, QStringLiteral("d"));
        auto* decimals = calc->findChild<QComboBox*>("Nb_Dec");
        QTRY_VERIFY(decimals->view()->isVisible());
        TypeAt(decimals->view()->window()->windowHandle(), QStringLiteral("3"));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("0"));
        decimals->hidePopup();
        Type(*calc, QStringLiteral("2"));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("2"));
    }

    void aLoneMinusIsReportedAndChangesNothing() {
        auto calc = Open();
        Type(*calc, QStringLiteral("-5="));
        Press(*calc, Qt::Key_Backspace);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("-"));
        messages_->Expect(QStringLiteral("'-' n'est pas une valeur flottante correcte"));
        Type(*calc, QStringLiteral("+"));
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("-"));
    }

    void theLanguageFileGivesTextsAndBlanksWhatItLacks() {
        dir_->Write("DEVICAL.LAN", "[Main_Face]\r\nLib_Dec=Decimals\r\n[Dialogs]\r\nLangue=AN\r\n");
        auto calc = Open();
        QCOMPARE(calc->findChild<QPushButton*>("Lst_Memory")->text(), QStringLiteral("&Memory"));
        QCOMPARE(calc->findChild<QLabel*>("Lib_Dec")->text(), QStringLiteral("Decimals"));
        QCOMPARE(calc->findChild<QPushButton*>("ButtonRA")->toolTip(), QStringLiteral("BackSpace"));
        QCOMPARE(calc->findChild<QPushButton*>("ButtonC")->toolTip(), QString());
        QCOMPARE(calc->findChild<QLabel*>("Cur_HT")->toolTip(), QStringLiteral("(Ctrl+1, Ctrl+Num 1)"));
        QCOMPARE(calc->InstalledLanguage(), QStringLiteral("AN"));
    }

    void everyControlHasANameForScreenReaders() {
        auto calc = Open();
        for (QWidget* control : calc->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_"))) continue;
            const bool bevel = control->metaObject() == &QFrame::staticMetaObject;
            if (control->isHidden() || bevel) continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
        }
    }

    void aScreenReaderHearsEachAmountWithItsLineAndColumn() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100"));
        Press(*calc, Qt::Key_Return);
        const char* const names[] = {"Cur_HT", "Euro_HT", "Cur_Taxe", "Euro_Taxe", "Cur_TTC", "Euro_TTC"};
        const QString heard[] = {"Montant HT, FRF Franc fran\u00e7ais",  "Montant HT, Euros",
                                 "TVA, FRF Franc fran\u00e7ais",         "TVA, Euros",
                                 "Montant TTC, FRF Franc fran\u00e7ais", "Montant TTC, Euros"};
        for (int i = 0; i < 6; ++i) {
            QLabel* box = calc->findChild<QLabel*>(names[i]);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box);
            QCOMPARE(accessible->text(QAccessible::Name), heard[i] + QStringLiteral(", ") + box->text());
            QCOMPARE(accessible->text(QAccessible::Value), box->text());
            QAccessibleTextInterface* text = accessible->textInterface();
            QVERIFY2(text, names[i]);
            QCOMPARE(text->text(0, text->characterCount()), box->text());
            // Only the box under entry is selected, and says so.
            QCOMPARE(accessible->state().selected, i == 0);
            QCOMPARE(accessible->text(QAccessible::Description).startsWith(QStringLiteral("case en saisie")), i == 0);
        }
        Press(*calc, Qt::Key_2, Qt::ControlModifier | Qt::KeypadModifier);  // the net line in euros
        QVERIFY(QAccessible::queryAccessibleInterface(calc->findChild<QLabel*>("Euro_HT"))->state().selected);
        QVERIFY(!QAccessible::queryAccessibleInterface(calc->findChild<QLabel*>("Cur_HT"))->state().selected);

        QAccessibleInterface* decimals = QAccessible::queryAccessibleInterface(calc->Nb_Dec);
        QCOMPARE(decimals->text(QAccessible::Value), QStringLiteral("2"));
        QCOMPARE(calc->Nb_Dec->itemData(4, Qt::AccessibleTextRole).toString(), QStringLiteral("Sans arrondi"));
        const auto labelledBy = decimals->relations(QAccessible::Label);
        QCOMPARE(labelledBy.size(), 1);
        QCOMPARE(labelledBy.first().first->text(QAccessible::Name), QStringLiteral("D\u00e9cimales, 2"));
    }

    // What a screen reader is told after each step, whatever has the focus: each change heard,
    // the second as the first ("100=" is heard first).
    void eachStepIsAnnounced_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("heard");
        const int ctrlPad = int(Qt::ControlModifier | Qt::KeypadModifier);
        QTest::newRow("evaluation") << QStringLiteral("100") << int(Qt::Key_Return) << 0
                                    << QStringLiteral("Montant HT, Euros, 15,24");
        QTest::newRow("box under entry") << QStringLiteral("100=") << int(Qt::Key_4) << ctrlPad
                                         << QStringLiteral(
                                                "Montant HT, Euros, 15,24|TVA, FRF Franc fran\u00e7ais, 20,6");
        QTest::newRow("memory") << QStringLiteral("100=") << int(Qt::Key_Plus) << ctrlPad
                                << QStringLiteral("Montant HT, Euros, 15,24|Caisse, 100 FRF, 15,24 Euros");
        QTest::newRow("memory cleared") << QStringLiteral("100=") << int(Qt::Key_Delete) << int(Qt::ControlModifier)
                                        << QStringLiteral("Montant HT, Euros, 15,24|M\u00e9moire vide");
        QTest::newRow("memory recalled") << QStringLiteral("7") << int(Qt::Key_R) << int(Qt::ControlModifier)
                                         << QStringLiteral("Caisse, 0 FRF, 0 Euros");
    }
    void eachStepIsAnnounced() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, heard);
        // Each notification as it appears, as a screen reader is told of it.
        class Listener : public QObject {
        public:
            QStringList heard;

        protected:
            bool eventFilter(QObject* watched, QEvent* event) override {
                QAccessibleInterface* told =
                    event->type() == QEvent::Show ? QAccessible::queryAccessibleInterface(watched) : nullptr;
                if (told && told->role() == QAccessible::Notification) heard << told->text(QAccessible::Name);
                return false;
            }
        } listener;
        auto calc = Open();
        qApp->installEventFilter(&listener);
        Type(*calc, typed);
        Press(*calc, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        qApp->removeEventFilter(&listener);
        QCOMPARE(listener.heard.join(QLatin1Char('|')), heard);
        QCOMPARE(QApplication::focusWidget(), calc->ButtonEgal);  // the focus stays on "="
    }

    void everyKeyAndClickableLabelHasASpokenNameAndClickablesPress() {
        auto calc = Open();
        QStringList unnamed;
        for (QWidget* control : calc->findChildren<QWidget*>()) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            const bool actionable =
                qobject_cast<QAbstractButton*>(control) ||
                (accessible->actionInterface() && !accessible->actionInterface()->actionNames().isEmpty());
            if (!actionable || control->isHidden()) continue;
            const QString name = accessible->text(QAccessible::Name);
            if (name.isEmpty() || (name.size() == 1 && !name.at(0).isLetterOrNumber()))
                unnamed << control->objectName() + QStringLiteral(" \"") + name + QLatin1Char('"');
        }
        QCOMPARE(unnamed.join(QLatin1Char(' ')), QString());
        QCOMPARE(calc->ButtonMul->text(), QStringLiteral("x"));  // the caption stays
        QCOMPARE(QAccessible::queryAccessibleInterface(calc->ButtonMul)->text(QAccessible::Name),
                 QStringLiteral("Multiplier"));

        for (QLabel* label :
             std::initializer_list<QLabel*>{calc->Lib_Rate, calc->Lib_Cur, calc->Lib_HT, calc->Lib_Taxe, calc->Lib_TTC,
                                            calc->Lib_Memory, calc->Label1, calc->Bt_Manuel, calc->Bt_Code}) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label);
            QVERIFY2(accessible->role() == QAccessible::Button, qPrintable(label->objectName()));
            QVERIFY2(!accessible->text(QAccessible::Description).isEmpty(), qPrintable(label->objectName()));
        }
        QSignalSpy rates(calc.get(), &TCalc::rateListRequested);
        QAccessible::queryAccessibleInterface(calc->Lib_Rate)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(rates.size(), 1);
        QAccessible::queryAccessibleInterface(calc->boxes_[5])
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(dir_->Setting("Windows", "CaseEnSaisie"), QByteArray("6"));
    }

    void theFirstFrameAlreadyShowsTheSettings() {
        // What each label holds when it is first painted.
        class FirstPaint : public QObject {
        public:
            QMap<QString, QString> texts;

        protected:
            bool eventFilter(QObject* watched, QEvent* event) override {
                auto* label = qobject_cast<QLabel*>(watched);
                if (event->type() == QEvent::Paint && label && !texts.contains(label->objectName()))
                    texts.insert(label->objectName(), label->text());
                return false;
            }
        } firstPaint;
        const QMap<QString, QString> expected = {{"Lib_Rate", "1 Euro = 6,55957 unit\u00e9s"},
                                                 {"Lib_Cur", "FRF Franc fran\u00e7ais"},
                                                 {"Lib_HT", "Montant HT"},
                                                 {"Lib_Taxe", "TVA (20,6 %)"},
                                                 {"Lib_TTC", "Montant TTC"},
                                                 {"Lib_Memory", "Caisse"},
                                                 {"Lib_NbrDec", "2"}};
        TCalc calc(dir_->Path());
        // Before it is first shown, let alone activated, the window holds the stored texts.
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(calc.findChild<QLabel*>(it.key())->text(), it.value());
        for (QLabel* label : calc.findChildren<QLabel*>())
            label->installEventFilter(&firstPaint);
        calc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calc));
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(firstPaint.texts.value(it.key()), it.value());
        for (const QString& text : firstPaint.texts)
            QVERIFY2(!text.contains(QLatin1String("xxxx")) && text != QLatin1String("Currency"), qPrintable(text));
    }

    void helpKeysLeaveTheCalculatorAsItWas() {
        auto calc = Open();
        Type(*calc, QStringLiteral("12"));
        messages_->Expect(
            QStringLiteral("Devical : le convertisseur euro qui compte juste, au centime près.\n\n"
                           "Merci à celles et ceux qui l'utilisent chaque jour."));
        Press(*calc, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);  // the manual (absent here), then the credit
        // A FIFO in the manual's place is refused by name, never handed to the desktop to hang on.
        ::mkfifo(QFile::encodeName(dir_->Path() + "Devical.html").constData(), 0644);
        messages_->Expect(QStringLiteral("Ne peut ouvrir le fichier ") + dir_->Path() + "Devical.html");
        Press(*calc, Qt::Key_F1);
        QSignalSpy about(calc.get(), &TCalc::aboutRequested);
        Type(*calc, QStringLiteral("y"));
        QCOMPARE(about.count(), 1);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("12"));
        QCOMPARE(QApplication::focusWidget(), calc->findChild<QWidget*>("ButtonEgal"));
    }

    // Without a tray nothing would bring a hidden window back: it waits on the taskbar.
    void withoutATrayTheWindowIsMinimisedNotHidden_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("close box") << 0;
        QTest::newRow("hidden start") << 2;
    }
    void withoutATrayTheWindowIsMinimisedNotHidden() {
        QFETCH(int, way);
        devical::platform::OverrideTrayAvailable(false);
        auto calc = way == 2 ? std::make_unique<TCalc>(dir_->Path()) : Open();
        if (way == 0) calc->close();
        if (way == 2) calc->StartHidden();
        QVERIFY(calc->isVisible() && calc->isMinimized());
    }

    // A panel that starts after the program: the close box minimises until the tray comes,
    // which then gets the icon.
    void aTrayThatComesLaterGetsTheIcon() {
        devical::platform::OverrideTrayAvailable(false);
        auto calc = Open();
        calc->close();
        QVERIFY(calc->isMinimized() && !calc->findChild<QSystemTrayIcon*>());
        devical::platform::OverrideTrayAvailable(true);
        calc->findChild<devical::platform::TrayIcon*>()->LookForTray();  // as its next look does
        QVERIFY(calc->findChild<QSystemTrayIcon*>()->isVisible());
    }

    void theAboutBoxClosesWithEscape() {
        devical::app::TInfo about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QVERIFY(about.findChild<QLabel*>("Connect_Mail")->text().endsWith(QLatin1String("@example.org")));
    }

    // The about box's links, reached by Tab from its last control, read as links by their
    // text, and opened by Enter and by Space.
    void theAboutBoxLinksWorkFromTheKeyboard() {
        devical::app::TInfo about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        for (const char* scheme : {"mailto", "https"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "OpenedLink");
        about.findChild<QWidget*>("Bt_Close")->setFocus();
        QStringList spoken;
        for (const Qt::Key press : {Qt::Key_Return, Qt::Key_Space}) {
            QTest::keyClick(about.windowHandle(), Qt::Key_Tab);
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
            if (reader->role() == QAccessible::Link) spoken << reader->text(QAccessible::Name);
            QTest::keyClick(about.windowHandle(), press);
        }
        QCOMPARE(spoken, (QStringList{about.findChild<QLabel*>("Connect_Mail")->text(),
                                      about.findChild<QLabel*>("Connect_Web2")->text()}));
        QCOMPARE(openedLinks_, (QStringList{"mailto:devical@example.org", "https://devical.example.org/"}));
    }

    // The arguments after the program's name, then: hidden, shown, help or version, and the options not known.
    void startOptionsStartAsUsualUnlessKnown_data() {
        QTest::addColumn<QString>("row");
        for (const char* row :
             {"|shown", "/M|hidden", "/m|hidden", "x /M|shown", "-m|hidden", "--minimized|hidden", "-M|shown M",
              "-x -m|hidden x", "-platform offscreen -style fusion|shown platform style",
              "-platform xcb /M|shown platform", "--help|help", "-h|help", "--help-all|help", "-M --help|help M",
              "--version|version"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }
    void startOptionsStartAsUsualUnlessKnown() {
        QFETCH(QString, row);
        const auto options = devical::app::ReadStartOptions(QStringList{"devical"} +
                                                            row.section('|', 0, 0).split(' ', Qt::SkipEmptyParts));
        const char* const answers[] = {options.startHidden ? "hidden" : "shown", "help", "version"};
        QCOMPARE(QStringList(answers[static_cast<int>(options.answer)]) + options.unknown,
                 row.section('|', 1).split(' '));
    }

    void startUpNeedsTheLanguageFileThenTheSettingsFile() {
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()), QString());
        QFile::rename(dir_->Path() + "DEVICAL.INI", dir_->Path() + "devical.ini");  // any letter case
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()), QString());
        QFile::remove(dir_->Path() + "devical.ini");
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()),
                 QStringLiteral("Ce logiciel ne fonctionne pas sans le fichier Devical.Ini"));
        QFile::remove(dir_->Path() + "DEVICAL.LAN");
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()),
                 QStringLiteral("Ce logiciel ne fonctionne pas sans le fichier Devical.Lan"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
