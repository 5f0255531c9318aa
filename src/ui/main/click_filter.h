// Clicks on controls that have no click signal of their own (labels, amount boxes).
#pragma once

#include <QWidget>
#include <functional>

namespace devical::ui {

// Calls the handler when the left button is released over the widget, as a click.
void OnClick(QWidget* widget, std::function<void()> handler);

}  // namespace devical::ui
