// The language choice, used as a person would: the dialog that greets a first run, the
// switch to another set and back, and what every window shows afterwards.
#include <QAbstractButton>
#include <QCheckBox>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "platform/tray.h"
#include "storage/cp1252.h"
#include "storage/language_set.h"
#include "ui/common/fitted_label.h"
#include "ui/common/window_placement.h"
#include "windows_fixture.h"

using devical::app::DevicalWindows;
using devical::ui::TChx_Langue;
using namespace devical::testing;

namespace {

const char* const kCodes[] = {"AN", "BE", "EU", "FR", "GM"};
using devical::storage::kLanguageSetFiles;
using devical::storage::LanguageSetFile;

QString Stored(const LanguageSetFile& file, const char* code) {
    return QString::fromLatin1(file.storedPrefix.data(), file.storedPrefix.size()) + QLatin1String(code);
}
QString Working(const LanguageSetFile& file) {
    return QString::fromLatin1(file.workingName.data(), file.workingName.size());
}

QByteArray Shipped(const QString& name) {
    QFile file(QStringLiteral(DEVICAL_DATA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The values of a shipped language or settings file, as the windows show them.
QSet<QString> ValuesOf(const QString& name) {
    QSet<QString> values;
    for (QByteArray line : Shipped(name).split('\n')) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (!line.startsWith('[') && equals > 0)
            values << QString::fromStdString(devical::storage::Cp1252ToUtf8(line.mid(equals + 1).toStdString()));
    }
    return values;
}

}  // namespace

class LanguageTest : public QObject, WindowsFixture {
    Q_OBJECT

public slots:
    void OpenedDocument(const QUrl& url) { opened_ << url.fileName(); }

private:
    // Every window made, as after a day's work, then the main window active.
    DevicalWindows& Open() {
        OpenWindows();
        windows_->Rates();
        windows_->Taxes();
        windows_->Memory();
        windows_->Question();
        windows_->Tape();
        BackToMain(500);  // a first run's dialog keeps the activation
        return *windows_;
    }
    QStringList opened_;  // the help documents handed to the desktop
    TChx_Langue& Dialog() { return windows_->ChxLangue(); }
    QString SelectedCode() {
        const auto rows = Dialog().ListView1->selectedItems();
        return rows.size() == 1 ? rows.first()->text(0) : QString();
    }
    void KeyAtList(Qt::Key key) { QTest::keyClick(Dialog().ListView1, key); }
    void ChooseWithKeys(int ups) {
        for (int i = 0; i < ups; ++i)
            KeyAtList(Qt::Key_Up);
        KeyAtList(Qt::Key_Return);
    }
    void UseEnvironmentLocale(const char* lcAll, const char* lang) {
        qputenv("LC_ALL", lcAll);
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", lang);
    }
    // Every file of the program directory with its bytes.
    QMap<QString, QByteArray> Files() const {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(dir_->Path()).entryList(QDir::Files))
            files[name] = dir_->Read(name);
        return files;
    }
    // What a person reads or hears of the windows, every window made when none are given:
    // captions, labels, buttons, boxes, menus, hints, accessible names and column titles.
    QStringList ShownTexts(const QWidgetList& windows = QApplication::topLevelWidgets()) {
        QStringList texts;
        QWidgetList widgets = windows;
        for (QWidget* window : windows)
            widgets += window->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            texts << widget->windowTitle() << widget->toolTip() << widget->accessibleName();
            if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
            if (auto* box = qobject_cast<QLineEdit*>(widget)) texts << box->text() << box->placeholderText();
            for (QAction* action : widget->actions())  // the tray's menu
                texts << action->text();
            if (auto* header = qobject_cast<QHeaderView*>(widget)) {
                for (int section = 0; section < header->count(); ++section)
                    texts << header->model()->headerData(section, header->orientation()).toString();
            }
        }
        return texts;
    }
    // Everything a person meets in a day's use of the installed set: every window, dialog
    // and menu, the boxes of the usual mistakes, new rows in the three lists.
    QSet<QString> DaysTexts() {
        messages_->shown.clear();
        auto& w = Open();
        devical::platform::OverrideTrayAvailable(true);
        w.Calc.HideToTray();
        w.Calc.show();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("12345678901234567890123="));  // too big to report on
        TypeAt(w.Calc.windowHandle(), QStringLiteral("-="));
        for (devical::ui::ListWindow* list :
             std::initializer_list<devical::ui::ListWindow*>{&w.Rates(), &w.Taxes(), &w.Memory()}) {
            list->ShowList();
            list->Bt_AjoutClick();
            list->Bt_DelClick();
            list->ListView1->clearSelection();
            list->Bt_EditClick();
        }
        w.Tape().ShowTape();
        w.Tape().Bt_ClearClick();  // its question
        for (const QString& name : QDir(QStringLiteral(DEVICAL_DATA_DIR)).entryList({"*.html"}))
            dir_->Write(name, Shipped(name));
        opened_.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenedDocument");
        w.Calc.Bt_ManuelClick();
        w.Calc.Bt_CodeClick();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        w.Calc.Bt_InfoClick();
        w.Calc.Bt_LangueClick();
        QStringList texts = ShownTexts();
        texts << messages_->shown << opened_;
        messages_->unexpected.clear();
        devical::platform::OverrideTrayAvailable(std::nullopt);
        return QSet<QString>(texts.begin(), texts.end());
    }
    // The texts drawn cut in the windows made: a label, button or column title wider than its place.
    QStringList CutTexts() {
        QStringList cut;
        const auto wider = [&cut](QString text, const QFontMetrics& metrics, QRect room, int flags = 0) {
            text.remove(QLatin1Char('&'));
            const QRect needed = metrics.boundingRect(room, flags, text);
            if (!text.isEmpty() && (needed.width() > room.width() || needed.height() > room.height())) cut << text;
        };
        for (QWidget* widget : QApplication::allWidgets()) {
            if (widget->isWindow() && widget->isVisible() &&
                devical::ui::FramedCaptionWidth(widget->windowTitle()) > widget->width())
                cut << widget->windowTitle();  // under the frame's icon and buttons
            if (auto* fitted = qobject_cast<devical::ui::FittedLabel*>(widget)) {
                if (fitted->ShownText() != fitted->text() && fitted->GetFit() != devical::ui::FittedLabel::Fit::Amount)
                    cut << fitted->text();
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                wider(label->text(), label->fontMetrics(), label->contentsRect(),
                      static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0));
            } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {  // nor covered by another control
                const QWidgetList others = check->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
                const bool covered = std::any_of(others.begin(), others.end(), [check](QWidget* other) {
                    return other != check && other->geometry().intersects(check->geometry());
                });
                if (covered || check->sizeHint().width() > check->width()) cut << check->text();
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                wider(button->text(), button->fontMetrics(), button->rect().adjusted(2, 0, -2, 0));
            } else if (auto* view = qobject_cast<QTreeView*>(widget); view && view->isVisible()) {
                const QAbstractItemModel* rows = view->model();  // each cell within its column
                for (int row = 0; row < rows->rowCount(); ++row)
                    for (int column = 0; column < rows->columnCount(); ++column)
                        wider(rows->index(row, column).data().toString(), view->fontMetrics(),
                              QRect(0, 0, view->columnWidth(column) - 8, 100));
            } else if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->isVisible()) {
                for (int section = 0; section < header->count(); ++section)
                    wider(header->model()->headerData(section, header->orientation()).toString(), header->fontMetrics(),
                          QRect(0, 0, header->sectionSize(section) - 8, header->height()));
            }
        }
        return cut;
    }
    // The row of a code, or else the one with the longest title, chosen for the captions that show it.
    static void ChooseRow(devical::ui::ListWindow& list, const QString& code = {}) {
        list.ShowList();
        const QAbstractItemModel* rows = list.ListView1->model();
        int chosen = 0;
        for (int row = 1; row < rows->rowCount(); ++row) {
            const QString title = rows->index(row, 0).data().toString();
            if (code.isEmpty() ? title.size() > rows->index(chosen, 0).data().toString().size()
                               : title.startsWith(code))
                chosen = row;
        }
        list.ListView1->setCurrentIndex(rows->index(chosen, 0));
        list.Bt_OKClick();
    }
    // The texts of the French set still shown after a switch to the given one.
    QStringList FrenchLeftOver(const QString& code) {
        QSet<QString> french = ValuesOf("Devical.FR") + ValuesOf("Devical.iFR");
        french -= ValuesOf("Devical." + code) + ValuesOf("Devical.i" + code);
        QStringList left;
        const QWidgetList fromTheFile = {&windows_->Calc,      &windows_->Rates(),    &windows_->SRates(),
                                         &windows_->Taxes(),   &windows_->STaxes(),   &windows_->Memory(),
                                         &windows_->SMemory(), &windows_->Question(), &windows_->Tape()};
        for (const QString& text : ShownTexts(fromTheFile)) {
            if (text.size() > 3 && french.contains(text)) left << text;
        }
        return left;
    }

