#include "ui/lists/Rates1.h"

#include <QRegularExpression>

#include "platform/desktop.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "ui/common/accessibility.h"
#include "ui/common/qt_text.h"

namespace devical::ui {

TRates::TRates(Services& services, QWidget* parent)
    : ListWindow(services,
                 {storage::ListKind::Currencies,
                  "Rates",
                  "Taux de change",
                  "Rates_Face",
                  "Rates_Tips",
                  "Rates.txt",
                  "DontExistRate",
                  "SelRateBeforeOk",
                  {QStringLiteral("Titre"), QStringLiteral("Taux")}},
                 parent) {
    Bt_Update = PanelButton("Bt_Update", 123, QStyle::SP_BrowserReload, QStringLiteral("Taux du jour (F5)"));
    connect(Bt_Update, &QToolButton::clicked, this, &TRates::Bt_UpdateClick);
    connect(&update_, &QProcess::finished, this, &TRates::UpdateEnded);
    connect(&update_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) UpdateEnded(-1, QProcess::CrashExit);
    });
}

void TRates::ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_F5) return Bt_UpdateClick();
    ListWindow::ListView1KeyDown(key, modifiers);
}

// The rows are written first, so that the command works on what the user sees; the window
// stays usable meanwhile, only the list and the button wait.
void TRates::Bt_UpdateClick() {
    if (Updating() || !SaveList()) return;
    ShowWorking(true);
    update_.start(platform::ExecutableDirectory() + QStringLiteral("devical-rates"),
                  {QStringLiteral("--directory"), services_.ProgramDirectory()});
}

void TRates::ShowWorking(bool working) {
    Bt_Update->setEnabled(!working);
    ListView1->setEnabled(!working);
    if (working) {
        setCursor(Qt::BusyCursor);
        Announce(this, services_.MessageText("RatesUpdating"));
    } else {
        unsetCursor();
        ListView1->setFocus(Qt::OtherFocusReason);
    }
}

// A changed row is one line "CODE old -> new" of the command's report; the date is the one
// it stored beside the rates.
void TRates::UpdateEnded(int exitCode, QProcess::ExitStatus status) {
    ShowWorking(false);
    const QString report = QString::fromUtf8(update_.readAllStandardOutput());
    const QString failure = QString::fromUtf8(update_.readAllStandardError()).trimmed();
    if (status != QProcess::NormalExit || exitCode != 0) {
        ShowError(failure.isEmpty() ? services_.MessageText("RatesFailed") : failure);
    } else {
        FormCreate();
        const qsizetype changed = report.count(QRegularExpression(QStringLiteral("(?m)^[A-Z]{3} .* -> ")));
        const auto settings = storage::FindFileNoCase(Utf8(services_.ProgramDirectory()), "DEVICAL.INI");
        const QString date = Text(storage::IniRead(settings, "Rates", "Date", ""));
        services_.ShowMessage(this, platform::MessageKind::Notice,
                              services_.MessageText("RatesUpdated").arg(changed).arg(date));
    }
    emit updateFinished();
}

}  // namespace devical::ui
