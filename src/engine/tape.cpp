#include "engine/tape.h"

#include "engine/builtin_texts.h"
#include "engine/currency.h"

namespace devical::engine {

namespace {

TapeMark MarkOf(OperatorKey key) {
    switch (key) {
    case OperatorKey::Divide: return TapeMark::Divide;
    case OperatorKey::Times: return TapeMark::Times;
    case OperatorKey::Plus: return TapeMark::Plus;
    case OperatorKey::Minus: return TapeMark::Minus;
    case OperatorKey::Percent: return TapeMark::Percent;
    case OperatorKey::Equals: break;
    }
    return TapeMark::Equals;
}

// The key as its button shows it: "+", "CE", "M+"...; empty for a total or a setting.
std::string_view KeyText(TapeMark mark) {
    switch (mark) {
    case TapeMark::Divide: return "/";
    case TapeMark::Times: return "x";
    case TapeMark::Plus: return "+";
    case TapeMark::Minus: return "-";
    case TapeMark::Percent: return "%";
    case TapeMark::Equals: return "=";
    case TapeMark::Clear: return "C";
    case TapeMark::CancelEntry: return "CE";
    case TapeMark::MemoryPlus: return "M+";
    case TapeMark::MemoryMinus: return "M-";
    case TapeMark::MemoryRecall: return "MR";
    case TapeMark::MemoryClear: return "MC";
    case TapeMark::Total:
    case TapeMark::Currency:
    case TapeMark::Tax:
    case TapeMark::Decimals: break;
    }
    return {};
}

// The code of a box's column: the current currency's, or "EUR".
std::string ColumnCode(int box, const ConverterContext& context) {
    return IsNationalBox(box) ? CurrencyCode(context.currencyTitle) : "EUR";
}

// An amount as the tape prints it: the number shown, with as many decimals as the setting
// asks, so that a column of figures lines up ("100" is "100,00" at two decimals). A figure
// with more decimals, in scientific notation, or under "x" stays as it is.
std::string TapeFigure(std::string_view shown, std::string_view decimals, char decimalSeparator) {
    std::string figure(shown);
    const auto places = DecimalPlaces(decimals);
    if (!places || *places <= 0 || figure.find_first_of("Ee") != std::string::npos) return figure;
    const std::size_t point = figure.find(decimalSeparator);
    const std::size_t written = point == std::string::npos ? 0 : figure.size() - point - 1;
    if (point == std::string::npos) figure += decimalSeparator;
    const auto wanted = static_cast<std::size_t>(*places);
    if (written < wanted) figure.append(wanted - written, '0');
    return figure;
}

// The number as it reads ("05" is 5, "0," is 0), for an operand typed by hand.
std::string AsRead(std::string_view typed, char sep) {
    const auto value = ReadNumber(NormaliseSeparator(typed, sep), sep);
    return value ? AmountText(*value, sep) : std::string(typed);
}

TapeLine AmountLine(TapeMark mark, const std::string& shown, int box, const ConverterState& state,
                    const ConverterContext& context) {
    TapeLine line;
    line.mark = mark;
    line.amount = TapeFigure(shown, state.Decimals, context.decimalSeparator);
    line.box = box;
    line.code = ColumnCode(box, context);
    return line;
}

// The other column's amount of the line, beside it.
void AddConverted(TapeLine& line, const ConverterState& state, const ConverterContext& context) {
    const int partner = PartnerBox(line.box);
    line.converted = TapeFigure(state.Box(partner), state.Decimals, context.decimalSeparator);
    line.convertedCode = ColumnCode(partner, context);
}

std::string_view LineName(int box, const TapeWords& words) {
    switch (RowOf(box)) {
    case 1: return words.net;
    case 2: return words.tax;
    default: return words.gross;
    }
}

std::string Joined(const TapeCells& cells, char separator) {
    std::string joined;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0) joined += separator;
        joined += cells[column];
    }
    return joined;
}