private slots:
    void init() {
        UseLocale(QLocale::French, QLocale::France);
        UseEnvironmentLocale("", "fr_FR.UTF-8");
        StartFixture();
        for (const char* code : kCodes) {
            for (const LanguageSetFile& file : kLanguageSetFiles)
                dir_->Write(Stored(file, code), Shipped(Stored(file, code)));
        }
        for (const LanguageSetFile& file : kLanguageSetFiles)
            dir_->Write(Working(file), Shipped(Stored(file, "FR")));
    }
    void cleanup() {
        const QString problems = EndFixture();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void aFirstRunSwitchesToEnglishAndTheGlobeBringsBackTheFrenchWork() {
        dir_->Write("Install.Oui", "");
        // The French work of the day: a saved amount, an edited tax, a renamed line.
        dir_->Write("Memory.txt", dir_->Read("Memory.txt") + "FRF Recette\r\n500\r\n76,22\r\n");
        dir_->Write("Taxes.txt", dir_->Read("Taxes.txt") + "TVA perso\r\n8\r\n");
        dir_->Write("DEVICAL.INI", dir_->Read("DEVICAL.INI").replace("Montant HT", "Prix HT"));
        const auto frenchWork = Files();

        auto& w = Open();
        QVERIFY(Dialog().isVisible());  // the first run asks by itself
        QCOMPARE(SelectedCode(), QStringLiteral("FR"));
        QCOMPARE(Dialog().PreviousLanguage(), QStringLiteral("FR"));
        ChooseWithKeys(3);

        QVERIFY(!Dialog().isVisible());
        for (const LanguageSetFile& file : kLanguageSetFiles)
            QCOMPARE(dir_->Read(Working(file)), Shipped(Stored(file, "AN")));
        QVERIFY(!QFile::exists(dir_->Path() + "Install.Oui"));
        QCOMPARE(dir_->Read("Devical.iFR"), frenchWork["DEVICAL.INI"]);
        QCOMPARE(dir_->Read("Rates.FR"), frenchWork["Rates.txt"]);
        QCOMPARE(dir_->Read("Taxes.FR"), frenchWork["Taxes.txt"]);
        QCOMPARE(dir_->Read("Memory.FR"), frenchWork["Memory.txt"]);

        // Every window speaks English, the lists hold the English set's rows.
        QCOMPARE(FrenchLeftOver("AN").join(QLatin1Char('|')), QString());
        QCOMPARE(w.Calc.InstalledLanguage(), QStringLiteral("AN"));
        QCOMPARE(w.Calc.Lst_Memory->text(), QStringLiteral("&Memory"));
        QCOMPARE(w.Calc.Lib_HT->text(), QStringLiteral("Net amount"));
        QCOMPARE(w.Calc.Lib_Cur->text(), QStringLiteral("IEP Irish pound"));
        QCOMPARE(w.Rates().windowTitle(), QStringLiteral("Exchange rates"));
        QVERIFY(w.Taxes()
                    .ListView1->model()
                    ->match(w.Taxes().ListView1->model()->index(0, 0), Qt::DisplayRole,
                            QStringLiteral("VAT standard rate"), 1, Qt::MatchExactly)
                    .size() == 1);
        messages_->Expect(QStringLiteral("Select a line before editing it"));
        w.Rates().Bt_EditClick();  // the messages come from the new file too

        // The globe, then Enter: the French work exactly as it was.
        BackToMain();
        w.Calc.Bt_LangueClick();
        QVERIFY(Dialog().isVisible());
        QCOMPARE(Dialog().PreviousLanguage(), QStringLiteral("AN"));
        QCOMPARE(SelectedCode(), QStringLiteral("FR"));
        KeyAtList(Qt::Key_Return);
        const auto back = Files();
        for (const LanguageSetFile& file : kLanguageSetFiles)
            QCOMPARE(back[Working(file)], frenchWork[Working(file)]);
        QCOMPARE(w.Calc.Lib_HT->text(), QStringLiteral("Prix HT"));
        QCOMPARE(FrenchLeftOver("FR"), QStringList());
        QCOMPARE(w.Rates().windowTitle(), QStringLiteral("Taux de change"));
    }

    // A text that two sets of different languages both show is one of them speaking the
    // other's language; figures, symbols and names alike in every language aside. And each
    // text has the room it needs.
    void everySetSpeaksItsOwnLanguageWhole() {
        const QHash<QString, int> language = {{"FR", 0}, {"BE", 0}, {"AN", 1}, {"EU", 1}, {"GM", 2}};
        QHash<QString, QSet<QString>> shown;
        for (const char* code : kCodes) {
            for (const LanguageSetFile& file : kLanguageSetFiles)
                dir_->Write(Working(file), Shipped(Stored(file, code)));
            // The rates of a bank's day: a floating rate's sentence on the tape names it.
            dir_->Write("DEVICAL.INI", dir_->Read("DEVICAL.INI") + "\r\n[Rates]\r\nDate=2026-12-04\r\n");
            shown[code] = DaysTexts();
            ChooseRow(windows_->Rates(), QStringLiteral("USD"));
            ChooseRow(windows_->Rates());  // the longest, into the captions, and the tape's line column
            ChooseRow(windows_->Taxes());
            QVERIFY2(CutTexts().isEmpty(), qPrintable(code + QStringLiteral(" cut: ") + CutTexts().join('|')));
            if (language[code] == 0) continue;
            for (const QString& text : shown[code])  // only French sets a blank before "?"
                QVERIFY2(!text.contains(QStringLiteral(" ?")), qPrintable(code + QStringLiteral(": ") + text));
        }
        const QRegularExpression word(QStringLiteral("[^\\W\\d_]{3}"));
        const QRegularExpression keyNames(QStringLiteral("\\b(Ctrl|Alt|Num)\\b"));
        const QStringList alikeWords = {"Code", "Devical", "Devical €", "Euro",   "Euros",    "Info",
                                        "QWIL", "Taxes",   "April",     "August", "November", "September"};
        QSet<QString> alike(alikeWords.begin(), alikeWords.end());
        alike << QString::fromLatin1(devical::app::TInfo::WebAddress());
        for (const char* code : kCodes)
            for (const char* other : kCodes) {
                if (language[code] >= language[other]) continue;
                QStringList shared;
                for (const QString& text : shown[code] & shown[other])
                    if (QString(text).remove(keyNames).contains(word) && !alike.contains(text)) shared << text;
                shared.sort();
                QVERIFY2(shared.isEmpty(),
                         qPrintable(QString(code) + "/" + other + ": " + shared.join(QLatin1Char('|'))));
            }
    }

    void theAmountsFollowTheNewSetsCurrency() {
        auto& w = Open();
        TypeAt(w.Calc.windowHandle(), QStringLiteral("100="));
        QCOMPARE(w.Calc.boxes_[1]->text(), QStringLiteral("15,24"));
        w.Calc.Bt_LangueClick();
        ChooseWithKeys(3);
        QCOMPARE(w.Calc.Lib_Cur->text(), QStringLiteral("IEP Irish pound"));
        QCOMPARE(w.Calc.boxes_[1]->text(), QStringLiteral("15,24"));  // the euro amount stays
        QCOMPARE(w.Calc.boxes_[0]->text(), QStringLiteral("12"));     // 15,24 x 0,787564
    }

    void theLocaleChoosesTheRowOffered() {
        const std::pair<std::pair<const char*, const char*>, const char*> cases[] = {
            {{"", "fr_BE.UTF-8"}, "BE"},
            {{"", "de_CH.UTF-8"}, "GM"},
            {{"en_GB.UTF-8", "fr_FR.UTF-8"}, "AN"},  // LC_ALL first
            {{"", "ja_JP.UTF-8"}, "FR"},
            {{"", "fr_be"}, "FR"},
        };
        auto& w = Open();
        for (const auto& [locale, code] : cases) {
            UseEnvironmentLocale(locale.first, locale.second);
            w.Calc.Bt_LangueClick();
            QCOMPARE(SelectedCode(), QString::fromLatin1(code));
            Dialog().Bt_ExitClick();
        }
    }

    // Before a set is chosen the dialog asks in the user's language, whatever set was seeded.
    void aFirstRunAsksInTheUsersLanguage() {
        dir_->Write("Install.Oui", "");
        UseEnvironmentLocale("", "de_DE.UTF-8");
        Open();
        QVERIFY(Dialog().isVisible());
        QCOMPARE(Dialog().windowTitle(), QStringLiteral("Sprache w\u00e4hlen und auf OK klicken"));
        KeyAtList(Qt::Key_Escape);  // leaving a first run ends the program
        UseEnvironmentLocale("", "en_US.UTF-8");
        QFile::remove(dir_->Path() + "Install.Oui");
        windows_->Calc.Bt_LangueClick();  // a set is installed: its language, French
        QCOMPARE(Dialog().windowTitle(), QStringLiteral("Choisissez une langue et cliquez sur OK"));
        Dialog().Bt_ExitClick();
    }

    void confirmingTheInstalledLanguageOnlyRemovesTheMarker() {
        dir_->Write("Install.Oui", "");
        auto before = Files();
        before.remove("Install.Oui");
        Open();
        QVERIFY(Dialog().isVisible());
        KeyAtList(Qt::Key_Return);
        QVERIFY(!Dialog().isVisible());
        QCOMPARE(Files(), before);
    }

    void leavingAFirstRunEndsTheProgramAndChangesNothing() {
        dir_->Write("Install.Oui", "");
        const auto before = Files();
        auto& w = Open();
        QSignalSpy exits(&w.Calc, &devical::ui::TCalc::exitRequested);  // what the start-up ends the program on
        KeyAtList(Qt::Key_Up);
        QTest::keyClick(&Dialog(), Qt::Key_Escape);
        QVERIFY(!Dialog().isVisible());
        QCOMPARE(exits.count(), 1);
        QCOMPARE(Files(), before);  // the marker stays: the next start asks again

        QFile::remove(dir_->Path() + "Install.Oui");
        w.Calc.Bt_LangueClick();
        QTest::mouseClick(Dialog().Bt_Exit, Qt::LeftButton);
        QVERIFY(!Dialog().isVisible());
        QCOMPARE(exits.count(), 1);  // a later choice left only closes
    }

    void anIncompleteSetIsRefusedAndChangesNothing() {
        QFile::remove(dir_->Path() + "Memory.GM");
        dir_->Write("Install.Oui", "");
        const auto before = Files();
        Open();
        messages_->Expect(QStringLiteral("Il manque des fichiers pour la langue :GM\nOpération annulée"));
        KeyAtList(Qt::Key_Down);
        KeyAtList(Qt::Key_Return);
        QVERIFY(!Dialog().isVisible());
        QCOMPARE(Files(), before);
    }

    void aFileThatCannotBeWrittenKeepsTheDialogOpen() {
        auto& w = Open();
        QFile::setPermissions(dir_->Path() + "DEVICAL.INI", QFileDevice::ReadOwner);
        const auto before = Files();
        w.Calc.Bt_LangueClick();
        messages_->Expect(
            QStringLiteral("Ne peut écrire le fichier %1DEVICAL.INI\nPermission denied").arg(dir_->Path()));
        ChooseWithKeys(3);
        QVERIFY(Dialog().isVisible());
        QCOMPARE(Files(), before);
        QCOMPARE(w.Calc.InstalledLanguage(), QStringLiteral("FR"));
    }

    void aDoubleClickChoosesAndNoSelectionIsRefused() {
        auto& w = Open();
        w.Calc.Bt_LangueClick();
        Dialog().ListView1->clearSelection();
        messages_->Expect(QStringLiteral("Vous devez choisir une ligne"));
        Dialog().Bt_OkClick();
        QVERIFY(Dialog().isVisible());

        const auto german = Dialog().ListView1->findItems(QStringLiteral("GM"), Qt::MatchExactly).first();
        const QRect place = Dialog().ListView1->visualItemRect(german);
        QTest::mouseClick(Dialog().ListView1->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(Dialog().ListView1->viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(w.Calc.InstalledLanguage(), QStringLiteral("GM"));
        QCOMPARE(dir_->Read("DEVICAL.LAN"), Shipped("Devical.GM"));
    }

    void anOpenListIsWrittenBeforeTheSwitch() {
        auto& w = Open();
        w.Memory().ShowList();
        w.Memory().Bt_AjoutClick();  // a new row, not yet written: leaving would write it
        w.SMemory().BitBtn1Click();
        const int rows = w.Memory().ListView1->model()->rowCount();
        w.Calc.Bt_LangueClick();
        ChooseWithKeys(3);
        QCOMPARE(dir_->Read("Memory.FR").count("\r\n"), 3 * rows);
        QCOMPARE(dir_->Read("Memory.txt"), Shipped("Memory.AN"));
    }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
