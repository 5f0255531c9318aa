// The currency list: choosing a row makes it the current currency. Its rates can be brought
// up to date from the European Central Bank's reference rates by the separate command
// devical-rates, run in the background (the button, F5), the list reloaded afterwards; or to
// those of a past day, picked in the day field, from the local history the command keeps.
#pragma once

#include <QCheckBox>
#include <QDateEdit>
#include <QProcess>

#include "rates/rate_update.h"
#include "ui/lists/list_editor.h"

namespace devical::ui {

class TRates : public ListWindow {
    Q_OBJECT
public:
    explicit TRates(Services& services, QWidget* parent = nullptr);

    void Bt_UpdateClick();
    // The rates of the day in the day field, from the local history kept by devical-rates.
    void DayPicked();
    // The update that a start asks for once a day: nothing said, unless the amounts move.
    void UpdateQuietly();

signals:
    void updateFinished();  // the list reloaded or the failure shown

protected:
    QString CurrentTitle() const override { return services_.CurrencyTitle(); }
    void showEvent(QShowEvent* event) override;
    void ApplyOwnTexts(const storage::LanguageFile& lan) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateEnded(int exitCode, QProcess::ExitStatus status);
    QString FailureText(const rates::UpdateReport& result, const QString& written) const;
    void SetUpdating(bool updating);

    void StartUpdate(const QStringList& day = {});
    void ShowRatesDay(const QString& iso);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QToolButton* Bt_Update{};
    QCheckBox* Cb_Daily{};
    QDateEdit* Ed_Day{};
    QString pickedDay_;  // ISO, of the run under way; empty for today's rates
    QString ownTitle_;   // the list's name, while the title says the update
    QProcess update_;
    bool quiet_ = false;
};

}  // namespace devical::ui
