#include "ui/lists/Rates1.h"

#include <QRegularExpression>
#include <cstdio>

#include "platform/desktop.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "ui/common/accessibility.h"
#include "ui/common/placed.h"
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
    Bt_Update = PanelButton("Bt_Update", 123, style()->standardIcon(QStyle::SP_BrowserReload),
                            QStringLiteral("Taux du jour (F5)"), "Update");
    connect(Bt_Update, &QToolButton::clicked, this, &TRates::Bt_UpdateClick);
    Cb_Daily = Placed(new QCheckBox(Panel1), "Cb_Daily", {157, 6, 72, 18});
    connect(Cb_Daily, &QCheckBox::clicked, this, [this](bool daily) {
        if (!services_.StoreRatesDaily(daily)) Cb_Daily->setChecked(!daily);
    });
    connect(&update_, &QProcess::finished, this, &TRates::UpdateEnded);
    connect(&update_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) UpdateEnded(-1, QProcess::CrashExit);
    });
}

void TRates::ApplyOwnTexts(const storage::LanguageFile& lan) {
    Cb_Daily->setText(Text(lan.Text(design_.faceSection, "Daily")));
    Cb_Daily->setToolTip(Text(lan.Text(design_.tipsSection, "Daily")));
    Cb_Daily->setAccessibleName(Cb_Daily->toolTip());
    Cb_Daily->resize(Cb_Daily->sizeHint().width(), Cb_Daily->height());  // as wide as its text
    KeepClearOfOk(*Cb_Daily);
}

void TRates::ListView1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_F5) return Bt_UpdateClick();
    ListWindow::ListView1KeyDown(key, modifiers);
}

void TRates::showEvent(QShowEvent* event) {
    Cb_Daily->setChecked(services_.RatesDaily());
    ListWindow::showEvent(event);
}

// The rows are written first, so that the command works on what the user sees; the window
// stays usable meanwhile, only the list and the button wait.
void TRates::Bt_UpdateClick() {
    if (Updating() || !SaveList()) return;
    quiet_ = false;
    ShowWorking(true);
    StartUpdate();
}

void TRates::UpdateQuietly() {
    if (Updating() || isVisible()) return;  // an open list is the user's to update
    quiet_ = true;
    StartUpdate();
}

void TRates::StartUpdate() {
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
    const QString report = QString::fromUtf8(update_.readAllStandardOutput());
    const QString failure = QString::fromUtf8(update_.readAllStandardError()).trimmed();
    const bool done = status == QProcess::NormalExit && exitCode == 0;
    if (quiet_) {
        // The main window takes a moved rate at its activation; a failure waits for tomorrow.
        if (done) {
            FormCreate();
            services_.TakeBackActivation();
        } else {
            std::fprintf(stderr, "devical: the daily rates: %s\n", failure.toLocal8Bit().constData());
        }
        emit updateFinished();
        return;
    }
    ShowWorking(false);
    if (!done) {
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
