// A label that never shows its text silently cut. An amount first shrinks its font down to a
// readable size, then is shortened without losing its size or the digit being typed
// (ElideAmount); a title is elided with "…", except for a tail that must always show (the
// rate in "TVA (20,6 %)").
// Whatever is cut is shown whole in the tooltip, ahead of the label's own hint. text() is
// always the whole text.
#pragma once

#include <QLabel>

namespace devical::ui {

class FittedLabel : public QLabel {
    Q_OBJECT
public:
    // A title is elided; a caption first shrinks its font as an amount does, then is elided.
    enum class Fit { Title, Caption, Amount };

    explicit FittedLabel(const QString& text = {}, QWidget* parent = nullptr);

    void SetFit(Fit fit);
    Fit GetFit() const { return fit_; }
    // Hides QLabel::setText so that the tooltip follows at once; painting refits anyway.
    void setText(const QString& text) { SetText(text, {}); }
    void SetText(const QString& title, const QString& tail);
    // An amount being typed shows its end, where the digits arrive.
    void SetTyping(bool typing);

    // What is drawn, and in which font.
    const QString& ShownText() const { return shown_; }
    const QFont& ShownFont() const { return shownFont_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Refit();
    void RefitWhenShown();
    QRect TextRect() const;
    bool Fits(const QFontMetrics& metrics, const QString& text) const;
    QString Elided(const QFontMetrics& metrics) const;
    void ShowTip();

    Fit fit_ = Fit::Title;
    bool typing_ = false;
    QString tail_;
    QString hint_;
    QString shown_;
    QFont shownFont_;
    QString fittedText_;
    QSize fittedSize_;
    bool settingTip_ = false;
};

}  // namespace devical::ui
