// The about box: who made Devical and how to reach them. Its texts are built in, in the
// language in use when it is shown.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

namespace devical::app {

class TInfo : public QDialog {
    Q_OBJECT
public:
    explicit TInfo(QWidget* parent = nullptr);

    void Connect_MailClick();
    void Connect_Web2Click();
    void Bt_CloseClick() { hide(); }

    static const char* MailAddress() { return "devical@example.org"; }
    static const char* WebAddress() { return "https://devical.example.org/"; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyTexts();

    QLabel *Label7{}, *Label2{}, *Label1{}, *Label4{}, *Label5{};
    QLabel* Connect_Mail{};
    QLabel* Connect_Web2{};
    QPlainTextEdit* Memo1{};
    QToolButton* Bt_Close{};
};

}  // namespace devical::app
