#include "ui/lists/Rates1.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <cstdio>

#include "engine/builtin_texts.h"
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
    // The day of the rates: the ECB's first day to today, in the set's date format.
    Ed_Day = Placed(new QDateEdit(Panel1), "Ed_Day", {0, 4, 96, 22});
    Ed_Day->setCalendarPopup(true);
    Ed_Day->setDateRange(QDate(1999, 1, 4), QDate::currentDate());
    Ed_Day->installEventFilter(this);
    // The calendar's day itself: the field may take it only after this is told.
    const auto pick = [this](QDate day) {
        Ed_Day->setDate(day);
        DayPicked();
    };
    connect(Ed_Day->calendarWidget(), &QCalendarWidget::activated, this, pick);
    connect(Ed_Day->calendarWidget(), &QCalendarWidget::clicked, this, pick);
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
    // Month and day names in the set's language, whatever the user's locale.
    static const QLocale::Language kLanguages[] = {QLocale::French, QLocale::English, QLocale::German};
    const QLocale language(kLanguages[static_cast<int>(engine::CurrentBuiltInLanguage())]);
    Ed_Day->setLocale(language);
    Ed_Day->calendarWidget()->setLocale(language);
    Ed_Day->setDisplayFormat(Text(engine::BuiltInText("DateFormat")));
    Ed_Day->setToolTip(Text(lan.Text(design_.tipsSection, "Day", engine::BuiltInText("RatesDayHint"))));
    Ed_Day->setAccessibleName(Ed_Day->toolTip());
    // The day field stands between the reload button and the daily box, in the Tab order too;
    // the daily box stays the last control, which Shift+Tab from the list reaches.
    Ed_Day->move(Bt_Update->geometry().right() + 4, Ed_Day->y());
    Cb_Daily->move(Ed_Day->geometry().right() + 6, Cb_Daily->y());
    setTabOrder(Bt_Update, Ed_Day);
    setTabOrder(Ed_Day, Cb_Daily);
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

// Today's rates come from the bank, as the reload button has them; a past day's from the history.
void TRates::DayPicked() {
    if (Updating() || !SaveList()) return;
    quiet_ = false;
    const QDate day = Ed_Day->date();
    if (day == QDate::currentDate())
        StartUpdate();
    else
        StartUpdate({QStringLiteral("--date"), day.toString(Qt::ISODate)});
}

// Enter in the day field takes that day, rather than choosing the list's row; F4 or Alt+Down
// opens its calendar, as a click on its arrow does.
//
// Tab and Shift+Tab select the day's first or last part only once the focus has been told: a
// screen reader says the field's name and day first, not a lone selected "2026" before them.
bool TRates::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Ed_Day && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            QFocusEvent unselected(QEvent::FocusIn, Qt::MouseFocusReason);  // the field's focus, nothing selected
            QCoreApplication::sendEvent(Ed_Day, &unselected);
            QTimer::singleShot(0, Ed_Day, [this, reason] {
                if (!Ed_Day->hasFocus()) return;
                const int part = reason == Qt::TabFocusReason ? 0 : Ed_Day->sectionCount() - 1;
                Ed_Day->setSelectedSection(Ed_Day->sectionAt(part));
            });
            return true;
        }
    }
    // A day typed but not taken gives way to the day the rates are of once the field is left,
    // for its calendar aside.
    if (watched == Ed_Day && event->type() == QEvent::FocusOut && !Updating() &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        ShowRatesDay(services_.RatesDay());
    if (watched == Ed_Day && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            DayPicked();
            return true;
        }
        if (key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && key->modifiers() == Qt::AltModifier)) {
            const QPointF arrow(Ed_Day->width() - 4, Ed_Day->height() / 2);
            QMouseEvent press(QEvent::MouseButtonPress, arrow, Ed_Day->mapToGlobal(arrow), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(Ed_Day, &press);
            return true;
        }
    }
    return ListWindow::eventFilter(watched, event);
}

void TRates::StartUpdate(const QStringList& day) {
    SetUpdating(true);
    pickedDay_ = day.isEmpty() ? QString() : day.last();
    update_.start(
        platform::ExecutableDirectory() + QStringLiteral("devical-rates"),
        QStringList{QStringLiteral("--directory"), services_.ProgramDirectory(), QStringLiteral("--machine")} + day);
}

