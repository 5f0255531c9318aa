// The one-row entry dialog of the lists: a title box and one or two amount boxes. Stays on
// top, not modal; every activation reloads its boxes from the list's working row.
#pragma once

#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/message_box.h"
#include "ui/common/placed.h"
#include "ui/lists/list_editor.h"

namespace devical::ui {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // What the boxes after the title hold: one rate, or amounts.
    enum class Holds { Rate, Amounts };
    EntryDialog(Services& services, ListWindow& list, const char* instanceName, const char* faceSection,
                int amountBoxes, Holds holds, QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    // Opened for a row: typing starts in the title box. Never shown, the dialog gives it the
    // focus as it is first activated.
    void FocusFirstBox() {
        if (focusWidget() && focusWidget() != Edit1) Edit1->setFocus(Qt::OtherFocusReason);
    }
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
    // What typing may make of the title box.
    void LimitTitle(int length) { titleLength_ = length; }
    void reject() override { BitBtn2Click(); }

    Services& services_;
    ListWindow& list_;

private:
    QLineEdit* Box(const char* name, Place place, const QString& accessibleName);
    void BuildAmountBoxes(bool twoAmounts);
    // A text that is not a number becomes "0"; a number stays as typed.
    void ValidateAmount(QLineEdit* box);
    // A rate that is not a number is refused with its message, the rate box focused.
    bool RateRefused();
    // Wide enough for the caption to show whole on the frame.
    void FitTexts();
    int designWidth_ = 0;
    QHash<QWidget*, QRect> designPlaces_;  // of the controls that move or widen with the texts
    int titleLength_ = 32767;              // a line box's own limit
    const char* faceSection_;
    Holds holds_;
    platform::MessageBoxReturn messageBoxReturn_;
};

}  // namespace devical::ui
