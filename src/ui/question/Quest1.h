// The one-line question that renames the net line, the gross line or the memory register.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "storage/settings.h"

namespace devical::ui {

class Services;

class TQuestion : public QDialog {
    Q_OBJECT
public:
    explicit TQuestion(Services& services, QWidget* parent = nullptr);

    void FormCreate();
    // The dialog opens (or is retargeted) with the title preset.
    void Ask(storage::TitleTarget target, const QString& title);
    void FormShow();
    void Bt_OKClick();
    void Bt_CloseClick();

    QLineEdit* Edit_Reponse{};
    QLabel* Lib_Cas{};  // the target's tag: "HT", "TTC" or "MEM"
    QPushButton *Bt_OK{}, *Bt_Close{};

protected:
    void reject() override { Bt_CloseClick(); }

private:
    Services& services_;
    storage::TitleTarget target_ = storage::TitleTarget::Net;
};

}  // namespace devical::ui
