// The help documents and the hidden credit of Ctrl+Shift+F1.
#include <QFileInfo>

#include "engine/builtin_texts.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "storage/credit.h"
#include "ui/common/qt_text.h"
#include "ui/main/Devical1.h"

namespace devical::ui {

void TCalc::Bt_ManuelClick() {
    OpenHelpDocument("ManualFile");
    FocusEquals();
}

void TCalc::Bt_CodeClick() { OpenHelpDocument("KeysFile"); }

// The document in the installed language, else the French one. A missing document changes
// nothing, as any launch that fails; something else in its place (a FIFO would hold the
// desktop's handler) is named.
void TCalc::OpenHelpDocument(const char* key) {
    QString path = FilePath(engine::BuiltInText(key).c_str());
    if (!QFileInfo::exists(path)) path = FilePath(engine::BuiltInTextIn(engine::BuiltInLanguage::French, key).c_str());
    if (!platform::OpenDocument(path) && QFileInfo::exists(path))
        ShowError(Text(engine::BuiltInText("CannotOpen")) + QLatin1Char(' ') + path);
}

void TCalc::ShowCredits() { platform::ShowMessage(this, platform::MessageKind::Notice, Text(storage::HiddenCredit())); }

}  // namespace devical::ui
