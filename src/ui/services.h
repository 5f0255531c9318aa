// What the list windows, their entry dialogs and the title question need from the rest of
// the program: its files and texts, and a way to hand back what the user chose. They know
// the main window only through this.
#pragma once

#include <QtCore/qnamespace.h>
#include <QString>
#include <optional>
#include <string_view>

#include "platform/message_box.h"
#include "session/tape_log.h"
#include "storage/language_file.h"
#include "storage/list_model.h"
#include "storage/settings.h"

class QWidget;

namespace devical::ui {

class Services {
public:
    virtual ~Services() = default;

    // With its trailing '/', or empty for the current directory.
    virtual QString ProgramDirectory() const = 0;
    // The language file, or nothing once the reason it cannot be read has been shown.
    virtual std::optional<storage::LanguageFile> OpenLanguageFile() = 0;
    virtual QString MessageText(std::string_view key) const = 0;
    virtual platform::MessageAnswer ShowMessage(QWidget* parent, platform::MessageKind kind, const QString& text) = 0;
    // A row chosen in a list, written to the settings file: the main window's next activation
    // re-evaluates with it. False, the reason shown, when it cannot be written.
    virtual bool Choose(const storage::RowChoice& choice) = 0;
    // A title typed in the question, written to the settings file; false as above.
    virtual bool StoreTitle(storage::TitleTarget target, const std::string& title) = 0;
    // The daily update of the rates at start-up, and its change, written at once (false as above).
    virtual bool RatesDaily() const = 0;
    virtual QString RatesDay() const = 0;  // ISO; empty before any rates were taken
    virtual bool StoreRatesDaily(bool daily) = 0;
    // The current currency's and tax's titles, and the code and blank put in front of memory titles.
    virtual QString CurrencyTitle() const = 0;
    virtual QString TaxTitle() const = 0;
    virtual QString MemoryCurrencyPrefix() const = 0;
    virtual void SetMemoryCurrencyPrefix(const QString& prefix) = 0;
    // A list or dialog has closed: the main window becomes active again.
    virtual void TakeBackActivation() = 0;
    // Another program rewrote the list files (an update of the rates): every list follows.
    virtual void ListFilesChanged() = 0;
    // The paper tape; a line of it put into the box under entry; a key typed in the tape
    // window that belongs to the calculator.
    virtual session::TapeLog& Tape() = 0;
    // The currency, its rate and day, the tax rate and decimals in force, as the tape says them.
    virtual engine::TapeSettings TapeSettings() const = 0;
    virtual void RecallFromTape(std::size_t line) = 0;
    virtual void TypeIntoCalculator(int key, Qt::KeyboardModifiers modifiers, const QString& text) = 0;
};

}  // namespace devical::ui
