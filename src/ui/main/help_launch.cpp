// The help documents and the hidden credit of Ctrl+Shift+F1.
#include <QFileInfo>

#include "platform/desktop.h"
#include "platform/message_box.h"
#include "storage/credit.h"
#include "ui/main/Devical1.h"
#include "ui/main/qt_text.h"

namespace devical::ui {

void TCalc::Bt_ManuelClick() {
    OpenHelpDocument("Devical.html");
    FocusEquals();
}

void TCalc::Bt_CodeClick() { OpenHelpDocument("QWIL.html"); }

// A missing document changes nothing, as any launch that fails; something else in its place (a
// FIFO would hold the desktop's handler) is named.
void TCalc::OpenHelpDocument(const char* name) {
    const QString path = FilePath(name);
    if (!platform::OpenDocument(path) && QFileInfo::exists(path))
        ShowError(QStringLiteral("Ne peut ouvrir le fichier ") + path);
}

void TCalc::ShowCredits() { platform::ShowMessage(this, platform::MessageKind::Notice, Text(storage::HiddenCredit())); }

}  // namespace devical::ui
