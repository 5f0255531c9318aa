// Every window by keyboard alone: keys pressed from each focus position, and what shows.
#include <sys/stat.h>
#include <QtTest>

#include "windows_fixture.h"

class KeyboardTest : public QObject, devical::testing::WindowsFixture {
    Q_OBJECT
    // Keys by name ("Tab", "Alt+Down", "d"), at the window given or else at the active one.
    static void Press(const QString& keys, QWidget* window = nullptr) {
        for (const QString& name : keys.split(' ')) {
            QWindow* at = (window ? window : qApp->activeWindow())->windowHandle();
            if (name.size() == 1) {  // a character as typed, its case kept
                QTest::keyClick(at, name.at(0).toLatin1());
                continue;
            }
            const QKeyCombination key = QKeySequence::fromString(name)[0];
            QTest::keyClick(at, key.key(), key.keyboardModifiers());
        }
    }

    static void Row(const QString& name, const QString& keys, const QString& shown) {
        QTest::newRow(qPrintable(name)) << keys << shown;
    }

private slots:
    void init() {
        StartFixture();
        for (const QString name : {"Rates", "Taxes", "Memory"})
            QFile::copy(DEVICAL_DATA_DIR "/" + name + ".FR", dir_->Path() + name + ".txt");
        OpenWindows();
        BackToMain();
    }
    void cleanup() { QVERIFY2(EndFixture().isEmpty(), "unexpected message box"); }

    void mainWindowKeysReachEveryControl_data() {
        QTest::addColumn<QString>("keys");
        // Focus, decimals, memory, box under entry; or the language dialog, or the second help.
        QTest::addColumn<QString>("shown");
        Row("Tab reaches the globe, last", "5 Ctrl+Num++ Shift+Tab", "Bt_Langue251");
        Row("l is the globe", "l", "language");
        Row("z shows the memory as 0", "5 Ctrl+Num++ z", "ButtonEgal201");
        Row("Down steps the list", "Shift+Tab Shift+Tab Shift+Tab Shift+Tab Down", "Nb_Dec301");
        Row("Up steps it, then stops", "Shift+Tab Shift+Tab Shift+Tab Shift+Tab Up Up Up", "Nb_Dec001");
        Row("Down stops on x", "Shift+Tab Shift+Tab Shift+Tab Shift+Tab Down Down Down", "Nb_Decx01");
        Row("d then a digit, fast", "d 3", "ButtonEgal301");
        // Keys of the main keyboard for the keypad's and Insert's.
        Row("Ctrl+P is M+", "5 Ctrl+P", "ButtonEgal251");
        Row("Ctrl+M is M-", "5 Ctrl+M", "ButtonEgal2-51");
        Row("Ctrl+R is MR", "5 Ctrl+P c Ctrl+R Ctrl+P", "ButtonEgal2101");
        Row("Ctrl+6 takes the sixth box", "Ctrl+6", "ButtonEgal206");
        Row("Space takes the focused box", "Tab Tab Tab Space", "Cur_Taxe203");
        Row("Enter takes it too", "Tab Tab Enter", "Euro_HT202");
        Row("Tab reaches M+, then presses it", "5 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Space", "ButtonEgal251");
        for (const QString letter : {"a", "A", "p", "P"})
            Row(letter + " is the second help", letter, "help");
    }
    void mainWindowKeysReachEveryControl() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        auto& calc = windows_->Calc;
        // A FIFO in the second help's place: its launch is refused by name, which shows it was asked for.
        const QString help = dir_->Path() + "QWIL.html";
        ::mkfifo(QFile::encodeName(help).constData(), 0644);
        Press(keys, &calc);
        if (QWidget* list = QApplication::activePopupWidget()) Press("Return", list);  // it has the keyboard now
        QWidget* focus = QApplication::focusWidget();
        const bool language = windows_->ChxLangue().isVisible();
        const bool helped = messages_->unexpected.removeAll("Ne peut ouvrir le fichier " + help) == 1;
        QCOMPARE(helped     ? "help"
                 : language ? "language"
                            : focus->objectName() + calc.Lib_NbrDec->text() + calc.Lib_MemCur->text() +
                                  QString::number(calc.State().BoxUnderEntry),
                 shown);
        QCOMPARE(dir_->Setting("Calcul", "Nb_Dec"), calc.Lib_NbrDec->text().toLatin1());
        if (!language && calc.height() > 200)  // a ring in the palette's highlight around the focus
            QCOMPARE(calc.grab().toImage().pixelColor(focus->mapTo(&calc, QPoint(-1, 9))),
                     calc.palette().color(QPalette::Highlight));
    }

    void listsLeaveAndChooseFromEveryFocus_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");  // the row the list opens on, then the title in the settings
        for (const QString from : {"", "Tab ", "Tab Tab Tab Tab ", "Shift+Tab "}) {
            Row("rates " + from, "t Down " + from + "Return", "FRF Franc françaisGBP Livre sterling");
            Row("taxes " + from, "Alt+Num+2 End " + from + "Escape", "Sans TVATVA");
            Row("memory " + from, "m End Home " + from + "Enter", "FRF Caisse du jourFRF Caisse du jour");
        }
    }
    void listsLeaveAndChooseFromEveryFocus() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        Press(keys.section(' ', 0, 0), &windows_->Calc);
        auto* list = qobject_cast<devical::ui::ListWindow*>(QApplication::activeWindow());
        const QString opensOn = list->ListView1->currentIndex().data().toString();
        Press(keys.section(' ', 1));
        const char* section = list == &windows_->Rates() ? "Currency" : list == &windows_->Taxes() ? "Taxe" : "Memory";
        QCOMPARE(list->isVisible() ? "open" : opensOn + QString::fromLatin1(dir_->Setting(section, "Title")), shown);
    }

    void entryDialogsOpenOnTheirFirstBox_data() {
        QTest::addColumn<QString>("keys");
        for (const QString list : {"t", "Alt+Num+2", "m"})
            for (const char* keys :
                 {" End F2 Tab Escape F2", " End F2 Tab Escape Insert", " End Insert Tab Tab Escape F2", " End Ctrl+N"})
                QTest::newRow(qPrintable(list + keys)) << list + keys;
    }
    void entryDialogsOpenOnTheirFirstBox() {
        QFETCH(QString, keys);
        Press(keys.section(' ', 0, 0), &windows_->Calc);
        Press(keys.section(' ', 1));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Edit1"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
