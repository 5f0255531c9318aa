// The language choice: five fixed rows, the one of the user's locale selected each time the
// dialog becomes active; OK (Enter, double-click) installs the chosen set without a restart.
// Its own texts are built in, in the language in use, and never come from the language file.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

#include "engine/builtin_texts.h"
#include "platform/message_box.h"

namespace devical::ui {

// What the dialog needs of the program around it.
class LanguageSwitchHost {
public:
    virtual ~LanguageSwitchHost() = default;
    // With its trailing '/', or empty for the current directory.
    virtual QString ProgramDirectory() const = 0;
    // Before the files change: what the open windows hold is written to its file, as leaving
    // them would. False, the reason shown, stops the switch.
    virtual bool SaveOpenWork() = 0;
    // After: every window made so far reads its texts and lists again, then the main
    // window's activation step runs.
    virtual void ReloadWindows() = 0;
    virtual platform::MessageAnswer ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) = 0;
    // Ends the program, as the main window's exit commands do.
    virtual void EndProgram() = 0;
};

class TChx_Langue : public QDialog {
    Q_OBJECT
public:
    explicit TChx_Langue(LanguageSwitchHost& host, QWidget* parent = nullptr);

    // Opens the dialog for a switch away from the installed language.
    void Open(const QString& installedLanguage);
    void FormActivate();
    void Bt_OkClick();
    // Closes the dialog; on a first run, with no language chosen yet, ends the program.
    void Bt_ExitClick();
    void ListView1DblClick() { Bt_OkClick(); }

    const QString& PreviousLanguage() const { return previousLanguage_; }

    QTreeWidget* ListView1{};
    QPushButton *Bt_Ok{}, *Bt_Exit{};

protected:
    void changeEvent(QEvent* event) override;
    void reject() override { Bt_ExitClick(); }

private:
    void ApplyTexts();

    engine::BuiltInLanguage OwnLanguage() const;

    LanguageSwitchHost& host_;
    QString previousLanguage_ = QStringLiteral("FR");
    platform::MessageBoxReturn messageBoxReturn_;
};

}  // namespace devical::ui
