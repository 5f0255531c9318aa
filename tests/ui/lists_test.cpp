// The currency, tax and saved-amount lists, the memory register and the title question,
// used through the windows as a person would, with the files checked byte for byte.
#include <sys/stat.h>

#include <QAccessible>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "rates/rate_history.h"
#include "ui/common/colours.h"
#include "windows_fixture.h"

using devical::app::DevicalWindows;
using devical::platform::MessageAnswer;
using devical::ui::ListWindow;
using namespace devical::testing;

namespace {

// Lines as the file holds them: Windows-1252 bytes, each ending in CR LF.
QByteArray Crlf(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* line : lines)
        bytes += QByteArray(line) + "\r\n";
    return bytes;
}

const QByteArray kRates = Crlf({"DEM Mark allemand", "1,95583",
                                "FRF Franc fran\xe7"
                                "ais",
                                "6,55957", "USD Dollar", "1,08", "dem minuscule", "2", "GBP Livre", "0,85"});
const QByteArray kTaxes = Crlf({"TVA normale", "20,6",
                                "TVA r\xe9"
                                "duite",
                                "5,5"});
const QByteArray kMemory = Crlf({"DEM Loyer", "1000", "511,29", "FRF Caisse", "100", "15,24"});

// The palette for the rest of the test, the one before coming back after it.
auto UsingPalette(const QPalette& palette) {
    QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    return qScopeGuard([before] { QApplication::setPalette(before); });
}

}  // namespace

class ListsTest : public QObject, WindowsFixture {
    Q_OBJECT

private:
    DevicalWindows& Open() {
        OpenWindows();
        BackToMain();
        return *windows_;
    }
    // What the list shows in a cell.
    static QString Shown(const ListWindow& list, int row, int column) {
        return list.ListView1->model()->index(row, column).data().toString();
    }
    static int RowCount(const ListWindow& list) { return list.ListView1->model()->rowCount(); }
    static QStringList Titles(const ListWindow& list) {
        QStringList titles;
        for (int i = 0; i < RowCount(list); ++i)
            titles << Shown(list, i, 0);
        return titles;
    }
    // The place of the row shown with that title.
    static QRect RowPlace(const ListWindow& list, const QString& title) {
        const int row = static_cast<int>(Titles(list).indexOf(title));
        return row < 0 ? QRect() : list.ListView1->visualRect(list.ListView1->model()->index(row, 0));
    }
    static QString SelectedTitle(const ListWindow& list) {
        const QModelIndexList selected = list.ListView1->selectionModel()->selectedRows();
        return selected.size() == 1 ? selected.first().data().toString() : QString();
    }
    static void Select(ListWindow& list, const QString& title) {
        const QRect place = RowPlace(list, title);
        QVERIFY2(place.isValid(), qPrintable(title));
        QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(SelectedTitle(list), title);
    }
    static void Key(ListWindow& list, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(list.ListView1, key, modifiers);
    }
    static void Retype(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }
    // Text arriving as a person or an input method types it, character by character.
    static void TypeText(QLineEdit* box, const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }
    static void ExpectCentred(QWidget* window) {
        const QPoint offset = window->frameGeometry().center() - window->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(window->objectName()));
    }
    QString Box(const char* name) const { return windows_->Calc.findChild<QLabel*>(name)->text(); }
    void TypeAtMain(const QString& keys) { TypeAt(windows_->Calc.windowHandle(), keys); }

