#include "ui/common/panel_button.h"

#include "ui/common/placed.h"

namespace devical::ui {

QToolButton* MakePanelButton(QWidget* panel, const char* name, int left, const QIcon& picture) {
    auto* button = Placed(new QToolButton(panel), name, {left, 0, 30, 30});
    button->setAutoRaise(true);
    button->setIcon(picture);
    return button;
}

QColor PanelInk(const QWidget& panel) { return panel.palette().color(QPalette::ButtonText); }

}  // namespace devical::ui
