// How an amount too wide for its box is shortened: never so that its size is lost, never
// so that the digit just typed is hidden.
#pragma once

#include <QString>
#include <functional>

namespace devical::ui {

using FitsTest = std::function<bool(const QString&)>;

// The text itself when it fits, otherwise a shorter form that fits, the cut marked "…":
// - while it is being typed, its end ("…67890123"), where the next digit arrives;
// - otherwise its least significant digits go: decimals first ("0,000123…"), and when even
//   the whole part does not fit, the first digits and the whole exponent
//   ("5,1750…E226", "1205999999998,79" as "1,2059…E12"), with `separator` where the text
//   has none.
// A sign always stays. When nothing fits, the shortest form of that kind comes back.
QString ElideAmount(const QString& text, const FitsTest& fits, bool typing, QChar separator);

}  // namespace devical::ui
