// The list editor behind the currency, tax and saved-amount lists: a sorted report view,
// five actions (edit, insert, delete, choose, leave) on buttons, keys and double-click, a
// modeless entry dialog that edits one row, and the list file, written when the window is
// left with OK or Exit.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <optional>
#include <vector>

#include "engine/amount.h"
#include "engine/rate_check.h"
#include "platform/message_box.h"
#include "storage/list_file.h"

namespace devical::ui {

class TCalc;
class EntryDialog;

// The working row shared by a list window and its entry dialog. The dialog stores into the
// row it was opened for, found by identity: rows inserted, deleted or re-sorted meanwhile
// cannot redirect it, and a row deleted meanwhile comes back as a new row, so nothing
// typed is lost.
struct RowEdit {
    QString Title;
    QStringList Amounts;  // the rate, or the national and euro amounts
    QString Mode;         // "MODIF" or "INSERT"
    quint64 RowId = 0;
};

// What tells the three lists apart.
struct ListDesign {
    const char* instanceName;   // "Rates"
    const char* caption;        // design caption, replaced by the language file
    const char* faceSection;    // "Rates_Face": Title, Column1..3
    const char* tipsSection;    // "Rates_Tips": Edit, Add, Del, Copy, Ok, Cancel
    const char* fileName;       // "Rates.txt"
    const char* missingFileKey; // "DontExistRate"
    const char* noChoiceKey;    // "SelRateBeforeOk"
    QStringList columns;        // design captions
    int fieldsPerRow;           // 2 or 3
    bool copyButton;            // the saved amounts' "copy the current memory"
};

class ListWindow : public QWidget {
    Q_OBJECT
public:
    ListWindow(TCalc& calc, ListDesign design, QWidget* parent = nullptr);
    ~ListWindow() override;

    void SetEntryDialog(EntryDialog* dialog) { dialog_ = dialog; }
    RowEdit& Edit() { return rowEdit_; }

    // Texts from the language file, then the rows from the list file.
    void FormCreate();
    void ShowList();

    void Bt_EditClick();
    void Bt_AjoutClick();
    void Bt_DelClick();
    void Bt_OKClick();
    void Bt_ExitClick();
    void ListView1DblClick() { Bt_OKClick(); }
    virtual void ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void ListView1KeyPress(QChar character);

    // The entry dialog's OK: amounts first, title last, into the row the dialog was
    // opened for.
    void StoreRow(const RowEdit& row);

    // The rows in their order, as the file holds them.
    std::vector<storage::ListRecord> Records() const;

    QTreeWidget* ListView1{};
    QWidget* Panel1{};
    QToolButton *Bt_Edit{}, *Bt_Ajout{}, *Bt_Del{}, *Bt_OK{}, *Bt_Exit{};

protected:
    // The row chosen with OK: what the list hands to the main window. False keeps the
    // window open (a rate that is not a number, a file that cannot be written).
    virtual bool ChooseRow(const QTreeWidgetItem& row) = 0;
    // The fields of a new row, title first.
    virtual QStringList PlaceholderRow() = 0;
    // The working row for editing a row (the saved amounts split off the currency prefix).
    virtual RowEdit EditFor(const QTreeWidgetItem& row);
    virtual bool IsLocked(const QTreeWidgetItem&) const { return false; }
    // Gives a row its mark: fromFile for rows read by the list file, false for rows added
    // in the window.
    virtual void MarkRow(QTreeWidgetItem&, bool /*fromFile*/) {}

    static quint64 RowIdOf(const QTreeWidgetItem& row);
    // The listed rate as a number, or nothing once the conversion error has been shown.
    std::optional<engine::Amount> ListedRate(const QTreeWidgetItem& row);
    QTreeWidgetItem* SelectedRow() const;
    QTreeWidgetItem* AppendRow(const QStringList& fields, bool fromFile = false);
    void SetSorted(bool sorted);
    bool SaveList();
    void Leave();
    void OpenEntryDialog();
    void ShowNotice(const char* messageKey);
    void ShowError(const QString& text);
    QString FilePath() const;
    QStringList Fields(const QTreeWidgetItem& row) const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    TCalc& calc_;
    ListDesign design_;
    RowEdit rowEdit_;
    EntryDialog* dialog_ = nullptr;
    bool sorted_ = true;
    quint64 nextRowId_ = 1;
};

// The one-row entry dialog: a title box and one or two amount boxes. Stays on top, not
// modal; every activation reloads its boxes from the shared working row.
class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // rateKind: the one box holds a rate of that kind; without it, the boxes hold amounts.
    EntryDialog(TCalc& calc, ListWindow& list, const char* instanceName, const char* faceSection, int amountBoxes,
                std::optional<engine::RateKind> rateKind, QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    void Edit2Exit();
    void Edit3Exit() { ValidateAmount(Edit3); }
    void BitBtn1Click();
    void BitBtn2Click();

    QLineEdit *Edit1{}, *Edit2{}, *Edit3{};
    QLabel *Label1{}, *Label2{};
    QPushButton *BitBtn1{}, *BitBtn2{};

protected:
    // The title stored for the text of the title box.
    virtual QString StoredTitle(const QString& typed) const { return typed; }
    void changeEvent(QEvent* event) override;
    void reject() override { BitBtn2Click(); }

    TCalc& calc_;
    ListWindow& list_;

private:
    // A text that is not a number becomes "0"; a number stays as typed.
    void ValidateAmount(QLineEdit* box);
    // A rate the converter cannot use is refused with its message, the rate box focused.
    bool RateRefused();
    // Wide enough for the caption to show whole on the frame.
    void FitCaption();
    int designWidth_ = 0;
    const char* faceSection_;
    std::optional<engine::RateKind> rateKind_;
    platform::MessageBoxReturn messageBoxReturn_;
};

}  // namespace devical::ui
