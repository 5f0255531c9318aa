#include "ui/common/colours.h"

#include <algorithm>
#include <cmath>

namespace devical::ui {

namespace {

double Luminance(const QColor& colour) {
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor Readable(const QColor& brand, const QColor& background, const QColor& text) {
    return ContrastRatio(brand, background) >= 4.5 ? brand : text;
}

QColor Readable(const QColor& brand, const QPalette& palette, QPalette::ColorRole background,
                QPalette::ColorRole text) {
    return Readable(brand, palette.color(background), palette.color(text));
}

}  // namespace devical::ui
