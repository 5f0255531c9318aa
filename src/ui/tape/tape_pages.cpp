#include "ui/tape/tape_pages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageRanges>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "ui/common/qt_text.h"

namespace devical::ui {

namespace {

using engine::kTapeColumns;
using Cells = std::array<QString, kTapeColumns>;

constexpr qreal kBodyPoints = 9.5;
constexpr qreal kSmallestPoints = 4;
constexpr qreal kLineSpacing = 1.35;  // a line's height, in the font's own spacing: room for a rule
constexpr std::size_t kLineColumn = engine::kTapeLineColumn;
constexpr std::size_t kTimeColumn = engine::kTapeTimeColumn;
constexpr std::size_t kLastAmountColumn = kTimeColumn - 1;  // a result's rule ends with its currency

bool IsResult(const engine::TapeLine& line) { return line.mark == engine::TapeMark::Total; }

Cells QtCells(const engine::TapeCells& cells) {
    Cells shown;
    std::transform(cells.begin(), cells.end(), shown.begin(), [](const std::string& cell) { return Text(cell); });
    return shown;
}

// The printout's fonts at one size, measured on the device they paint.
struct Fonts {
    Fonts(qreal points, QPaintDevice& device) : body(QGuiApplication::font()) {
        body.setPointSizeF(points);
        bold = body;
        bold.setBold(true);
        title = bold;
        title.setPointSizeF(points * 1.4);
        line = QFontMetricsF(body, &device).lineSpacing() * kLineSpacing;
        titleLine = QFontMetricsF(title, &device).lineSpacing() * kLineSpacing;
        gap = QFontMetricsF(body, &device).horizontalAdvance(QStringLiteral("  "));
    }
    QFont body, bold, title;
    qreal line, titleLine, gap;
};

// Where each column starts and how wide it is: every cell whole, a setting's sentence running
// on over the empty columns as far as it needs, the time past it.
struct Columns {
    std::array<qreal, kTapeColumns> start{}, width{};
    qreal right = 0;  // where the widest thing printed ends, heading included
};

Columns Measure(const TapePrintout& printout, const std::vector<Cells>& rows, const Fonts& fonts,
                QPaintDevice& device) {
    const QFontMetricsF body(fonts.body, &device), bold(fonts.bold, &device), title(fonts.title, &device);
    Columns columns;
    qreal longestSentence = 0;
    for (std::size_t column = 0; column < kTapeColumns; ++column)
        columns.width[column] = bold.horizontalAdvance(Text(printout.titles[column]));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const engine::TapeLine& line = printout.lines[row];
        const QFontMetricsF& metrics = IsResult(line) ? bold : body;
        for (std::size_t column = 0; column < kTapeColumns; ++column) {
            const qreal width = metrics.horizontalAdvance(rows[row][column]);
            if (engine::IsSettingLine(line) && column == kLineColumn)
                longestSentence = std::max(longestSentence, width);
            else
                columns.width[column] = std::max(columns.width[column], width);
        }
    }
    for (std::size_t column = 1; column < kTapeColumns; ++column)
        columns.start[column] = columns.start[column - 1] + columns.width[column - 1] + fonts.gap;
    if (longestSentence > 0)
        columns.start[kTimeColumn] =
            std::max(columns.start[kTimeColumn], columns.start[kLineColumn] + longestSentence + fonts.gap);
    columns.right = columns.start[kTimeColumn] + columns.width[kTimeColumn];
    columns.right = std::max(columns.right, title.horizontalAdvance(printout.title));
    for (const QString& text : printout.heading + QStringList{printout.printedAt})
        columns.right = std::max(columns.right, body.horizontalAdvance(text));
    return columns;
}

class PagePainter {
public:
    PagePainter(QPainter& painter, const TapePrintout& printout, const Fonts& fonts, const Columns& columns)
        : painter_(painter), printout_(printout), fonts_(fonts), columns_(columns) {}

