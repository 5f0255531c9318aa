#include "ui/language/Chx_Langue1.h"

#include <QEvent>
#include <QHeaderView>

#include "engine/builtin_texts.h"
#include "storage/file_io.h"
#include "storage/language_set.h"
#include "ui/common/colours.h"
#include "ui/common/placed.h"
#include "ui/common/qt_text.h"
#include "ui/common/window_placement.h"

namespace devical::ui {

namespace {

// Code, language, and the tax list that comes with the set.
const char* const kLanguages[][3] = {
    {"AN", "English", "Irish VAT"},          {"BE", "Français", "TVA Belge"},
    {"EU", "English", "All European taxes"}, {"FR", "Français", "TVA Française"},
    {"GM", "Deutsch", "Deutschland MwSt."},
};

constexpr int kDesignWidth = 355;

}  // namespace

TChx_Langue::TChx_Langue(LanguageSwitchHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("Chx_Langue"));
    setWindowTitle(QStringLiteral("Choose a language & Click OK"));
    setModal(false);
    setFixedSize(kDesignWidth, 171);

    ListView1 = Placed(new QTreeWidget(this), "ListView1", {1, 3, 352, 134});
    ListView1->setHeaderLabels({QStringLiteral("Code"), QStringLiteral("Language"), QStringLiteral("Taxes")});
    ListView1->setColumnWidth(0, 40);
    ListView1->setColumnWidth(1, 150);
    ListView1->setColumnWidth(2, 150);
    ListView1->setRootIsDecorated(false);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsClickable(false);
    ListView1->setPalette(WithReadableSelection(ListView1->palette()));
    ListView1->setAccessibleName(QStringLiteral("Language"));
    for (const auto& row : kLanguages)
        new QTreeWidgetItem(ListView1,
                            {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2])});
    ListView1->sortItems(0, Qt::AscendingOrder);

    Bt_Ok = Placed(new QPushButton(QStringLiteral("OK"), this), "Bt_Ok", {84, 142, 75, 25});
    Bt_Ok->setDefault(true);
    Bt_Exit = Placed(new QPushButton(QStringLiteral("Exit"), this), "Bt_Exit", {193, 142, 75, 25});

    connect(Bt_Ok, &QPushButton::clicked, this, &TChx_Langue::Bt_OkClick);
    connect(Bt_Exit, &QPushButton::clicked, this, &TChx_Langue::Bt_ExitClick);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TChx_Langue::ListView1DblClick);
}

void TChx_Langue::Open(const QString& installedLanguage) {
    previousLanguage_ = installedLanguage;
    ApplyTexts();
    ShowInFront(this);
    FormActivate();  // where the platform does not report the activation
}

// Before a set has been chosen, the dialog speaks the user's language, not the seeded set's.
engine::BuiltInLanguage TChx_Langue::OwnLanguage() const {
    if (!storage::HasFirstRunMarker(Utf8(host_.ProgramDirectory()))) return engine::CurrentBuiltInLanguage();
    return engine::BuiltInLanguageOf(storage::LocaleLanguageCode());
}

void TChx_Langue::ApplyTexts() {
    const engine::BuiltInLanguage language = OwnLanguage();
    auto builtIn = [language](const char* key) { return Text(engine::BuiltInTextIn(language, key)); };
    setWindowTitle(builtIn("ChooseLanguage"));
    WidenForCaption(*this, kDesignWidth);
    ListView1->setHeaderLabels({builtIn("Code"), builtIn("Language"), builtIn("Taxes")});
    ListView1->setAccessibleName(builtIn("Language"));
    Bt_Exit->setText(builtIn("Exit"));
}

void TChx_Langue::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from its own message box the dialog keeps the row chosen, for another try.
    if (event->type() == QEvent::ActivationChange && messageBoxReturn_.IsNewActivation(*this)) FormActivate();
}

void TChx_Langue::FormActivate() {
    const QString code = Text(storage::LocaleLanguageCode());
    ListView1->setFocus(Qt::OtherFocusReason);
    const QList<QTreeWidgetItem*> rows = ListView1->findItems(code, Qt::MatchExactly | Qt::MatchCaseSensitive, 0);
    if (rows.isEmpty()) return;
    ListView1->setCurrentItem(rows.first());
    ListView1->scrollToItem(rows.first());
}

void TChx_Langue::Bt_ExitClick() {
    hide();
    if (storage::HasFirstRunMarker(Utf8(host_.ProgramDirectory()))) host_.EndProgram();
}

// The chosen set is installed, or the reason it cannot be is shown: a set with a file
// missing closes the dialog, a file that cannot be read or written leaves it open for
// another try. Either way no file has changed.
void TChx_Langue::Bt_OkClick() {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty()) {
        host_.ShowMessage(this, platform::MessageKind::Notice, Text(engine::BuiltInTextIn(OwnLanguage(), "SelectRow")));
        return;
    }
    QString chosen = selected.first()->text(0);
    if (chosen.isEmpty()) chosen = QStringLiteral("FR");
    const std::string directory = Utf8(host_.ProgramDirectory());
    storage::LanguageSwitch change{};
    try {
        if (chosen != previousLanguage_ && !host_.SaveOpenWork()) return;
        change = storage::InstallLanguageSet(directory, Utf8(previousLanguage_), Utf8(chosen));
    } catch (const storage::FileError& error) {
        host_.ShowMessage(this, platform::MessageKind::Error, Text(error.what()));
        return;
    } catch (const std::runtime_error& refused) {  // an incomplete set or an unusable code
        host_.ShowMessage(this, platform::MessageKind::Error, Text(refused.what()));
        hide();
        return;
    }
    previousLanguage_ = chosen;
    hide();
    try {
        storage::RemoveFirstRunMarker(directory);  // first: the reload's activation would reopen the dialog
    } catch (const storage::FileError& error) {
        host_.ShowMessage(this, platform::MessageKind::Error, Text(error.what()));
    }
    if (change == storage::LanguageSwitch::Installed) {
        host_.ReloadWindows();
        ApplyTexts();  // in the new language when it next opens
    }
}

}  // namespace devical::ui
