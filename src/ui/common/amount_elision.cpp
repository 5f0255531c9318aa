#include "ui/common/amount_elision.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace devical::ui {

namespace {

const QString kEllipsis = QStringLiteral("…");

// An amount as written: sign, whole part, separator, decimals, exponent ("E-5").
struct Figures {
    QString sign;
    QString whole;
    QString separator;
    QString decimals;
    QString exponent;

    QString Digits() const { return whole + decimals; }
    qsizetype FirstSignificant() const {
        const QString digits = Digits();
        for (qsizetype i = 0; i < digits.size(); ++i)
            if (digits[i] != QLatin1Char('0')) return i;
        return -1;
    }
};

std::optional<Figures> ReadFigures(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(^(-?)(\d*)([.,]?)(\d*)([Ee][-+]?\d{0,9})?$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch() || match.capturedLength(2) + match.capturedLength(4) == 0) return std::nullopt;
    return Figures{match.captured(1), match.captured(2), match.captured(3), match.captured(4), match.captured(5)};
}

// make(n) for the largest n in [low, high] whose text fits (longer n, wider text); make(low)
// when none does.
QString Longest(qsizetype low, qsizetype high, const std::function<QString(qsizetype)>& make, const FitsTest& fits) {
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (fits(make(middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return make(low);
}

QString KeepEnd(const QString& text, const FitsTest& fits) {
    const QString sign = text.startsWith(QLatin1Char('-')) ? QStringLiteral("-") : QString();
    const QString rest = text.mid(sign.size());
    return Longest(
        1, rest.size() - 1, [&](qsizetype n) { return sign + kEllipsis + rest.right(n); }, fits);
}

// Decimals cut at the right: the whole part stays, and the first significant digit of a
// number below one.
QString CutDecimals(const QString& text, const Figures& figures, const FitsTest& fits) {
    const qsizetype wholeEnd = figures.sign.size() + figures.whole.size() + figures.separator.size();
    const qsizetype shortest =
        std::max(wholeEnd, figures.sign.size() + figures.separator.size() + figures.FirstSignificant() + 1);
    return Longest(
        shortest, text.size() - 1, [&](qsizetype n) { return text.left(n) + kEllipsis; }, fits);
}

// First digits and exponent: d,ddd…E12.
QString FirstDigitsAndExponent(const Figures& figures, QChar separator, const FitsTest& fits) {
    const QString digits = figures.Digits();
    const qsizetype first = figures.FirstSignificant();
    const qint64 written = figures.exponent.mid(1).toLongLong();  // "E" alone counts as zero
    const qint64 exponent = written + figures.whole.size() - 1 - first;
    const QString letter = figures.exponent.isEmpty() ? QStringLiteral("E") : figures.exponent.left(1);
    const QString sep = figures.separator.isEmpty() ? QString(separator) : figures.separator;
    const QString head = figures.sign + digits[first] + sep;
    const QString rest = digits.mid(first + 1);
    const QString tail = kEllipsis + letter + QString::number(exponent);
    return Longest(
        0, std::max<qsizetype>(rest.size() - 1, 0), [&](qsizetype n) { return head + rest.left(n) + tail; }, fits);
}

}  // namespace

QString ElideAmount(const QString& text, const FitsTest& fits, bool typing, QChar separator) {
    if (fits(text)) return text;
    const std::optional<Figures> figures = typing ? std::nullopt : ReadFigures(text);
    // Typed digits, a zero (no size to lose) and what is no number: the end shows.
    if (!figures || figures->FirstSignificant() < 0) return KeepEnd(text, fits);
    if (figures->exponent.isEmpty() && !figures->separator.isEmpty()) {
        const QString cut = CutDecimals(text, *figures, fits);
        if (fits(cut)) return cut;
    }
    return FirstDigitsAndExponent(*figures, separator, fits);
}

}  // namespace devical::ui
