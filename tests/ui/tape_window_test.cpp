// The paper tape's window used as a person would: opened from the calculator, typed in,
// its lines recalled, copied, saved and cleared.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QTimer>
#include <QtTest>

#include "windows_fixture.h"

using devical::app::DevicalWindows;
using devical::platform::MessageAnswer;
using devical::ui::TTape;
using namespace devical::testing;

class TapeWindowTest : public QObject, WindowsFixture {
    Q_OBJECT

private:
    DevicalWindows& Open() {
        OpenWindows();
        BackToMain();
        windows_->Calc.Tape().SetClock([] { return std::string("2026-12-08 10:00:00"); });
        return *windows_;
    }
    // The amount, key and line of each row, as shown.
    static QStringList Rows(const TTape& tape) {
        QStringList rows;
        const QAbstractItemModel* model = tape.ListView1->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 6; ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    static void Click(TTape& tape, int row, Qt::KeyboardModifiers modifiers = {}) {
        const QRect place = tape.ListView1->visualRect(tape.ListView1->model()->index(row, 0));
        QTest::mouseClick(tape.ListView1->viewport(), Qt::LeftButton, modifiers, place.center());
    }

private slots:
    void init() {
        UseLocale(QLocale::French, QLocale::France);
        StartFixture();
    }
    void cleanup() {
        const QString problems = EndFixture();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // R opens the tape; the calculator's keys typed in it work the calculator, and each line
    // comes in as it is printed, the newest current.
    void followsTheCalculatorTypedInIt() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+r"));
        TTape& tape = w.Tape();
        QVERIFY(tape.isVisible());
        QCOMPARE(Rows(tape), QStringList({"100,00|+|HT|FRF||"}));
        QTest::keyClicks(tape.ListView1, QStringLiteral("20="));
        QCOMPARE(Rows(tape), QStringList({"100,00|+|HT|FRF||", "20,00|=|HT|FRF||", "120,00||HT|FRF|18,29|EUR"}));
        QCOMPARE(tape.ListView1->currentIndex().row(), 2);
        QCOMPARE(w.Calc.boxes_[0]->text(), QStringLiteral("120"));
    }

    // As MR: the figure of the box's column, a result's converted amount in the other one.
    void recallsALineIntoTheBoxUnderEntry() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+20="));
        w.Calc.Euro_HTClick();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("r"));
        TTape& tape = w.Tape();
        Click(tape, 2);
        QCOMPARE(w.Calc.boxes_[1]->text(), QStringLiteral("18,29"));
        QTest::keyClick(tape.ListView1, Qt::Key_Up);
        QTest::keyClick(tape.ListView1, Qt::Key_Return);
        QCOMPARE(w.Calc.boxes_[1]->text(), QStringLiteral("20,00"));
        QTest::keyClick(tape.ListView1, Qt::Key_Up);
        QTest::keyClick(tape.ListView1, Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter alike
        QCOMPARE(w.Calc.boxes_[1]->text(), QStringLiteral("100,00"));
    }

