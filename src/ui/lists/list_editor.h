// The list editor behind the currency, tax and saved-amount lists: a sorted report view,
// five actions (edit, insert, delete, choose, leave) on buttons, keys and double-click, a
// modeless entry dialog (entry_dialog.h) that edits one row, and the list file, written when
// the window is left with OK or Exit.
#pragma once

#include <QStyle>
#include <QToolButton>
#include <QTreeView>

#include "storage/list_model.h"
#include "ui/lists/list_view_model.h"
#include "ui/services.h"

namespace devical::ui {

class EntryDialog;

// What tells the three lists apart.
struct ListDesign {
    storage::ListKind kind;
    const char* instanceName;    // "Rates"
    const char* caption;         // design caption, replaced by the language file
    const char* faceSection;     // "Rates_Face": Title, Column1..3
    const char* tipsSection;     // "Rates_Tips": Edit, Add, Del, Copy, Ok, Cancel
    const char* fileName;        // "Rates.txt"
    const char* missingFileKey;  // "DontExistRate"
    const char* noChoiceKey;     // "SelRateBeforeOk"
    QStringList columns;         // design captions
};

class ListWindow : public QWidget {
    Q_OBJECT
public:
    ListWindow(Services& services, ListDesign design, QWidget* parent = nullptr);

    void SetEntryDialog(EntryDialog* dialog) { dialog_ = dialog; }
    // The working row shared with the entry dialog, which stores into the row it was
    // opened for, found by its id.
    storage::RowEdit& Edit() { return rowEdit_; }

    // Texts from the language file, then the rows from the list file.
    void FormCreate();
    // Shown with the file's rows when another writer changed them and the user did not.
    void ShowList();
    // The list file changed outside (an update of the rates): read again unless the user has
    // edits of their own, which the next save applies to the new rows.
    void FollowFile();
    // While a program updates the list file: no row may be added, edited or deleted.
    void SetUpdating(bool updating);
    bool Updating() const { return updating_; }
    // Before the working files change under an open list: its rows are written, as leaving
    // would write them. False once a failure has been shown.
    bool SaveIfOpen() { return !isVisible() || SaveList(); }

    void Bt_EditClick();
    void Bt_AjoutClick();
    void Bt_DelClick();
    void Bt_OKClick();
    void Bt_ExitClick();
    void ListView1DblClick() { Bt_OKClick(); }
    virtual void ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void ListView1KeyPress(QChar character);

    // The entry dialog's OK.
    void StoreRow(const storage::RowEdit& edit) { model_->Store(edit); }

    // The rows in their order, as the file holds them.
    std::vector<storage::ListRecord> Records() const { return model_->Rows().Records(); }

    QTreeView* ListView1{};
    QWidget* Panel1{};
    QToolButton *Bt_Edit{}, *Bt_Ajout{}, *Bt_Del{}, *Bt_OK{}, *Bt_Exit{};

protected:
    // The row chosen with OK, its settings written.
    virtual void Chosen(const storage::RowChoice&) {}
    // The selected row, or -1.
    int SelectedRow() const;
    void OpenEntryDialog(int row);
    bool SaveList();
    void Leave();
    void ShowNotice(const char* messageKey);
    void ShowLoadProblems();
    void ShowError(const QString& text);
    QString FilePath() const;
    // A picture button of the bottom panel, its hint from the language file's key.
    QToolButton* PanelButton(const char* name, int left, const QIcon& picture, const QString& hint,
                             const char* tipsKey);
    // The texts of a list's own controls, after the shared ones.
    virtual void ApplyOwnTexts(const storage::LanguageFile&) {}
    // The window grows so that OK, which keeps to the right edge, never covers the control.
    void KeepClearOfOk(const QWidget& control);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The title of the row the main window uses now, selected when the list opens.
    virtual QString CurrentTitle() const { return {}; }

    Services& services_;
    ListDesign design_;
    ListViewModel* model_;
    storage::RowEdit rowEdit_;
    EntryDialog* dialog_ = nullptr;

private:
    void BuildView(int width);
    void ShowCurrentRow();
    void ApplyLanguage();
    void FitColumns();
    void WidenToTitles();

    bool updating_ = false;
    int okFromRight_ = 0;                                              // where OK stands, from the right edge
    std::vector<std::pair<QToolButton*, const char*>> tippedButtons_;  // and their hints' keys
};

}  // namespace devical::ui