void TRates::SetUpdating(bool updating) {
    ListWindow::SetUpdating(updating);
    Bt_Update->setEnabled(!updating);
    Ed_Day->setEnabled(!updating);
    const QString working = services_.MessageText("RatesUpdating");
    // The title says so, where a screen reader finds it again: alone, as the list's name and
    // it would not fit beside the frame's buttons in every language.
    if (updating) {
        ownTitle_ = windowTitle();
        setWindowTitle(working);
        setCursor(Qt::BusyCursor);
        if (isVisible()) Announce(this, working);
    } else {
        if (windowTitle() == working) setWindowTitle(ownTitle_);  // unless a new language named the list meanwhile
        unsetCursor();
    }
}

void TRates::showEvent(QShowEvent* event) {
    Cb_Daily->setChecked(services_.RatesDaily());
    Ed_Day->setMaximumDate(QDate::currentDate());  // a window kept open for days
    ShowRatesDay(services_.RatesDay());
    ListWindow::showEvent(event);
    if (Updating()) Announce(this, services_.MessageText("RatesUpdating"));
}

namespace {

// A text of the program by its key, filled with its parts; empty for a key it does not know.
std::string ReasonText(const std::vector<std::string>& reason) {
    if (reason.empty()) return {};
    const std::vector<std::string_view> parts(reason.begin() + 1, reason.end());
    const std::string text = engine::BuiltInText(reason.front());
    return text.empty() ? text : engine::FillIn(text, parts);
}

}  // namespace

// The command's reason in the window's own language, when it gave one; else what it wrote.
QString TRates::FailureText(const rates::UpdateReport& result, const QString& written) const {
    // A reason this window has no words for (a newer command's) is told in the command's.
    if (const std::string reason = ReasonText(result.failure); !reason.empty())
        return Text(reason + "\n" + engine::BuiltInText("RatesNothingChanged"));
    return written.isEmpty() ? services_.MessageText("RatesFailed") : written;
}

void TRates::ShowRatesDay(const QString& iso) {
    const QDate day = QDate::fromString(iso, Qt::ISODate);
    Ed_Day->setDate(day.isValid() ? day : QDate::currentDate());
}

void TRates::UpdateEnded(int exitCode, QProcess::ExitStatus status) {
    const rates::UpdateReport result = rates::ReadUpdateResult(update_.readAllStandardOutput().toStdString());
    const QString failure = QString::fromUtf8(update_.readAllStandardError()).trimmed();
    const bool done = status == QProcess::NormalExit && exitCode == 0;
    SetUpdating(false);
    // The rows follow the new file, the user's own edits kept for the next save; the main
    // window takes a moved rate at its activation.
    if (done) {
        services_.ListFilesChanged();
        ShowRatesDay(Text(result.date));  // the day the rates are of, a holiday's working day before
    }
    if (quiet_ && done) services_.TakeBackActivation();
    if (quiet_) {
        // A failure waits for tomorrow.
        if (!done)
            std::fprintf(stderr, "devical: %s\n",
                         engine::BuiltInText("DailyRatesFailed", {failure.toLocal8Bit().toStdString()}).c_str());
    } else if (!done) {
        ShowError(FailureText(result, failure));
    } else {
        const std::size_t changed = result.changed.size();
        // A day picked without rates of its own says whose rates it took.
        const QString taken = !pickedDay_.isEmpty() && Text(result.date) != pickedDay_
                                  ? Text(engine::BuiltInText("RatesDateTaken", {engine::ShownDate(Utf8(pickedDay_)),
                                                                                engine::ShownDate(result.date)})) +
                                        QLatin1Char('\n')
                                  : QString();
        QString kept = result.unpublished.empty() ? QString() : '\n' + Text(rates::KeptRatesSentence(result));
        for (const std::vector<std::string>& notice : result.notices)  // a damaged history, to make anew
            if (const std::string said = ReasonText(notice); !said.empty()) kept += '\n' + Text(said);
        services_.ShowMessage(this, platform::MessageKind::Notice,
                              taken +
                                  services_.MessageText(changed == 1 ? "RatesUpdatedOne" : "RatesUpdated")
                                      .arg(static_cast<qsizetype>(changed))
                                      .arg(ShownDate(result.date)) +
                                  kept);
    }
    if (isVisible()) ListView1->setFocus(Qt::OtherFocusReason);
    emit updateFinished();
}

}  // namespace devical::ui
