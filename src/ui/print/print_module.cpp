// The printing module: the desktop's print dialog and its printer, loaded by the program only
// when the user prints (ui/tape/print_job.h).
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <type_traits>

#include "ui/tape/print_job.h"

using devical::ui::PrintJob;
using devical::ui::PrintOutcome;

extern "C" __attribute__((visibility("default"))) PrintOutcome devical_print(const PrintJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(job.documentName);
    // A printer has its own paper; printing to a file takes the user's country's.
    if (QPrinterInfo::defaultPrinter().isNull()) printer.setPageSize(job.paper);
    QPrintDialog dialog(&printer, job.parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);  // the pages are painted as asked
    if (dialog.exec() != QDialog::Accepted) return PrintOutcome::Cancelled;
    return job.paint(printer) ? PrintOutcome::Printed : PrintOutcome::Failed;
}

static_assert(std::is_same_v<decltype(&devical_print), devical::ui::PrintEntry>);
