// The paper tape's window used as a person would: opened from the calculator, typed in,
// its lines recalled, copied, saved and cleared.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
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
    static QString Poppler(const char* tool, const QStringList& arguments) {
        QProcess process;
        process.start(QString::fromLatin1(tool), arguments);
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // The document's text, a line each, its spaces run together.
    QStringList PdfLines(const QString& name) const {
        QStringList lines;
        for (const QString& line : Poppler("pdftotext", {"-layout", dir_->Path() + name, "-"}).split('\n'))
            if (!line.simplified().isEmpty()) lines << line.simplified();
        return lines;
    }
    QString PdfInfo(const QString& name, const char* field) const {
        const auto found = QRegularExpression(QStringLiteral("^%1: *(.*)$").arg(QLatin1String(field)),
                                              QRegularExpression::MultilineOption)
                               .match(Poppler("pdfinfo", {dir_->Path() + name}));
        return found.captured(1).trimmed();
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

    // Ctrl+Shift+P keeps the tape as a PDF that reads as the printed roll: the heading, each
    // line in its columns with the amounts flush right and the results in bold, a figure as
    // long as the calculator makes whole, the page's number; the lines picked alone when
    // several are; pages on the paper of the user's country.
    void keepsTheTapeAsAPdf() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+20=12345678901234567890=r"));
        TTape& tape = w.Tape();
        messages_->ExpectDialog(QStringLiteral("PdfDialog"));
        QTimer::singleShot(0, this, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(dir_->Path() + QStringLiteral("day"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(tape.ListView1, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(PdfLines(QStringLiteral("day.pdf")),
                 QStringList({"Devical – Bande de calcul", "08/12/2026 10:00", "Devise : FRF, 1 € = 6,55957",
                              "Taxe : 20,6 %", "Montant Touche Ligne Devise Converti Devise Heure",
                              "100,00 + HT FRF 2026-12-08 10:00:00", "20,00 = HT FRF 2026-12-08 10:00:00",
                              "120,00 HT FRF 18,29 EUR 2026-12-08 10:00:00",
                              "1,23456789012346E19 = HT FRF 2026-12-08 10:00:00",
                              "1,23456789012346E19 HT FRF 1,88208661562185E18 EUR 2026-12-08 10:00:00", "Page 1 / 1"}));
        QCOMPARE(PdfInfo(QStringLiteral("day.pdf"), "Page size"), QStringLiteral("595 x 842 pts (A4)"));
        const QString words = Poppler("pdftotext", {"-bbox", dir_->Path() + QStringLiteral("day.pdf"), "-"});
        const auto rightEdge = [&words](const QString& word) {
            const auto found = QRegularExpression(QStringLiteral("xMax=\"([0-9.]+)\"[^>]*>") + word + "<").match(words);
            return found.hasMatch() ? found.captured(1).toDouble() : -1.0;
        };
        QVERIFY(rightEdge("100,00") > 0);
        QCOMPARE(qRound(rightEdge("20,00") * 10), qRound(rightEdge("100,00") * 10));
        QCOMPARE(qRound(rightEdge("120,00") * 10), qRound(rightEdge("100,00") * 10));
        const QString fonts = Poppler("pdftohtml", {"-xml", "-i", "-stdout", dir_->Path() + QStringLiteral("day.pdf")});
        QVERIFY(fonts.contains(QStringLiteral("<b>120,00</b>")) && !fonts.contains(QStringLiteral("<b>100,00")));

        Click(tape, 0);
        Click(tape, 2, Qt::ControlModifier);
        QVERIFY(tape.SavePdf(dir_->Path() + QStringLiteral("picked.pdf")));
        QCOMPARE(PdfLines(QStringLiteral("picked.pdf")).mid(5, 2),
                 QStringList({"100,00 + HT FRF 2026-12-08 10:00:00", "120,00 HT FRF 18,29 EUR 2026-12-08 10:00:00"}));

        for (int line = 0; line < 120; ++line)
            QTest::keyClicks(tape.ListView1, QStringLiteral("1+"));
        UseLocale(QLocale::English, QLocale::UnitedStates);
        Click(tape, 0);  // one line picked: the whole tape
        QVERIFY(tape.SavePdf(dir_->Path() + QStringLiteral("long.pdf")));
        QCOMPARE(PdfInfo(QStringLiteral("long.pdf"), "Page size"), QStringLiteral("612 x 792 pts (letter)"));
        const QStringList lines = PdfLines(QStringLiteral("long.pdf"));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^1,00 \\+ HT FRF"))).size(), 120);
        const QString pages = PdfInfo(QStringLiteral("long.pdf"), "Pages");
        QVERIFY(pages.toInt() > 1);
        QVERIFY(lines.contains(QStringLiteral("Page %1 / %1").arg(pages)));
        // Nothing runs into a page's bottom margin of 15 mm, or off the page.
        double lowest = 0;
        for (const auto& word : QRegularExpression(QStringLiteral("yMax=\"([0-9.]+)\""))
                                    .globalMatch(Poppler("pdftotext", {"-bbox", dir_->Path() + "long.pdf", "-"})))
            lowest = std::max(lowest, word.captured(1).toDouble());
        QVERIFY2(lowest < 792 - 42.5, qPrintable(QString::number(lowest)));
    }

    // Ctrl+P prints through the desktop's print dialog: here to a file, as a person would pick,
    // and only the pages asked for there.
    void printsThroughThePrintDialog() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100+20=r"));
        TTape& tape = w.Tape();
        for (int line = 0; line < 120; ++line)
            QTest::keyClicks(tape.ListView1, QStringLiteral("1+"));
        messages_->ExpectDialog(QStringLiteral("PrintDialog"));
        QTimer::singleShot(0, this, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("printRange"));
            QVERIFY(name && range && range->isEnabled());
            name->setText(dir_->Path() + QStringLiteral("printed.pdf"));
            range->setChecked(true);
            for (const char* end : {"to", "from"})
                dialog->findChild<QSpinBox*>(QLatin1String(end))->setValue(2);
            static_cast<QDialog*>(dialog)->accept();  // as its Print button does
        });
        QTest::keyClick(tape.ListView1, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(PdfInfo(QStringLiteral("printed.pdf"), "Pages"), QStringLiteral("1"));
        const QStringList lines = PdfLines(QStringLiteral("printed.pdf"));
        QCOMPARE(lines.first(), QStringLiteral("Montant Touche Ligne Devise Converti Devise Heure"));
        QVERIFY(lines.contains(QStringLiteral("1,00 + HT FRF 2026-12-08 10:00:00")));
        QVERIFY(lines.last().startsWith(QStringLiteral("Page 2 / ")));
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