    // The first page opens with the heading; every page has the column titles.
    qreal Heading() {
        qreal y = 0;
        painter_.setFont(fonts_.title);
        Draw(printout_.title, 0, y, fonts_.titleLine);
        y += fonts_.titleLine;
        painter_.setFont(fonts_.body);
        for (const QString& text : QStringList{printout_.printedAt} + printout_.heading) {
            Draw(text, 0, y, fonts_.line);
            y += fonts_.line;
        }
        return y + fonts_.line / 2;
    }
    qreal Titles(qreal y) {
        painter_.setFont(fonts_.bold);
        for (std::size_t column = 0; column < kTapeColumns; ++column)
            DrawCell(Text(printout_.titles[column]), column, y);
        y += fonts_.line;
        Rule(y - fonts_.line / 8, columns_.start[kTimeColumn] + columns_.width[kTimeColumn]);
        return y + fonts_.line / 4;
    }
    void Row(const engine::TapeLine& line, const Cells& cells, qreal y) {
        const bool result = IsResult(line);
        if (result) Rule(y + fonts_.line / 8, columns_.start[kLastAmountColumn] + columns_.width[kLastAmountColumn]);
        for (std::size_t column = 0; column < kTapeColumns; ++column) {
            // A result stands out in bold, all but its time.
            painter_.setFont(result && column != kTimeColumn ? fonts_.bold : fonts_.body);
            if (engine::IsSettingLine(line) && column == kLineColumn)
                Draw(cells[column], columns_.start[column], y, fonts_.line);
            else
                DrawCell(cells[column], column, y);
        }
    }
    void PageNumber(int page, int pages, qreal pageWidth, qreal pageHeight) {
        painter_.setFont(fonts_.body);
        painter_.drawText(QRectF(0, pageHeight - fonts_.line, pageWidth, fonts_.line), Qt::AlignCenter,
                          printout_.pageNumber.arg(page).arg(pages));
    }

private:
    void Draw(const QString& text, qreal x, qreal y, qreal height) {
        painter_.drawText(QRectF(x, y, columns_.right - x, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    void DrawCell(const QString& text, std::size_t column, qreal y) {
        if (text.isEmpty()) return;
        const Qt::Alignment side = engine::IsTapeAmountColumn(column) ? Qt::AlignRight : Qt::AlignLeft;
        painter_.drawText(QRectF(columns_.start[column], y, columns_.width[column], fonts_.line),
                          side | Qt::AlignVCenter, text);
    }
    void Rule(qreal y, qreal right) {
        painter_.setPen(QPen(Qt::black, fonts_.line / 24));
        painter_.drawLine(QPointF(0, y), QPointF(right, y));
    }

    QPainter& painter_;
    const TapePrintout& printout_;
    const Fonts& fonts_;
    const Columns& columns_;
};

}  // namespace

int PaintTapePages(QPagedPaintDevice& device, const TapePrintout& printout) {
    std::vector<Cells> rows;
    rows.reserve(printout.lines.size());
    for (const engine::TapeLine& line : printout.lines)
        rows.push_back(QtCells(engine::CellsOf(line, printout.words)));

    const qreal pageWidth = device.width(), pageHeight = device.height();
    qreal points = kBodyPoints;
    Fonts fonts(points, device);
    Columns columns = Measure(printout, rows, fonts, device);
    // Smaller until the widest line fits across the page.
    while (columns.right > pageWidth && points > kSmallestPoints) {
        points = std::max(kSmallestPoints, std::floor(points * pageWidth / columns.right * 10) / 10);
        fonts = Fonts(points, device);
        columns = Measure(printout, rows, fonts, device);
    }

    QPainter painter;
    if (!painter.begin(&device)) return 0;
    PagePainter page(painter, printout, fonts, columns);
    // How many rows fit under the first page's heading and titles, and under a later page's
    // titles, as Heading and Titles step down the page.
    const qreal foot = fonts.line * 1.5;
    const qreal headingHeight = fonts.titleLine + fonts.line * (1 + printout.heading.size()) + fonts.line / 2;
    const qreal titlesHeight = fonts.line * 1.25;
    const auto rowsIn = [&](qreal top) {
        return std::max(1, static_cast<int>((pageHeight - top - foot) / fonts.line));
    };
    const int firstRows = rowsIn(headingHeight + titlesHeight), laterRows = rowsIn(titlesHeight);
    const int count = static_cast<int>(rows.size());
    const int pages = count <= firstRows ? 1 : 1 + (count - firstRows + laterRows - 1) / laterRows;

    // The pages asked for in the print dialog, or all of them.
    const QPageRanges wanted = device.pageRanges();
    std::size_t next = 0;
    bool painted = false;
    for (int number = 1; number <= pages; ++number) {
        const std::size_t first = next;
        next = std::min(rows.size(), next + static_cast<std::size_t>(number == 1 ? firstRows : laterRows));
        if (!wanted.isEmpty() && !wanted.contains(number)) continue;
        if (painted && !device.newPage()) return 0;
        painted = true;
        qreal y = page.Titles(number == 1 ? page.Heading() : 0);
        for (std::size_t row = first; row < next; ++row, y += fonts.line)
            page.Row(printout.lines[row], rows[row], y);
        page.PageNumber(number, pages, pageWidth, pageHeight);
    }
    return painter.end() ? pages : 0;
}

QPageSize LocalePaper(const QLocale& locale) {
    const bool letter = locale.territory() == QLocale::UnitedStates || locale.territory() == QLocale::Canada;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

QByteArray TapePdf(const TapePrintout& printout, const QPageSize& paper) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(printout.title);
        writer.setCreator(QStringLiteral("Devical"));
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        if (PaintTapePages(writer, printout) == 0) return {};
    }
    return bytes;
}

}  // namespace devical::ui
