// Clicks on controls that have no click signal of their own (labels, amount boxes).
#pragma once

#include <QWidget>
#include <functional>

namespace devical::ui {

// Calls the handler when the left button is released over the widget, as a click.
// The widget is then exposed to screen readers as a button (accessibility.h).
void OnClick(QWidget* widget, std::function<void()> handler);
// As OnClick, and the widget is also reached by Tab and pressed by Enter or Space, as a button
// is: for text that acts, such as a link.
void OnClickOrKey(QWidget* widget, std::function<void()> handler);
// Runs the handler OnClick gave the widget, as a click would (a screen reader's press); false
// for a widget without one.
bool PressClickable(QWidget* widget);

}  // namespace devical::ui
