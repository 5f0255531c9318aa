#include "ui/lists/Rates1.h"

#include <QKeyEvent>
#include <cstdio>

#include "platform/desktop.h"
#include "rates/update_result.h"
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

// F5 from anywhere in the window: the list and the panel's buttons leave it to the window.
void TRates::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) return Bt_UpdateClick();
    ListWindow::keyPressEvent(event);
}

// The rows are written first, so that the command works on what the user sees; the window
// stays usable meanwhile, only the list and the button wait.
void TRates::Bt_UpdateClick() {
    if (Updating() || !SaveList()) return;
    quiet_ = false;
    StartUpdate();
}

void TRates::UpdateQuietly() {
    if (Updating() || isVisible()) return;  // an open list is the user's to update
    quiet_ = true;
    StartUpdate();
}

void TRates::StartUpdate() {
    SetUpdating(true);
    update_.start(platform::ExecutableDirectory() + QStringLiteral("devical-rates"),
                  {QStringLiteral("--directory"), services_.ProgramDirectory(), QStringLiteral("--machine")});
}

void TRates::SetUpdating(bool updating) {
    ListWindow::SetUpdating(updating);
    Bt_Update->setEnabled(!updating);
    const QString working = services_.MessageText("RatesUpdating");
    // The title says so, where a screen reader finds it again.
    if (updating) {
        setWindowTitle(windowTitle() + QStringLiteral(" — ") + working);
        setCursor(Qt::BusyCursor);
        if (isVisible()) Announce(this, working);
    } else {
        setWindowTitle(windowTitle().remove(QStringLiteral(" — ") + working));
        unsetCursor();
    }
}

void TRates::showEvent(QShowEvent* event) {
    Cb_Daily->setChecked(services_.RatesDaily());
    ListWindow::showEvent(event);
    if (Updating()) Announce(this, services_.MessageText("RatesUpdating"));
}

// The command's reason in the window's own language, when it gave one; else what it wrote.
QString TRates::FailureText(const rates::UpdateReport& result, const QString& written) const {
    // A reason this window has no words for (a newer command's) is told in the command's.
    if (!result.failure.empty() && !engine::BuiltInText(result.failure.front()).empty()) {
        const std::vector<std::string_view> parts(result.failure.begin() + 1, result.failure.end());
        return Text(engine::FillIn(engine::BuiltInText(result.failure.front()), parts) + "\n" +
                    engine::BuiltInText("RatesNothingChanged"));
    }
    return written.isEmpty() ? services_.MessageText("RatesFailed") : written;
}

void TRates::UpdateEnded(int exitCode, QProcess::ExitStatus status) {
    const rates::UpdateReport result = rates::ReadUpdateResult(update_.readAllStandardOutput().toStdString());
    const QString failure = QString::fromUtf8(update_.readAllStandardError()).trimmed();
    const bool done = status == QProcess::NormalExit && exitCode == 0;
    SetUpdating(false);
    // The rows follow the new file, the user's own edits kept for the next save; the main
    // window takes a moved rate at its activation.
    if (done) services_.ListFilesChanged();
    if (quiet_ && done) services_.TakeBackActivation();
    if (quiet_) {
        // A failure waits for tomorrow.
        if (!done) std::fprintf(stderr, "devical: the daily rates: %s\n", failure.toLocal8Bit().constData());
    } else if (!done) {
        ShowError(FailureText(result, failure));
    } else {
        const std::size_t changed = result.changed.size();
        services_.ShowMessage(this, platform::MessageKind::Notice,
                              services_.MessageText(changed == 1 ? "RatesUpdatedOne" : "RatesUpdated")
                                  .arg(static_cast<qsizetype>(changed))
                                  .arg(ShownDate(result.date)));
    }
    if (isVisible()) ListView1->setFocus(Qt::OtherFocusReason);
    emit updateFinished();
}

}  // namespace devical::ui
