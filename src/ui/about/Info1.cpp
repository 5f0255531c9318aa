#include "ui/about/Info1.h"

#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "ui/common/accessibility.h"
#include "ui/common/click_filter.h"
#include "ui/common/colours.h"
#include "ui/common/focus_ring.h"
#include "ui/common/icons.h"
#include "ui/common/placed.h"

namespace devical::app {

namespace {

QLabel* Line(QWidget* parent, const char* name, int top, int height, const QString& text, int points, bool bold,
             const QColor& colour, bool underline = false) {
    auto* label = ui::Placed(new QLabel(text, parent), name, {0, top, 360, height});
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    font.setUnderline(underline);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ui::Readable(colour, palette, QPalette::Window, QPalette::WindowText));
    label->setPalette(palette);
    label->setAccessibleName(text);
    return label;
}

}  // namespace

TInfo::TInfo(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    ui::InstallAccessibility();  // the links are read as links, whichever window came first
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(360, 250);  // 368 x 274 with the frame
    const QColor text = palette().color(QPalette::WindowText);
    Label7 = Line(this, "Label7", 22, 20, {}, 10, true, ui::kNavy);
    Label2 = Line(this, "Label2", 42, 20, {}, 10, true, ui::kNavy);
    Label1 = Line(this, "Label1", 62, 22, {}, 10, true, ui::kNavy);
    Connect_Mail = Line(this, "Connect_Mail", 84, 25, {}, 10, true, ui::kNavy, true);
    Label4 = Line(this, "Label4", 109, 15, {}, 8, false, text);
    Connect_Web2 = Line(this, "Connect_Web2", 124, 20, QString::fromLatin1(WebAddress()), 10, true, ui::kNavy, true);
    Label5 = Line(this, "Label5", 160, 15, {}, 9, true, ui::kRed);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label5->setGeometry(6, 160, 354, 15);
    Memo1 = ui::Placed(new QPlainTextEdit(this), "Memo1", {0, 178, 360, 69});
    Memo1->setReadOnly(true);
    Memo1->setPlainText(
        QStringLiteral("Français : l'équipe Devical\nEnglish: the Devical team\n"
                       "Deutsch: das Devical-Team\nFrançais (Belgique) : l'équipe Devical"));
    Bt_Close = ui::Placed(new QToolButton(this), "Bt_Close", {322, 109, 30, 30});
    Bt_Close->setIcon(
        ui::CloseIcon(ui::Readable(ui::kCancelRed, Bt_Close->palette(), QPalette::Button, QPalette::ButtonText)));
    connect(Bt_Close, &QToolButton::clicked, this, &TInfo::Bt_CloseClick);
    // The links are reached by Tab and opened by Enter or Space too, the focus framed.
    ui::OnClickOrKey(Connect_Mail, [this] { Connect_MailClick(); });
    ui::OnClickOrKey(Connect_Web2, [this] { Connect_Web2Click(); });
    for (QLabel* link : {Connect_Mail, Connect_Web2}) {
        link->setCursor(Qt::PointingHandCursor);
        ui::MarkLink(link);
    }
    new ui::FocusRing(*this);
    ApplyTexts();
}

void TInfo::showEvent(QShowEvent* event) {
    ApplyTexts();
    QDialog::showEvent(event);
}

void TInfo::ApplyTexts() {
    auto builtIn = [](const char* key) { return QString::fromStdString(engine::BuiltInText(key)); };
    const std::pair<QLabel*, QString> lines[] = {
        {Label7, builtIn("AboutAuthor")}, {Label2, builtIn("AboutAddress")},
        {Label1, builtIn("AboutPhone")},  {Connect_Mail, builtIn("AboutMail") + QString::fromLatin1(MailAddress())},
        {Label4, builtIn("AboutWeb")},    {Label5, builtIn("AboutTranslations")},
    };
    for (const auto& [label, line] : lines) {
        label->setText(line);
        label->setAccessibleName(line);
    }
    Bt_Close->setToolTip(builtIn("Close"));
    Bt_Close->setAccessibleName(builtIn("Close"));
}

void TInfo::Connect_MailClick() { platform::OpenLink(QStringLiteral("mailto:") + QString::fromLatin1(MailAddress())); }

void TInfo::Connect_Web2Click() { platform::OpenLink(QString::fromLatin1(WebAddress())); }

}  // namespace devical::app
