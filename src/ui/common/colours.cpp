#include "ui/common/colours.h"

#include <algorithm>
#include <cmath>

namespace devical::ui {

namespace {

double Luminance(const QColor& colour) {
    auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

QColor Mixed(const QColor& from, const QColor& to, double share) {
    const auto channel = [share](int a, int b) { return qRound(a + (b - a) * share); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
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

QColor ShadedToContrast(const QColor& colour, const QColor& against, double ratio) {
    const QColor end =
        ContrastRatio(against, Qt::black) >= ContrastRatio(against, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
    // Whole 8-bit steps: the colour measured is the colour painted.
    constexpr int kSteps = 255;
    for (int step = 0; step < kSteps; ++step) {
        const QColor shade = Mixed(colour, end, static_cast<double>(step) / kSteps);
        if (ContrastRatio(shade, against) >= ratio) return shade;
    }
    return end;
}

QPalette WithReadableSelection(QPalette palette) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor text = palette.color(group, QPalette::HighlightedText);
        palette.setColor(group, QPalette::Highlight,
                         ShadedToContrast(palette.color(group, QPalette::Highlight), text, 4.5));
    }
    return palette;
}

}  // namespace devical::ui