private slots:
    void init() {
        UseLocale(QLocale::French, QLocale::France);
        StartFixture();
        dir_->Write("Rates.txt", kRates);
        dir_->Write("Taxes.txt", kTaxes);
        dir_->Write("Memory.txt", kMemory);
    }
    void cleanup() {
        const QString problems = EndFixture();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void listsLoadSortedWithLockMarksByExactCode() {
        auto& w = Open();
        QCOMPARE(Titles(w.Rates()),
                 (QStringList{"DEM Mark allemand", "dem minuscule", "FRF Franc français", "GBP Livre", "USD Dollar"}));
        w.Rates().ShowList();
        Select(w.Rates(), "dem minuscule");  // not a locked code: lower case
        Key(w.Rates(), Qt::Key_F2);
        QVERIFY(w.SRates().isVisible());
        w.SRates().BitBtn2Click();
        Select(w.Rates(), "DEM Mark allemand");
        w.Rates().Bt_EditClick();
        w.Rates().Bt_DelClick();
        QVERIFY(!w.SRates().isVisible());  // a locked row: no dialog, no question
        QCOMPARE(RowCount(w.Rates()), 5);
    }

    // Labels, keys, pictures and padlocks read at 4.5:1 on their background.
    void everythingReadsOnALightAndADarkDesktop_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << QPalette(QColor(45, 45, 45));  // white text
    }
    void everythingReadsOnALightAndADarkDesktop() {
        QFETCH(QPalette, palette);
        const auto restore = UsingPalette(palette);
        auto& w = Open();
        QStringList faint;
        auto check = [&faint](const QWidget* c, const QColor& ink, QPalette::ColorRole background) {
            const double ratio = devical::ui::ContrastRatio(ink, c->palette().color(background));
            if (!ink.isValid() || ratio < 4.5) faint << c->objectName() + QStringLiteral(" %1:1").arg(ratio, 0, 'f', 2);
        };
        for (QWidget* window : {static_cast<QWidget*>(&w.Calc), static_cast<QWidget*>(&w.Info())}) {
            for (QLabel* label : window->findChildren<QLabel*>())
                if (!label->text().isEmpty())
                    check(label, label->palette().color(QPalette::WindowText), QPalette::Window);
            for (QPushButton* key : window->findChildren<QPushButton*>())
                check(key, key->palette().color(QPalette::ButtonText), QPalette::Button);
            for (QToolButton* b : window->findChildren<QToolButton*>())
                check(b, Ink(b->icon(), b->iconSize()), b->autoRaise() ? QPalette::Window : QPalette::Button);
        }
        for (QToolButton* drawn : {w.Tape().Bt_Copy, w.Tape().Bt_Exit, w.Rates().Bt_Exit})  // the panels' own pictures
            check(drawn, Ink(drawn->icon(), drawn->iconSize()), QPalette::Window);
        const QTreeView* list = w.Rates().ListView1;  // locked and open padlocks
        for (int row = 0; row < RowCount(w.Rates()); ++row)
            check(list, Ink(list->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>(), {16, 16}),
                  QPalette::Base);
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QLatin1Char(' '))));
    }

    // A selected row's text on its highlight at 4.5:1 (lists, tape, language choice), and the
    // size handle as drawn at 3:1 on the window beside it.
    void selectionsAndTheSizeHandleStandOut_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QPalette dark(QColor(0xfcfcfc), QColor(0x31363b), QColor(0x40464c), QColor(0x191b1d), QColor(0x2b2f33),
                      QColor(0xfcfcfc), Qt::white, QColor(0x1b1e20), QColor(0x2a2e32));
        dark.setColor(QPalette::Highlight, QColor(0x3daee9));
        QTest::newRow("dark, as Breeze Dark") << dark;  // white on its highlight
    }
    void selectionsAndTheSizeHandleStandOut() {
        QFETCH(QPalette, palette);
        const auto restore = UsingPalette(palette);
        auto& w = Open();
        QStringList faint;
        const auto check = [&faint](const QString& what, QColor a, QColor b, double least) {
            if (const double r = devical::ui::ContrastRatio(a, b); r < least)
                faint << QStringLiteral("%1 %2:1").arg(what).arg(r, 0, 'f', 2);
        };
        for (const QAbstractItemView* list : std::initializer_list<const QAbstractItemView*>{
                 w.Rates().ListView1, w.Tape().ListView1, w.ChxLangue().ListView1})
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                check(list->window()->objectName(), list->palette().color(group, QPalette::Highlight),
                      list->palette().color(group, QPalette::HighlightedText), 4.5);
        QSlider* size = w.Calc.Bar_Reduc;  // at level 1, the handle at the top
        const QImage drawn = size->grab().toImage();
        const int middle = size->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, size) / 2;
        check("Bar_Reduc", drawn.pixel(size->width() / 2, middle), drawn.pixel(0, middle), 3);
        QVERIFY2(faint.isEmpty(), qPrintable(faint.join(QLatin1Char(' '))));
    }

    void aLockedRowSaysSoToAScreenReader() {
        auto& w = Open();
        w.Rates().ShowList();  // a tree view lays out its rows, the ones a reader walks, when shown
        QCoreApplication::processEvents();
        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(w.Rates().ListView1)->tableInterface();
        QVERIFY(table);
        const auto description = [&](const char* title) {
            const int row = static_cast<int>(Titles(w.Rates()).indexOf(QString::fromUtf8(title)));
            QAccessibleInterface* cell = table->cellAt(row, 0);
            return cell ? cell->text(QAccessible::Description) : QStringLiteral("(no cell)");
        };
        QCOMPARE(description("DEM Mark allemand"), QStringLiteral("verrouill\u00e9"));
        QCOMPARE(description("dem minuscule"), QString());
    }

    void choosingACurrencyCarriesTheNewRateIntoTheMainWindow() {
        auto& w = Open();
        TypeAtMain(QStringLiteral("100="));
        TypeAtMain(QStringLiteral("t"));
        QVERIFY(w.Rates().isVisible());
        Select(w.Rates(), "DEM Mark allemand");
        Key(w.Rates(), Qt::Key_Return);
        QVERIFY(!w.Rates().isVisible());
        QCOMPARE(dir_->Setting("Currency", "Title"), QByteArray("DEM Mark allemand"));
        QCOMPARE(dir_->Setting("Currency", "Rate"), QByteArray("1,95583"));
        QCOMPARE(dir_->Read("Rates.txt"), kRates);  // left unchanged, it is not written
        BackToMain();
        QCOMPARE(Box("Euro_HT"), QStringLiteral("15,24"));
        QCOMPARE(Box("Cur_HT"), QStringLiteral("29,81"));
        QCOMPARE(w.Calc.State().BoxUnderEntry, 1);
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_Cur")->text(), QStringLiteral("DEM Mark allemand"));
    }

    void aNewCurrencyTypedInTheDialogCanBeChosenAtOnce() {
        auto& w = Open();
        TypeAtMain(QStringLiteral("100="));
        TypeAtMain(QStringLiteral("t"));
        Key(w.Rates(), Qt::Key_Insert);
        QVERIFY(w.SRates().isVisible());
        QCOMPARE(w.SRates().Edit2->text(), QStringLiteral("1"));
        Retype(w.SRates().Edit1, QStringLiteral("CHF Franc suisse"));
        Retype(w.SRates().Edit2, QStringLiteral("0.93"));
        QTest::keyClick(w.SRates().Edit2, Qt::Key_Return);
        QVERIFY(!w.SRates().isVisible());
        QCOMPARE(Titles(w.Rates()).last(), QStringLiteral("CHF Franc suisse"));  // at the end until saved
        Select(w.Rates(), "CHF Franc suisse");
        Key(w.Rates(), Qt::Key_Return);
        QCOMPARE(dir_->Setting("Currency", "Rate"), QByteArray("0,93"));
        BackToMain();
        QCOMPARE(Box("Euro_HT"), QStringLiteral("15,24"));
        QCOMPARE(Box("Cur_HT"), QStringLiteral("14,17"));
        QVERIFY(dir_->Read("Rates.txt").startsWith(Crlf({"CHF Franc suisse", "0,93", "DEM Mark allemand"})));
    }

    void everyWayOfChoosingNeedsASelectedRow() {
        auto& w = Open();
        w.Rates().ShowList();
        QCOMPARE(SelectedTitle(w.Rates()), QStringLiteral("FRF Franc français"));  // the current currency
        QTest::mouseClick(w.Rates().ListView1->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          RowPlace(w.Rates(), "FRF Franc français").center());
        QCOMPARE(SelectedTitle(w.Rates()), QString());
        for (int attempt = 0; attempt < 4; ++attempt)
            messages_->Expect(QStringLiteral("Sélectionner une monnaie avant de la valider"));
        Key(w.Rates(), Qt::Key_Return);
        QTest::keyClicks(w.Rates().ListView1, QStringLiteral("vV"));
        QTest::mouseClick(w.Rates().Bt_OK, Qt::LeftButton);
        QVERIFY(w.Rates().isVisible());
        messages_->Expect(QStringLiteral("Sélectionner une ligne avant de la modifier"));
        w.Rates().Bt_EditClick();
        messages_->Expect(QStringLiteral("Sélectionner une ligne avant de la supprimer"));
        w.Rates().Bt_DelClick();
    }

    void insertThenCancelThenExitWritesThePlaceholderInItsPlace() {
        auto& w = Open();
        w.Taxes().ShowList();
        Key(w.Taxes(), Qt::Key_Insert);
        QCOMPARE(w.STaxes().Edit1->text(), QStringLiteral("Titre taxe"));
        QTest::keyClick(w.STaxes().Edit1, Qt::Key_Escape);
        QVERIFY(!w.STaxes().isVisible());
        QCOMPARE(Titles(w.Taxes()).last(), QStringLiteral("Titre taxe"));
        Key(w.Taxes(), Qt::Key_Escape);
        QVERIFY(!w.Taxes().isVisible());
        QCOMPARE(dir_->Read("Taxes.txt"), Crlf({"Titre taxe", "0", "TVA normale", "20,6",
                                                "TVA r\xe9"
                                                "duite",
                                                "5,5"}));
        QCOMPARE(dir_->Setting("Taxe", "Title"), QByteArray("TVA"));  // leaving chooses nothing
    }

    void editingATitleResortsTheRowWithItsRate_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("rates");
        // No tax at all is a rate like any other.
        QTest::newRow("stays first") << QStringLiteral("Autre taxe") << QStringLiteral("0")
                                     << QStringList{"Autre taxe", "TVA réduite"} << QStringList{"0", "5,5"};
        QTest::newRow("goes last") << QStringLiteral("TVA zero") << QStringLiteral("20,6")
                                   << QStringList{"TVA réduite", "TVA zero"} << QStringList{"5,5", "20,6"};
    }
    void editingATitleResortsTheRowWithItsRate() {
        QFETCH(QString, title);
        QFETCH(QString, rate);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, rates);
        auto& w = Open();
        w.Taxes().ShowList();
        Select(w.Taxes(), "TVA normale");
        Key(w.Taxes(), Qt::Key_F2);
        Retype(w.STaxes().Edit1, title);
        Retype(w.STaxes().Edit2, rate);
        QTest::mouseClick(w.STaxes().BitBtn1, Qt::LeftButton);
        QCOMPARE(Titles(w.Taxes()), titles);
        QCOMPARE((QStringList{Shown(w.Taxes(), 0, 1), Shown(w.Taxes(), 1, 1)}), rates);
        QCOMPARE(SelectedTitle(w.Taxes()), title);  // the selection goes with its row
        QTest::mouseClick(w.Taxes().Bt_OK, Qt::LeftButton);
        QCOMPARE(dir_->Setting("Taxe", "Title"), title.toLatin1());
    }

    void theDialogStoresIntoItsRowWhateverHappensToTheList() {
        auto& w = Open();
        w.Taxes().ShowList();
        Select(w.Taxes(), "TVA réduite");
        Key(w.Taxes(), Qt::Key_F2);
        Key(w.Taxes(), Qt::Key_Insert);  // a new request takes the dialog over
        QCOMPARE(w.STaxes().Edit1->text(), QStringLiteral("Titre taxe"));
        Select(w.Taxes(), "TVA réduite");
        Key(w.Taxes(), Qt::Key_F2);
        Select(w.Taxes(), "Titre taxe");  // rows change under the open dialog
        messages_->Expect(QStringLiteral("Désirez-vous supprimer la ligne \"Titre taxe\" ?"), MessageAnswer::Ok);
        Key(w.Taxes(), Qt::Key_Delete);
        Retype(w.STaxes().Edit2, QStringLiteral("7"));
        w.STaxes().BitBtn1Click();
        QCOMPARE(Titles(w.Taxes()), (QStringList{"TVA normale", "TVA réduite"}));
        QCOMPARE(Shown(w.Taxes(), 1, 1), QStringLiteral("7"));

        // The row under edit is deleted meanwhile: what was typed comes back as a new row.
        Select(w.Taxes(), "TVA normale");
        Key(w.Taxes(), Qt::Key_F2);
        messages_->Expect(QStringLiteral("Désirez-vous supprimer la ligne \"TVA normale\" ?"), MessageAnswer::Ok);
        Key(w.Taxes(), Qt::Key_Delete);
        Retype(w.STaxes().Edit2, QStringLiteral("19,6"));
        w.STaxes().BitBtn1Click();
        QCOMPARE(Titles(w.Taxes()), (QStringList{"TVA réduite", "TVA normale"}));  // unsorted since the insert
        QCOMPARE(Shown(w.Taxes(), 1, 1), QStringLiteral("19,6"));

        // The list was left while the dialog stayed open: OK still stores, the next exit writes.
        Select(w.Taxes(), "TVA normale");
        Key(w.Taxes(), Qt::Key_F2);
        Key(w.Taxes(), Qt::Key_Escape);
        Retype(w.STaxes().Edit1, QStringLiteral("TVA standard"));
        w.STaxes().BitBtn1Click();
        QVERIFY(!w.STaxes().isVisible());
        w.Taxes().ShowList();
        w.Taxes().Bt_ExitClick();
        QCOMPARE(dir_->Read("Taxes.txt"), Crlf({"TVA r\xe9"
                                                "duite",
                                                "7", "TVA standard", "19,6"}));
    }

    void aDoubleClickChoosesAndBlankLinesComeBackAsTheyWere() {
        dir_->Write("Taxes.txt", kTaxes + "\r\n");  // a blank line after the last record
        auto& w = Open();
        w.Taxes().ShowList();
        QCOMPARE(Titles(w.Taxes()), (QStringList{"", "TVA normale", "TVA réduite"}));
        const QPoint place = RowPlace(w.Taxes(), QStringLiteral("TVA normale")).center();
        QTest::mouseClick(w.Taxes().ListView1->viewport(), Qt::LeftButton, {}, place);
        QTest::mouseDClick(w.Taxes().ListView1->viewport(), Qt::LeftButton, {}, place);
        QVERIFY(!w.Taxes().isVisible());
        QCOMPARE(dir_->Setting("Taxe", "Title"), QByteArray("TVA normale"));
        QCOMPARE(dir_->Read("Taxes.txt"), kTaxes + "\r\n");
    }

    // A list that cannot be read (here a FIFO, which would block a reader) is reported as it
    // opens, its rows kept; the window is usable and nothing waits.
    void aListThatCannotBeReadIsReportedAndTheWindowStays() {
        auto& w = Open();
        w.Taxes().ShowList();
        const QStringList rows = Titles(w.Taxes());
        w.Taxes().Bt_ExitClick();
        QVERIFY(QFile::remove(dir_->Path() + "Taxes.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir_->Path() + "Taxes.txt").constData(), 0644), 0);
        messages_->Expect(QStringLiteral("Ne peut lire le fichier ") + dir_->Path() +
                          QStringLiteral("Taxes.txt\nce n'est pas un fichier ordinaire"));
        w.Taxes().ShowList();
        QVERIFY(w.Taxes().isVisible());
        QCOMPARE(Titles(w.Taxes()), rows);
    }

    void deletingAsksAndCancelKeepsTheRow() {
        auto& w = Open();
        w.Rates().ShowList();
        Select(w.Rates(), "USD Dollar");
        messages_->Expect(QStringLiteral("Désirez-vous supprimer la ligne \"USD Dollar\" ?"), MessageAnswer::Cancel);
        Key(w.Rates(), Qt::Key_Delete);
        QVERIFY(Titles(w.Rates()).contains(QStringLiteral("USD Dollar")));
    }

    void aRateThatIsNotANumberCannotBeChosen() {
        dir_->Write("Rates.txt", Crlf({"XYZ Test", "1.2.3"}));
        auto& w = Open();
        w.Rates().ShowList();
        Select(w.Rates(), "XYZ Test");
        messages_->Expect(QStringLiteral("'1,2.3' n'est pas une valeur flottante correcte"));  // as listed
        Key(w.Rates(), Qt::Key_Return);
        QVERIFY(w.Rates().isVisible());
        QCOMPARE(dir_->Setting("Currency", "Title"), QByteArray("FRF Franc fran\xe7"
                                                                "ais"));
        QVERIFY(!w.Calc.State().CurrencyChanged);
    }

    void choosingATaxWritesItsSectionOnly() {
        auto& w = Open();
        TypeAtMain(QStringLiteral("100="));
        TypeAtMain(QStringLiteral("2"));  // typing after the result...
        QTest::keyClick(w.Calc.windowHandle(), Qt::Key_2, Qt::AltModifier | Qt::KeypadModifier);
        QVERIFY(w.Taxes().isVisible());
        Select(w.Taxes(), "TVA réduite");
        QTest::mouseClick(w.Taxes().Bt_OK, Qt::LeftButton);
        QCOMPARE(dir_->Setting("Taxe", "Title"), QByteArray("TVA r\xe9"
                                                            "duite"));
        QCOMPARE(dir_->Setting("Taxe", "Rate"), QByteArray("5,5"));
        QCOMPARE(dir_->Setting("Currency", "Title"), QByteArray("FRF Franc fran\xe7"
                                                                "ais"));
        BackToMain();
        QCOMPARE(Box("Cur_HT"), QStringLiteral("2"));  // ...the new tax re-evaluates it in place
        QCOMPARE(Box("Cur_Taxe"), QStringLiteral("0,11"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_Taxe")->text(), QStringLiteral("TVA réduite (5,5 %)"));
    }

    // Another writer (devical-rates, a hand edit) between two openings: the list shows its rows
    // and, left unchanged, writes nothing; rows inserted meanwhile land on the newer file, said so.
    void aListFollowsItsFileAndNeverWritesBackAnOlderOne() {
        auto& w = Open();
        TypeAtMain(QStringLiteral("t"));
        Key(w.Rates(), Qt::Key_Escape);
        const QByteArray newer = Crlf({"DEM Mark allemand", "1,95583", "USD Dollar", "1,09", "JPY Yen", "162"});
        dir_->Write("Rates.txt", newer);
        TypeAtMain(QStringLiteral("t"));
        QVERIFY(Titles(w.Rates()).contains(QStringLiteral("JPY Yen")));
        Key(w.Rates(), Qt::Key_Escape);
        QCOMPARE(dir_->Read("Rates.txt"), newer);

        TypeAtMain(QStringLiteral("t"));
        Key(w.Rates(), Qt::Key_Insert);
        Retype(w.SRates().Edit1, QStringLiteral("CHF Franc suisse"));
        w.SRates().BitBtn1Click();
        dir_->Write("Rates.txt", Crlf({"USD Dollar", "1,10"}));
        messages_->Expect(
            QStringLiteral("Le fichier %1Rates.txt a été modifié par un autre programme entre-temps : vos "
                           "modifications ont été appliquées à son nouveau contenu.")
                .arg(dir_->Path()));
        Key(w.Rates(), Qt::Key_Escape);
        QCOMPARE(dir_->Read("Rates.txt"), Crlf({"CHF Franc suisse", "1", "USD Dollar", "1,10"}));
    }

    void aListFileThatCannotBeWrittenStaysWhole() {
        auto& w = Open();
        QFile(dir_->Path() + "Rates.txt").setPermissions(QFileDevice::ReadOwner);  // made read-only
        w.Rates().ShowList();
        Key(w.Rates(), Qt::Key_Insert);
        Retype(w.SRates().Edit1, QStringLiteral("CHF Franc suisse"));
        w.SRates().BitBtn1Click();
        Select(w.Rates(), "USD Dollar");
        messages_->Expect(QStringLiteral("Ne peut écrire le fichier %1Rates.txt\nPermission denied").arg(dir_->Path()));
        Key(w.Rates(), Qt::Key_Escape);
        QVERIFY(w.Rates().isVisible());
        QCOMPARE(dir_->Read("Rates.txt"), kRates);
        QCOMPARE(Titles(w.Rates()).first(), QStringLiteral("CHF Franc suisse"));  // sorted for the save all the same
        QCOMPARE(SelectedTitle(w.Rates()), QStringLiteral("USD Dollar"));         // the selection kept its row
    }

    // Each way of choosing, in each list, with the list file read-only: the window stays open
    // with its rows, and nothing is chosen.
    void aChoiceWhoseListCannotBeWrittenKeepsTheWindowOpen_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("route");
        for (const char* list : {"Rates", "Taxes", "Memory"})
            for (const char* route : {"OK", "double-click"})  // the keys reach the same handler as OK
                QTest::addRow("%s %s", list, route) << QString::fromLatin1(list) << QString::fromLatin1(route);
    }
    void aChoiceWhoseListCannotBeWrittenKeepsTheWindowOpen() {
        QFETCH(QString, list);
        QFETCH(QString, route);
        auto& w = Open();
        ListWindow& window = list == "Rates"   ? static_cast<ListWindow&>(w.Rates())
                             : list == "Taxes" ? static_cast<ListWindow&>(w.Taxes())
                                               : static_cast<ListWindow&>(w.Memory());
        const QByteArray settings = dir_->Read("DEVICAL.INI");
        const QByteArray file = dir_->Read(list + ".txt");
        const QStringList memory = w.Memory().CurrentMemory();
        window.ShowList();
        Key(window, Qt::Key_Insert);  // a row that lives only in the window until it is written
        const int rows = RowCount(window);
        QFile::setPermissions(dir_->Path() + list + ".txt", QFileDevice::ReadOwner);
        const QString chosen = Titles(window).first();
        Select(window, chosen);
        messages_->Expect(
            QStringLiteral("Ne peut \u00e9crire le fichier %1%2.txt\nPermission denied").arg(dir_->Path(), list));
        if (route == "OK") QTest::mouseClick(window.Bt_OK, Qt::LeftButton);
        if (route == "double-click")
            QTest::mouseDClick(window.ListView1->viewport(), Qt::LeftButton, {}, RowPlace(window, chosen).center());
        QVERIFY(window.isVisible());
        QCOMPARE(RowCount(window), rows);
        QCOMPARE(dir_->Read(list + ".txt"), file);
        QCOMPARE(dir_->Read("DEVICAL.INI"), settings);
        QVERIFY(!w.Calc.State().CurrencyChanged && !w.Calc.State().TaxChanged);
        QCOMPARE(w.Memory().CurrentMemory(), memory);
    }

    void aMissingListFileIsReportedAndCreatedByTheNextSave() {
        QFile::remove(dir_->Path() + "Memory.txt");
        messages_->Expect(QStringLiteral("Le fichier des mémoires n'existe plus (memory.txt)"));
        auto& w = Open();
        QCOMPARE(RowCount(w.Memory()), 0);
        w.Memory().Bt_ExitClick();
        QCOMPARE(dir_->Read("Memory.txt"), QByteArray());
        QVERIFY(QFile::exists(dir_->Path() + "Memory.txt"));
    }

    void theMemoryGoesToTheSavedListAndComesBackAfterARestart() {
        auto& w = Open();
        TypeAtMain(QStringLiteral("100="));
        QTest::keyClick(w.Calc.windowHandle(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);  // M+
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemCur")->text(), QStringLiteral("100"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemEuro")->text(), QStringLiteral("15,24"));
        QCOMPARE(dir_->Setting("Memory", "Curr"), QByteArray("100"));
        TypeAtMain(QStringLiteral("m"));
        QVERIFY(w.Memory().isVisible());
        QCOMPARE(w.Memory().CurrentMemory(), (QStringList{"FRF Caisse", "100", "15,24"}));
        w.Memory().ListView1->clearSelection();
        Key(w.Memory(), Qt::Key_Plus, Qt::KeypadModifier);  // no row selected: appended, no question
        QCOMPARE(Titles(w.Memory()).last(), QStringLiteral("FRF Caisse"));
        Key(w.Memory(), Qt::Key_Escape);
        QCOMPARE(dir_->Read("Memory.txt"),
                 Crlf({"DEM Loyer", "1000", "511,29", "FRF Caisse", "100", "15,24", "FRF Caisse", "100", "15,24"}));

        windows_.reset();  // a restart
        auto& again = Open();
        again.Calc.ButtonMCClick();
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray(" "));
        again.Calc.Lst_MemoryClick();
        QVERIFY(again.Memory().ListView1->selectionModel()->selectedRows().isEmpty());  // the memory is not listed
        Select(again.Memory(), "DEM Loyer");
        Key(again.Memory(), Qt::Key_Return);
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray("DEM Loyer"));
        QCOMPARE(dir_->Setting("Memory", "Euro"), QByteArray("511,29"));
        BackToMain();
        QCOMPARE(again.Calc.findChild<QLabel*>("Lb_Dev")->text(), QStringLiteral("DEM"));
        QCOMPARE(again.Calc.findChild<QLabel*>("Lib_Memory")->text(), QStringLiteral("Loyer"));
        QCOMPARE(again.Calc.findChild<QLabel*>("Lib_MemCur")->text(), QStringLiteral("1000"));
        TypeAtMain(QStringLiteral("C"));
        QTest::keyClick(again.Calc.windowHandle(), Qt::Key_Insert, Qt::ControlModifier);  // MR
        QCOMPARE(Box("Cur_HT"), QStringLiteral("1000"));

        // The register holds marks; the current currency is francs: M+ refuses to mix them.
        messages_->Expect(
            QStringLiteral("La devise en mémoire (DEM) est différente de la devise en cours (FRF)\nStop"));
        again.Calc.ButtonMPlusClick();
        QCOMPARE(dir_->Setting("Memory", "Curr"), QByteArray("1000"));
    }

    void copyingOntoASelectedRowAsksFirst() {
        auto& w = Open();
        w.Memory().SetCurrentMemory("FRF Caisse", "100", "15,24");
        w.Memory().ShowList();
        Select(w.Memory(), "DEM Loyer");
        messages_->Expect(QStringLiteral("Désirez-vous remplacer la ligne DEM Loyer (1000 / 511,29) par la ligne "
                                         "FRF Caisse (100 / 15,24) ?"),
                          MessageAnswer::No);
        w.Memory().Bt_CopieMemClick();
        QCOMPARE(Titles(w.Memory()), (QStringList{"DEM Loyer", "FRF Caisse"}));
        messages_->Expect(QStringLiteral("Désirez-vous remplacer la ligne DEM Loyer (1000 / 511,29) par la ligne "
                                         "FRF Caisse (100 / 15,24) ?"),
                          MessageAnswer::Yes);
        w.Memory().Bt_CopieMemClick();
        QCOMPARE(w.Memory().Records().front(), (devical::storage::ListRecord{"FRF Caisse", "100", "15,24"}));
    }

    void savedAmountTitlesKeepTheirCurrencyPrefix() {
        auto& w = Open();
        w.Memory().ShowList();
        Key(w.Memory(), Qt::Key_Insert);
        QCOMPARE(Titles(w.Memory()).last(), QStringLiteral("FRF Titre"));
        QCOMPARE(w.SMemory().Edit1->text(), QStringLiteral("Titre"));
        Retype(w.SMemory().Edit1, QStringLiteral("Courses"));
        Retype(w.SMemory().Edit3, QStringLiteral("abc"));
        w.SMemory().BitBtn1Click();
        QCOMPARE(w.Memory().Records().back(), (devical::storage::ListRecord{"FRF Courses", "0", "0"}));

        Select(w.Memory(), "DEM Loyer");
        Key(w.Memory(), Qt::Key_F2);
        QCOMPARE(w.SMemory().Edit1->text(), QStringLiteral("Loyer"));
        Retype(w.SMemory().Edit1, QStringLiteral("Loyer mars"));
        Retype(w.SMemory().Edit2, QStringLiteral("1000.5"));
        w.SMemory().BitBtn1Click();
        QVERIFY(Titles(w.Memory()).contains(QStringLiteral("DEM Loyer mars")));
        QCOMPARE(Shown(w.Memory(), static_cast<int>(Titles(w.Memory()).indexOf("DEM Loyer mars")), 1),
                 QStringLiteral("1000,5"));
    }

    void titlesAreEditedThroughTheQuestion() {
        auto& w = Open();
        QTest::mouseClick(w.Calc.findChild<QLabel*>("Lib_HT"), Qt::LeftButton);
        QVERIFY(w.Question().isVisible());
        QCOMPARE(w.Question().Edit_Reponse->text(), QStringLiteral("Montant HT"));
        QCOMPARE(w.Question().focusWidget(), w.Question().Bt_OK);
        QTest::mouseClick(w.Calc.findChild<QLabel*>("Lib_TTC"), Qt::LeftButton);  // retargeted
        QCOMPARE(w.Question().Lib_Cas->text(), QStringLiteral("TTC"));
        Retype(w.Question().Edit_Reponse, QStringLiteral("Total"));
        QTest::keyClick(w.Question().Edit_Reponse, Qt::Key_Escape);
        QCOMPARE(dir_->Setting("Dialog", "Lib_TTC"), QByteArray("Montant TTC"));
        w.Calc.Lib_TTCClick();
        Retype(w.Question().Edit_Reponse, QStringLiteral("Total"));
        QTest::keyClick(w.Question().Edit_Reponse, Qt::Key_Return);
        QCOMPARE(dir_->Setting("Dialog", "Lib_TTC"), QByteArray("Total"));
        BackToMain();
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_TTC")->text(), QStringLiteral("Total"));

        QTest::mouseClick(w.Calc.findChild<QLabel*>("Lib_Taxe"), Qt::LeftButton);  // a list, not the question
        QVERIFY(w.Taxes().isVisible());
        QCOMPARE(w.Question().Lib_Cas->text(), QStringLiteral("TTC"));
    }

    void renamingTheMemoryKeepsItsAmountsOnDisplay() {
        auto& w = Open();
        w.Calc.Label1Click();  // "Clic = 0": display only
        dir_->Write(
            "DEVICAL.INI",
            QByteArray(kFrenchSettings).replace("Title=FRF Caisse", "Title=DEM Caisse").replace("Curr=0", "Curr=7"));
        QTest::keyClick(w.Calc.windowHandle(), Qt::Key_4, Qt::AltModifier | Qt::KeypadModifier);
        Retype(w.Question().Edit_Reponse, QStringLiteral("Tiroir"));
        w.Question().Bt_OKClick();
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray("FRF Tiroir"));
        BackToMain();
        QCOMPARE(w.Calc.findChild<QLabel*>("Lb_Dev")->text(), QStringLiteral("FRF"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_Memory")->text(), QStringLiteral("Tiroir"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemCur")->text(), QStringLiteral("0"));  // kept once
        w.Calc.FormActivate();
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemCur")->text(), QStringLiteral("7"));  // then reloaded
    }

    void renamingTheMemoryKeepsTheCurrencyItsAmountsAreIn() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings)
                                       .replace("Title=FRF Caisse", "Title=DEM Caisse")
                                       .replace("Curr=0", "Curr=100")
                                       .replace("Euro=0", "Euro=51,13"));
        auto& w = Open();  // marks in the register, francs current
        QTest::keyClick(w.Calc.windowHandle(), Qt::Key_4, Qt::AltModifier | Qt::KeypadModifier);
        Retype(w.Question().Edit_Reponse, QStringLiteral("Tiroir"));
        QTest::keyClick(w.Question().Edit_Reponse, Qt::Key_Return);
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray("DEM Tiroir"));
        BackToMain();
        QCOMPARE(w.Calc.findChild<QLabel*>("Lb_Dev")->text(), QStringLiteral("DEM"));
        messages_->Expect(
            QStringLiteral("La devise en mémoire (DEM) est différente de la devise en cours (FRF)\nStop"));
        w.Calc.ButtonMPlusClick();  // still no francs added to marks
        QCOMPARE(dir_->Setting("Memory", "Curr"), QByteArray("100"));

        w.Calc.ButtonMCClick();  // an empty register takes the current currency
        w.Calc.Lib_MemoryClick();
        Retype(w.Question().Edit_Reponse, QStringLiteral("Caisse"));
        w.Question().Bt_OKClick();
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray("FRF Caisse"));
    }

    void theTitleQuestionTabsFromOkIntoTheWholeAnswer() {
        auto& w = Open();
        w.Calc.Lib_HTClick();
        QCOMPARE(w.Question().focusWidget(), w.Question().Bt_OK);
        QTest::keyClick(w.Question().focusWidget(), Qt::Key_Tab);
        QCOMPARE(w.Question().focusWidget(), w.Question().Edit_Reponse);
        QTRY_COMPARE(w.Question().Edit_Reponse->selectedText(), QStringLiteral("Montant HT"));
        QTest::keyClicks(w.Question().Edit_Reponse, QStringLiteral("Net du mois"));  // replaces, blanks and all
        QTest::keyClick(w.Question().Edit_Reponse, Qt::Key_Return);
        QCOMPARE(dir_->Setting("Dialog", "Lib_HT"), QByteArray("Net du mois"));
        QVERIFY(!w.Question().isVisible());
    }

    void aRateThatIsNotANumberIsRefusedInTheDialog_data() {
        QTest::addColumn<bool>("currency");  // a new currency, confirmed with Enter; else a tax edited, OK clicked
        QTest::addColumn<QString>("rate");
        QTest::addRow("currency") << true << QStringLiteral("abc");
        QTest::addRow("tax") << false << QStringLiteral("5,5 %");
    }
    void aRateThatIsNotANumberIsRefusedInTheDialog() {
        QFETCH(bool, currency);
        QFETCH(QString, rate);
        const QString message = "'" + rate + "' n'est pas une valeur flottante correcte";
        auto& w = Open();
        ListWindow& list = currency ? static_cast<ListWindow&>(w.Rates()) : w.Taxes();
        devical::ui::EntryDialog& dialog = currency ? static_cast<devical::ui::EntryDialog&>(w.SRates()) : w.STaxes();
        list.ShowList();
        if (!currency) Select(list, QStringLiteral("TVA normale"));
        Key(list, currency ? Qt::Key_Insert : Qt::Key_F2);
        const auto rows = list.Records();
        Retype(dialog.Edit1, QStringLiteral("Autre titre"));
        Retype(dialog.Edit2, rate);
        messages_->Expect(message);
        if (currency)
            QTest::keyClick(dialog.Edit2, Qt::Key_Return);
        else
            QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.Edit2);
        QCOMPARE(dialog.Edit2->selectedText(), rate);
        QCOMPARE(dialog.Edit1->text(), QStringLiteral("Autre titre"));  // what was typed stays
        QCOMPARE(list.Records(), rows);
    }

    void aNewCurrencyIsTypedOverItsPlaceholder() {
        auto& w = Open();
        w.Rates().ShowList();
        Key(w.Rates(), Qt::Key_Insert);
        QTRY_COMPARE(w.SRates().Edit1->selectedText(), QStringLiteral("XXX Nouvelle devise"));  // typing replaces it
        QTest::keyClicks(w.SRates().Edit1, QStringLiteral("JPY Yen"));
        QTest::mouseClick(w.SRates().Edit2, Qt::LeftButton);
        QTRY_COMPARE(w.SRates().Edit2->selectedText(), QStringLiteral("1"));
        QCOMPARE(w.Rates().Records().back(), (devical::storage::ListRecord{"XXX Nouvelle devise", "1"}));
        QTest::keyClicks(w.SRates().Edit2, QStringLiteral("150.5"));
        QTest::keyClick(w.SRates().Edit2, Qt::Key_Return);
        QVERIFY(!w.SRates().isVisible());
        QCOMPARE(w.Rates().Records().back(), (devical::storage::ListRecord{"JPY Yen", "150,5"}));
    }

    // What a box refuses is said at once: under the box, and to a screen reader.
    static QString Said(QWidget* window) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
        QString said = QToolTip::text();
        for (int i = 0; i < accessible->childCount(); ++i)
            if (accessible->child(i)->role() == QAccessible::Notification)
                said += "|" + accessible->child(i)->text(QAccessible::Name);
        return said;
    }

    void boxesTakeOnlyWhatTheFilesCanHoldAndSaySo() {
        auto& w = Open();
        w.Rates().ShowList();
        Key(w.Rates(), Qt::Key_Insert);
        QVERIFY(QTest::qWaitForWindowActive(&w.SRates()));  // a hint goes when its window loses the focus
        QLineEdit* title = w.SRates().Edit1;
        title->clear();
        TypeText(title, QStringLiteral("PLN Złoty"));
        QCOMPARE(title->text(), QStringLiteral("PLN Zoty"));
        const QString refused = QStringLiteral("Ce caractère ne peut pas être enregistré : « %1 »");
        QTRY_COMPARE(Said(&w.SRates()), refused.arg("ł") + "|" + refused.arg("ł"));
        QGuiApplication::clipboard()->setText(QStringLiteral("Łódź 円"));
        title->setFocus();
        QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(title->text(), QStringLiteral("PLN Zoty"));  // the paste is refused whole
        QTRY_COMPARE(Said(&w.SRates()), refused.arg("Ł ź 円") + "|" + refused.arg("Ł ź 円"));
        QGuiApplication::clipboard()->setText(QStringLiteral(" ¥ €"));
        QTest::keyClick(title, Qt::Key_End);
        QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(title->text(), QStringLiteral("PLN Zoty ¥ €"));
        w.SRates().BitBtn1Click();
        Key(w.Rates(), Qt::Key_Escape);
        QVERIFY(dir_->Read("Rates.txt").contains("PLN Zoty \xa5 \x80\r\n1\r\n"));

        // The memory's title boxes take what the register keeps of it; the line titles any length.
        const QString longTitle(120, QLatin1Char('a'));
        w.Calc.Lib_MemoryClick();
        Retype(w.Question().Edit_Reponse, longTitle);
        QCOMPARE(w.Question().Edit_Reponse->text().size(), 100);
        w.Calc.Lib_TTCClick();
        Retype(w.Question().Edit_Reponse, longTitle);
        QCOMPARE(w.Question().Edit_Reponse->text(), longTitle);
        w.Memory().ShowList();
        Key(w.Memory(), Qt::Key_Insert);
        Retype(w.SMemory().Edit1, longTitle);
        QCOMPARE(w.SMemory().Edit1->text().size(), 100);
    }

    void listsAndDialogsOpenCentredWithGridLinesAndWholeCaptions() {
        auto& w = Open();
        w.Memory().ShowList();
        QVERIFY(QTest::qWaitForWindowExposed(&w.Memory()));
        ExpectCentred(&w.Memory());
        Key(w.Memory(), Qt::Key_Insert);
        QVERIFY(QTest::qWaitForWindowExposed(&w.SMemory()));
        ExpectCentred(&w.SMemory());
        const Qt::WindowFlags frame = w.SMemory().windowFlags();
        QVERIFY(!(frame & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
        QFont captionFont = QApplication::font();
        captionFont.setBold(true);
        for (QDialog* dialog : {static_cast<QDialog*>(&w.SMemory()), static_cast<QDialog*>(&w.SRates()),
                                static_cast<QDialog*>(&w.STaxes())}) {
            QVERIFY(!dialog->windowTitle().isEmpty());
            QVERIFY2(dialog->width() >= QFontMetrics(captionFont).horizontalAdvance(dialog->windowTitle()) + 64,
                     qPrintable(dialog->windowTitle()));
        }

        // A line is drawn between two rows of the list, where the background would be.
        QTreeView* view = w.Memory().ListView1;
        const QRect first = view->visualRect(view->model()->index(0, 0));
        const QImage image = view->viewport()->grab().toImage();
        const int blank = first.left() + 190;  // past the end of the short titles
        QVERIFY(image.pixel(blank, first.bottom()) != image.pixel(blank, first.bottom() - 1));
    }

    void choosingACurrencyAddsTheSectionASettingsFileLacks() {
        dir_->Write("DEVICAL.INI", QByteArray(kFrenchSettings)
                                       .replace("[Currency]\r\nTitle=FRF Franc fran\xe7"
                                                "ais\r\n"
                                                "Rate=6,55957\r\n\r\n",
                                                ""));
        auto& w = Open();
        TypeAtMain(QStringLiteral("100="));
        w.Rates().ShowList();
        Select(w.Rates(), "DEM Mark allemand");
        Key(w.Rates(), Qt::Key_Return);
        QVERIFY(dir_->Read("DEVICAL.INI").endsWith("\r\n[Currency]\r\nTitle=DEM Mark allemand\r\nRate=1,95583\r\n"));
        BackToMain();
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_Cur")->text(), QStringLiteral("DEM Mark allemand"));
        QCOMPARE(Box("Cur_HT"), QStringLiteral("195,58"));  // 100 euros at the default rate of 1, now in marks
    }

    void theMemoryRegisterFollowsTheLineUnderEntry() {
        auto& w = Open();
        w.Calc.ButtonMCClick();
        TypeAtMain(QStringLiteral("100="));
        w.Calc.Cur_TaxeClick();
        w.Calc.ButtonMMoinsClick();  // the tax line, negated on an empty register
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemCur")->text(), QStringLiteral("-20,6"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lib_MemEuro")->text(), QStringLiteral("-3,14"));
        QCOMPARE(w.Calc.findChild<QLabel*>("Lb_Dev")->text(), QStringLiteral("FRF"));
        QCOMPARE(dir_->Setting("Memory", "Title"), QByteArray("FRF "));
    }

    // The central bank's rates of the day (a copy of its file here), taken in the background:
    // the list shows them and says how many changed, and that the history kept beside them
    // is damaged; the legacy mark stays.
    void updatingTheRatesReloadsTheListAndSaysHowMany() {
        dir_->Write("daily.xml",
                    "<?xml version='1.0'?><gesmes:Envelope xmlns:gesmes='http://www.gesmes.org/xml/2002-08-01'>"
                    "<Cube><Cube time='2026-12-04'><Cube currency='USD' rate='1.0842'/>"
                    "<Cube currency='GBP' rate='0.8543'/><Cube currency='DEM' rate='2'/></Cube></Cube>"
                    "</gesmes:Envelope>");
        qputenv("DEVICAL_RATES_URL", QUrl::fromLocalFile(dir_->Path() + "daily.xml").toEncoded());
        dir_->Write("RatesHistory.dat", "not a history");
        auto& w = Open();
        w.Rates().ShowList();
        QSignalSpy finished(&w.Rates(), &devical::ui::TRates::updateFinished);
        messages_->Expect(
            QStringLiteral("2 taux mis à jour (BCE, 04/12/2026)\n"
                           "L'historique des taux (RatesHistory.dat) est endommagé : relancez "
                           "devical-rates --history."));
        QTest::keyClick(w.Rates().findChild<QCheckBox*>("Cb_Daily"), Qt::Key_F5);  // F5 wherever the focus is
        QVERIFY(finished.wait(10000));
        const auto rows = w.Rates().Records();
        QVERIFY(std::find(rows.begin(), rows.end(), devical::storage::ListRecord{"USD Dollar", "1,0842"}) !=
                rows.end());
        QVERIFY(std::find(rows.begin(), rows.end(), devical::storage::ListRecord{"DEM Mark allemand", "1,95583"}) !=
                rows.end());
        QCOMPARE(dir_->Setting("Rates", "Date"), QByteArray("2026-12-04"));
        qunsetenv("DEVICAL_RATES_URL");
        QTest::mouseClick(w.Rates().findChild<QCheckBox*>("Cb_Daily"), Qt::LeftButton);  // each day at start-up
        QCOMPARE(dir_->Setting("Rates", "Daily"), QByteArray("1"));

        // The next day's first start updates without a word; the list and the rate follow.
        dir_->Write("daily.xml", dir_->Read("daily.xml").replace("1.0842", "1.0901"));
        qputenv("DEVICAL_RATES_URL", QUrl::fromLocalFile(dir_->Path() + "daily.xml").toEncoded());
        auto& next = Open();
        QSignalSpy quietly(&next.Rates(), &devical::ui::TRates::updateFinished);
        next.UpdateRatesIfDue();
        QVERIFY(quietly.wait(10000));
        qunsetenv("DEVICAL_RATES_URL");
        QVERIFY(dir_->Read("Rates.txt").contains("USD Dollar\r\n1,0901\r\n"));
    }

    // A day picked in the list's day field (Enter there takes the day, not the row) sets the
    // rates of that day from the local history, the working day before for a holiday; a rate
    // the bank did not publish that day is kept, and said.
    void aDayPickedTakesItsRatesFromTheHistory() {
        devical::rates::RateHistory history;
        history.Add({{"2026-04-30", {{"USD", "1.13", 1.13L}}},
                     {"2026-05-04", {{"USD", "1.131", 1.131L}, {"GBP", "0.85", 0.85L}}}});
        dir_->Write("RatesHistory.dat", QByteArray::fromStdString(history.Bytes()));
        auto& w = Open();
        w.Rates().ShowList();
        auto* day = w.Rates().findChild<QDateEdit*>("Ed_Day");
        // Reached by Shift+Tab, its year is picked, as typing over it expects.
        auto* daily = w.Rates().findChild<QCheckBox*>("Cb_Daily");
        QVERIFY(QTest::qWaitForWindowActive(&w.Rates()));
        daily->setFocus();
        QTest::keyClick(daily, Qt::Key_Backtab);
        QTRY_COMPARE(day->findChild<QLineEdit*>()->selectedText(), QString::number(day->date().year()));
        QTest::keyClick(day, Qt::Key_F4);  // the calendar, without a mouse
        QTRY_VERIFY(day->calendarWidget()->isVisible());
        QTest::keyClick(day->calendarWidget(), Qt::Key_Escape);
        day->selectAll();
        QTest::keyClicks(day, QStringLiteral("02/01/2020"));  // typed, then left without Enter
        QCOMPARE(day->date().year(), 2020);
        QTest::keyClick(day, Qt::Key_Tab);
        QCOMPARE(day->date(), QDate::currentDate());  // the shown rates are of no known day
        day->setDate(QDate(2026, 5, 1));
        QSignalSpy finished(&w.Rates(), &devical::ui::TRates::updateFinished);
        messages_->Expect(
            QStringLiteral("Pas de taux BCE le 01/05/2026 : taux du 30/04/2026, le jour ouvré précédent.\n"
                           "1 taux mis à jour (BCE, 30/04/2026)\n"
                           "Pas de taux BCE ce jour-là, taux gardé : GBP"));
        QTest::keyClick(day, Qt::Key_Return);
        QVERIFY(finished.wait(10000));
        QVERIFY(w.Rates().isVisible());
        QVERIFY(dir_->Read("Rates.txt").contains("USD Dollar\r\n1,13\r\n"));
        QCOMPARE(dir_->Setting("Rates", "Picked"), QByteArray("1"));
    }

    // A failed update says why in the set's words, and changes nothing.
    void aFailedUpdateSaysWhyInTheSetsLanguage_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("said");
        QTest::newRow("French") << "FR"
                                << "Le fichier est une page web, pas les taux de référence de la BCE.\n"
                                   "Rien n'a été modifié.";
        QTest::newRow("English") << "AN"
                                 << "The file is a web page, not the ECB's reference rates.\n"
                                    "Nothing was changed.";
    }
    void aFailedUpdateSaysWhyInTheSetsLanguage() {
        QFETCH(QString, code);
        QFETCH(QString, said);
        QVERIFY(QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/Devical.") + code,
                            dir_->Path() + QStringLiteral("DEVICAL.LAN.new")));
        QVERIFY(QFile::remove(dir_->Path() + "DEVICAL.LAN"));
        QVERIFY(QFile::rename(dir_->Path() + "DEVICAL.LAN.new", dir_->Path() + "DEVICAL.LAN"));
        dir_->Write("page.xml", "<!DOCTYPE html><html><body>Not found</body></html>");
        qputenv("DEVICAL_RATES_URL", QUrl::fromLocalFile(dir_->Path() + "page.xml").toEncoded());
        auto& w = Open();
        w.Rates().ShowList();
        const QByteArray before = dir_->Read("Rates.txt");
        QSignalSpy finished(&w.Rates(), &devical::ui::TRates::updateFinished);
        messages_->Expect(said);
        w.Rates().Bt_UpdateClick();
        QVERIFY(finished.wait(10000));
        qunsetenv("DEVICAL_RATES_URL");
        QCOMPARE(dir_->Read("Rates.txt"), before);
    }
};

QTEST_MAIN(ListsTest)
#include "lists_test.moc"
