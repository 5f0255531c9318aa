// The paper tape on pages, as a printed roll reads: a heading with the program, the time of
// printing, the currency with its rate and the tax rate; then the lines in their columns,
// amounts to the right, each result in bold under a rule; the page's number at its foot.
// The same pages go to a printer and into a PDF document.
#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

#include "engine/tape.h"

class QLocale;
class QPagedPaintDevice;

namespace devical::ui {

struct TapePrintout {
    QString title;        // "Devical – Paper tape"
    QString printedAt;    // the day and time of printing, as the language writes them
    QStringList heading;  // the currency's and the tax rate's sentences
    engine::TapeCells titles;
    std::vector<engine::TapeLine> lines;
    engine::TapeWords words;
    QString pageNumber;  // "Page %1 / %2"
};

// Paints the printout, page after page (those of the device's page ranges, when it has any);
// the number of pages, 0 when the device could not be painted on. A font that would make the columns wider than the
// page is made smaller, so that no figure is ever cut.
int PaintTapePages(QPagedPaintDevice& device, const TapePrintout& printout);

// The paper of the user's locale: Letter in the United States and Canada, A4 elsewhere.
QPageSize LocalePaper(const QLocale& locale);

// The printout as a PDF document on that paper.
QByteArray TapePdf(const TapePrintout& printout, const QPageSize& paper);

}  // namespace devical::ui
