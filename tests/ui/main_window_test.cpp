// The main window used as a person would: keys typed at the window, clicks on controls,
// and what the boxes, labels, clipboard and settings file then hold.
#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QtTest>
#include <memory>

#include "app/Info1.h"
#include "app/startup.h"
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
    static void Type(TCalc& calc, const QString& keys) { TypeAt(calc.windowHandle(), keys); }
    static void Press(TCalc& calc, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(calc.windowHandle(), key, modifiers);
    }
    template <typename W = QWidget>
    static void Click(TCalc& calc, const char* name) {
        QTest::mouseClick(calc.findChild<W*>(name), Qt::LeftButton);
    }

private slots:
    void init() {
        UseLocale(QLocale::French, QLocale::France);
        dir_ = std::make_unique<TestProgramDirectory>();
        messages_ = std::make_unique<MessageRecorder>();
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() {
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

        messages_->Expect(QStringLiteral("Ecarts de conversion (Centimes)\n\nMontant HT = -3\nTVA (20,6 %) = 0\n"
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
        Press(*calc, Qt::Key_1, Qt::ControlModifier);  // not the keypad
        QCOMPARE(calc->State().BoxUnderEntry, 4);
    }

    void shiftEscapeHidesTheWindowAndClearsAllBoxes() {
        auto calc = Open();
        Type(*calc, QStringLiteral("42="));
        Press(*calc, Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(!calc->isVisible());
        QCOMPARE(Boxes(*calc), QStringList(6, QStringLiteral("0")));
    }

    void closingByTheFrameHidesAndShowingAgainKeepsTheAmounts() {
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

    void aStoredSizeOutOfRangeIsHeldAndRewritten() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Size=1", "Size=5")
                                       .replace("CaseEnSaisie=1", "CaseEnSaisie=7"));
        auto calc = Open();
        QCOMPARE(calc->height(), 75);
        QCOMPARE(dir_->Setting("Windows", "Size"), QByteArray("3"));
        QCOMPARE(calc->State().BoxUnderEntry, 1);  // 7 selects nothing
        QCOMPARE(dir_->Setting("Windows", "CaseEnSaisie"), QByteArray("7"));
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
        // What choosing a currency in the rate list leaves behind.
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings)
                                       .replace("Title=FRF Franc fran\xe7" "ais", "Title=DEM Mark")
                                       .replace("Rate=6,55957", "Rate=1,95583"));
        calc->State().CurrencyChanged = true;
        calc->FormActivate();
        QCOMPARE(Boxes(*calc), (QStringList{"29,81", "15,24", "6,14", "3,14", "35,95", "18,38"}));
        QCOMPARE(calc->State().BoxUnderEntry, 1);
        QVERIFY(!calc->State().CurrencyChanged);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("29,81"));
    }

    void aNewTaxRateIsCarriedIntoTheColumn() {
        auto calc = Open();
        Type(*calc, QStringLiteral("100="));
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Rate=20,6", "Rate=5,5"));
        calc->State().TaxChanged = true;
        calc->FormActivate();
        QCOMPARE(Boxes(*calc), (QStringList{"100", "15,24", "5,5", "0,84", "105,5", "16,08"}));
    }

    void anUnreadableRateStopsTheActivationWithItsMessage() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Rate=6,55957", "Rate=six"));
        messages_->Expect(QStringLiteral("'six' n'est pas une valeur flottante correcte"));
        auto calc = Open();
        QCOMPARE(calc->findChild<QLabel*>("Lib_Taxe")->text(), QStringLiteral("TVA (20,6 %)"));  // done before
        QCOMPARE(calc->findChild<QLabel*>("Lib_NbrDec")->text(), QStringLiteral("Décimales"));   // not reached
    }

    void comingBackFromAMessageBoxIsNoNewActivation() {
        auto calc = Open();
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings).replace("Lib_HT=Montant HT", "Lib_HT=Net"));
        auto* box = new QMessageBox(QMessageBox::Information, "Devical", "report", QMessageBox::Ok, calc.get());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::ApplicationModal);  // as the program's boxes are
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
        QCOMPARE(calc->findChild<QLabel*>("Cur_HT")->toolTip(), QStringLiteral("(Ctrl+Num 1)"));
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

    void helpKeysLeaveTheCalculatorAsItWas() {
        auto calc = Open();
        Type(*calc, QStringLiteral("12"));
        messages_->Expect(QStringLiteral("Devical : le convertisseur euro qui compte juste, au centime près.\n\n"
                                         "Merci à celles et ceux qui l'utilisent chaque jour."));
        Press(*calc, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);  // the manual (absent here), then the credit
        QSignalSpy about(calc.get(), &TCalc::aboutRequested);
        Type(*calc, QStringLiteral("y"));
        QCOMPARE(about.count(), 1);
        QCOMPARE(Box(*calc, "Cur_HT"), QStringLiteral("12"));
        QCOMPARE(QApplication::focusWidget(), calc->findChild<QWidget*>("ButtonEgal"));
    }

    void theAboutBoxClosesWithEscape() {
        devical::app::TInfo about;
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QVERIFY(about.findChild<QLabel*>("Connect_Mail")->text().endsWith(QLatin1String("@example.org")));
    }

    void startUpNeedsTheLanguageFileThenTheSettingsFile() {
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()), QString());
        QFile::rename(dir_->Path() + "DEVICAL.INI", dir_->Path() + "devical.ini");  // any letter case
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()), QString());
        QFile::remove(dir_->Path() + "devical.ini");
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()),
                 QStringLiteral("This soft don't run without the file Devical.Ini"));
        QFile::remove(dir_->Path() + "DEVICAL.LAN");
        QCOMPARE(devical::app::MissingFileMessage(dir_->Path()),
                 QStringLiteral("This soft don't run without the file Devical.Lan "));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
