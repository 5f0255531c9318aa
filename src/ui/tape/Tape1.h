// The paper tape's window: every line the calculator printed, the newest at the bottom,
// following as lines come. A line clicked, or Enter on it, goes into the box under entry as
// MR puts the memory; the lines copy for a spreadsheet, save as text or CSV, print, or go
// into a PDF document. The
// calculator's own keys typed here reach the calculator, so that the tape can be followed by
// ear while working.
#pragma once

#include <QToolButton>
#include <QTreeView>
#include <QWidget>

#include "ui/services.h"
#include "ui/tape/tape_model.h"
#include "ui/tape/tape_pages.h"

namespace devical::ui {

class TTape : public QWidget {
    Q_OBJECT
public:
    explicit TTape(Services& services, QWidget* parent = nullptr);

    // Texts from the language file.
    void FormCreate();
    // In front, the newest line current.
    void ShowTape();

    void Bt_CopyClick();   // the whole tape
    void Bt_SaveClick();   // asks where, then SaveTo
    void Bt_ClearClick();  // after a question
    // The tape, or the lines picked when there are several, on pages: through the print
    // dialog, or into a PDF document named in a save dialog.
    void Bt_PrintClick();
    void Bt_PdfClick();
    // Hidden, the tape gives the activation back to the calculator, as a list does.
    void Bt_ExitClick() {
        hide();
        services_.TakeBackActivation();
    }
    void CopySelection();
    void RecallRow(int row);
    // As text, or as CSV for a name ending in ".csv"; false once a failure has been shown.
    bool SaveTo(const QString& path);
    bool SavePdf(const QString& path);  // false as above

    QTreeView* ListView1{};
    QWidget* Panel1{};
    QToolButton *Bt_Copy{}, *Bt_Save{}, *Bt_Clear{}, *Bt_Print{}, *Bt_Pdf{}, *Bt_Exit{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* PanelButton(const char* name, int left, const QIcon& picture, const char* tipsKey);
    void FollowNewLine();
    void FitLineColumn();
    void MakeCurrent(int row);
    bool TakeShortcut(const QKeyEvent& key);
    std::vector<int> PickedRows() const;  // in tape order
    TapePrintout Printout() const;
    // The name the user gives in a save dialog titled as the button, with the filter chosen;
    // empty when cancelled.
    QString AskWhereToSave(const QToolButton& button, const QStringList& filters, const char* dialogName,
                           QString& chosenFilter);
    bool WriteFile(const QString& path, const std::string& bytes);
    void ShowPrintFailure(const QString& reason);

    Services& services_;
    TapeModel* model_;
    std::vector<std::pair<QToolButton*, const char*>> tippedButtons_;
    QString textFiles_, csvFiles_, pdfFiles_;  // the save dialogs' filters
    QString pageNumber_;                       // "Page %1 / %2"
};

}  // namespace devical::ui