    // Each of the calculator's characters, and Backspace ("<"), typed in the list: the box under entry.
    void everyCalculatorKeyTypedInTheListWorksTheCalculator_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        for (const char* row :
             {"3x4=|12", "3*4-2=|10", "9/4=|2,25", "1.5+1,5=|3", "200+10%=|220", "1234567890|1234567890", "56<|5"})
            QTest::newRow(row) << QString::fromLatin1(row).section('|', 0, 0).replace('<', '\b')
                               << QString::fromLatin1(row).section('|', 1);
    }
    void everyCalculatorKeyTypedInTheListWorksTheCalculator() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("r"));
        QTest::keyClicks(w.Tape().ListView1, typed);
        QCOMPARE(w.Calc.boxes_[0]->text(), shown);
    }

    // A new line while another is being read is said without its time.
    void aNewLineIsSaidWithoutItsTime() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+20=r"));
        TTape& tape = w.Tape();
        QVERIFY(QTest::qWaitForWindowActive(&tape));
        QTest::keyClick(tape.ListView1, Qt::Key_Up);
        QTest::keyClicks(tape.ListView1, QStringLiteral("5+"));
        QStringList said;
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&tape);
        for (int i = 0; i < window->childCount(); ++i)
            if (window->child(i)->role() == QAccessible::Notification)
                said << window->child(i)->text(QAccessible::Name);
        QCOMPARE(said, QStringList{"5,00, +, HT, FRF"});
    }

    void copiesAndSavesTheLines() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+20=r"));
        TTape& tape = w.Tape();
        // The amounts on the right, in their cells and titles.
        QString aligned;
        for (int column = 0; column < 7; ++column)
            for (const QVariant& alignment :
                 {tape.ListView1->model()->index(2, column).data(Qt::TextAlignmentRole),
                  tape.ListView1->model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)})
                aligned += alignment.value<Qt::Alignment>() & Qt::AlignRight ? 'R' : 'L';
        QCOMPARE(aligned, QStringLiteral("RRLLLLLLRRLLLL"));

        // A line picked with Ctrl is not recalled; the lines copy in the tape's order; the
        // current line, unpicked, copies alone.
        Click(tape, 2);
        Click(tape, 0, Qt::ControlModifier);
        QTest::keyClick(tape.ListView1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("100,00\t+\tHT\tFRF\t\t\t2026-12-08 10:00:00\n"
                                "120,00\t\tHT\tFRF\t18,29\tEUR\t2026-12-08 10:00:00\n"));
        QCOMPARE(w.Calc.boxes_[0]->text(), QStringLiteral("120,00"));
        Click(tape, 1);
        Click(tape, 1, Qt::ControlModifier);
        QTest::keyClick(tape.ListView1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("20,00\t=\tHT\tFRF\t\t\t2026-12-08 10:00:00\n"));

        Click(tape, 0);
        Click(tape, 1, Qt::ShiftModifier);
        QCOMPARE(w.Calc.boxes_[0]->text(), QStringLiteral("100,00"));  // picked, not recalled
        QTest::keyClick(tape.ListView1, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("100,00\t+\tHT\tFRF\t\t\t2026-12-08 10:00:00\n"
                                                                   "20,00\t=\tHT\tFRF\t\t\t2026-12-08 10:00:00\n"));
        tape.Bt_Copy->click();
        QCOMPARE(QApplication::clipboard()->text().count(QLatin1Char('\n')), 3);

        messages_->ExpectDialog(QStringLiteral("SaveDialog"));
        QTimer::singleShot(0, this, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            dialog->selectFile(dir_->Path() + QStringLiteral("day"));
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        });
        tape.Bt_Save->click();
        QCOMPARE(dir_->Read(QStringLiteral("day.csv")), QByteArray("Montant;Touche;Ligne;Devise;Converti;Devise;Heure\n"
                                                                   "100,00;+;HT;FRF;;;2026-12-08 10:00:00\n"
                                                                   "20,00;=;HT;FRF;;;2026-12-08 10:00:00\n"
                                                                   "120,00;;HT;FRF;18,29;EUR;2026-12-08 10:00:00\n"));
        // Whatever filter was chosen, a name ending in ".csv" is CSV, and any other is text.
        QVERIFY(tape.SaveTo(dir_->Path() + QStringLiteral("DAY.CSV")));
        QCOMPARE(dir_->Read(QStringLiteral("DAY.CSV")), dir_->Read(QStringLiteral("day.csv")));
        QVERIFY(tape.SaveTo(dir_->Path() + QStringLiteral("day.txt")));
        QCOMPARE(dir_->Read(QStringLiteral("day.txt")),
                 QByteArray("100,00  +  HT  FRF              2026-12-08 10:00:00\n"
                            " 20,00  =  HT  FRF              2026-12-08 10:00:00\n"
                            "120,00     HT  FRF  18,29  EUR  2026-12-08 10:00:00\n"));
    }

    void clearsAfterAQuestion() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("1+r"));
        TTape& tape = w.Tape();
        const QString question = QStringLiteral("Effacer toute la bande de calcul ?");
        messages_->Expect(question, MessageAnswer::Cancel);
        QTest::keyClick(tape.ListView1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(Rows(tape).size(), 1);
        messages_->Expect(question, MessageAnswer::Ok);
        tape.Bt_Clear->click();
        QVERIFY(Rows(tape).isEmpty());
        QCOMPARE(dir_->Read(QStringLiteral("Tape.txt")), QByteArray());
    }
};

QTEST_MAIN(TapeWindowTest)
#include "tape_window_test.moc"