std::string CsvCell(const std::string& cell, char separator) {
    if (cell.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::vector<TapeLine> OperatorLines(std::string_view operand, OperatorKey key, const ConverterState& state,
                                    const ConverterContext& context) {
    const int box = state.BoxUnderEntry;
    std::vector<TapeLine> lines{
        AmountLine(MarkOf(key), AsRead(operand, context.decimalSeparator), box, state, context)};
    if (key == OperatorKey::Equals) {
        TapeLine total = AmountLine(TapeMark::Total, state.Box(box), box, state, context);
        AddConverted(total, state, context);
        lines.push_back(std::move(total));
    }
    return lines;
}

TapeLine KeyLine(TapeMark mark, const ConverterState& state, const ConverterContext& context) {
    const int box = state.BoxUnderEntry;
    switch (mark) {
    case TapeMark::MemoryRecall: return AmountLine(mark, state.Box(box), box, state, context);
    case TapeMark::MemoryPlus:
    case TapeMark::MemoryMinus: {
        TapeLine line = AmountLine(mark, state.Box(box), box, state, context);
        AddConverted(line, state, context);
        return line;
    }
    default: break;
    }
    TapeLine line;
    line.mark = mark;
    return line;
}

TapeSettings SettingsOf(const ConverterState& state, const ConverterContext& context) {
    return {CurrencyCode(context.currencyTitle), state.CurrencyRate, context.floatingRateDay, state.TaxRate,
            state.Decimals};
}

std::vector<TapeLine> SettingLines(const TapeSettings& before, const TapeSettings& after, char decimalSeparator) {
    std::vector<TapeLine> lines;
    auto add = [&lines](TapeMark mark, std::string amount, std::string code = {}) {
        TapeLine line;
        line.mark = mark;
        line.amount = std::move(amount);
        line.code = std::move(code);
        lines.push_back(std::move(line));
    };
    if (after.currencyCode != before.currencyCode || after.currencyRate != before.currencyRate) {
        add(TapeMark::Currency, AmountText(after.currencyRate, decimalSeparator), after.currencyCode);
        lines.back().converted = after.ratesDay;
    }
    if (after.taxRate != before.taxRate) add(TapeMark::Tax, AmountText(after.taxRate, decimalSeparator));
    if (after.decimals != before.decimals) add(TapeMark::Decimals, after.decimals);
    return lines;
}

bool RecallTapeLine(ConverterState& state, const TapeLine& line, char decimalSeparator) {
    if (line.amount.empty() || line.box == 0) return false;
    const bool otherColumn = !line.converted.empty() && IsNationalBox(line.box) != IsNationalBox(state.BoxUnderEntry);
    state.Box(state.BoxUnderEntry) = NormaliseSeparator(otherColumn ? line.converted : line.amount, decimalSeparator);
    return true;
}

TapeCells CellsOf(const TapeLine& line, const TapeWords& words) {
    TapeCells cells;
    cells[6] = line.time;
    switch (line.mark) {
    case TapeMark::Currency:
        cells[2] = FillIn(words.currency, {line.code, line.amount});
        if (!line.converted.empty()) cells[2] += FillIn(words.ratesDay, {ShownDate(line.converted)});
        return cells;
    case TapeMark::Tax: cells[2] = FillIn(words.taxRate, {line.amount}); return cells;
    case TapeMark::Decimals: cells[2] = FillIn(words.decimals, {line.amount}); return cells;
    default: break;
    }
    cells[0] = line.amount;
    cells[1] = KeyText(line.mark);
    if (line.box != 0) cells[2] = LineName(line.box, words);
    cells[3] = line.code;
    cells[4] = line.converted;
    cells[5] = line.convertedCode;
    return cells;
}

bool IsSettingLine(const TapeLine& line) {
    return line.mark == TapeMark::Currency || line.mark == TapeMark::Tax || line.mark == TapeMark::Decimals;
}

std::vector<std::string> TapeHeading(const TapeSettings& settings, const TapeWords& words, char decimalSeparator) {
    TapeLine currency;
    currency.mark = TapeMark::Currency;
    currency.amount = AmountText(settings.currencyRate, decimalSeparator);
    currency.code = settings.currencyCode;
    currency.converted = settings.ratesDay;
    TapeLine tax;
    tax.mark = TapeMark::Tax;
    tax.amount = AmountText(settings.taxRate, decimalSeparator);
    return {CellsOf(currency, words)[2], CellsOf(tax, words)[2]};
}

std::string TapeTable(const std::vector<TapeLine>& lines, const TapeWords& words) {
    std::string table;
    for (const TapeLine& line : lines)
        table += Joined(CellsOf(line, words), '\t') + '\n';
    return table;
}

std::string TapeCsv(const std::vector<TapeLine>& lines, const TapeWords& words, const TapeCells& titles,
                    char decimalSeparator) {
    const char separator = decimalSeparator == ',' ? ';' : ',';
    auto row = [separator](const TapeCells& cells) {
        TapeCells quoted;
        for (std::size_t column = 0; column < cells.size(); ++column)
            quoted[column] = CsvCell(cells[column], separator);
        return Joined(quoted, separator) + '\n';
    };
    std::string csv = row(titles);
    for (const TapeLine& line : lines)
        csv += row(CellsOf(line, words));
    return csv;
}

std::string TapeText(const std::vector<TapeLine>& lines, const TapeWords& words) {
    constexpr std::size_t kLineColumn = kTapeLineColumn;
    constexpr std::size_t kTimeColumn = kTapeTimeColumn;
    std::vector<TapeCells> rows;
    rows.reserve(lines.size());
    std::array<std::size_t, kTapeColumns> widths{};
    std::size_t longestSentence = 0;
    for (const TapeLine& line : lines) {
        rows.push_back(CellsOf(line, words));
        // A setting's sentence, alone on its line, does not widen the line names' column: it
        // runs on over the empty ones, and the time column starts past the longest.
        const bool sentence = IsSettingLine(line);
        for (std::size_t column = 0; column < kTapeColumns; ++column) {
            const std::size_t length = CharacterCount(rows.back()[column]);
            if (sentence && column == kLineColumn)
                longestSentence = std::max(longestSentence, length);
            else
                widths[column] = std::max(widths[column], length);
        }
    }
    std::array<std::size_t, kTapeColumns> starts{};
    for (std::size_t column = 1; column < kTapeColumns; ++column)
        starts[column] = starts[column - 1] + widths[column - 1] + 2;
    if (longestSentence > 0)
        starts[kTimeColumn] = std::max(starts[kTimeColumn], starts[kLineColumn] + longestSentence + 2);
    std::string text;
    for (const TapeCells& cells : rows) {
        std::string printed;
        std::size_t at = 0;  // characters printed
        for (std::size_t column = 0; column < kTapeColumns; ++column) {
            const std::string& cell = cells[column];
            if (cell.empty()) continue;
            // Each cell in its column; an amount wider than its column pushes the rest along.
            const std::size_t length = CharacterCount(cell);
            const bool amount = IsTapeAmountColumn(column);
            std::size_t start = at == 0 ? starts[column] : std::max(starts[column], at + 2);
            if (amount && length < widths[column]) start += widths[column] - length;
            printed.append(start - at, ' ');
            printed += cell;
            at = start + length;
        }
        text += printed + '\n';
    }
    return text;
}

}  // namespace devical::engine
