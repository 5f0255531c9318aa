// Printing through the desktop's print dialog. The dialog and the printer live in a module of
// their own (devical_print.so), loaded the first time the user prints: the program's start
// pays nothing for printing support it would otherwise load with every window.
#pragma once

#include <QPageSize>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace devical::ui {

struct PrintJob {
    QWidget* parent = nullptr;
    QString documentName;
    QPageSize paper;  // where no printer says its own
    std::function<bool(QPagedPaintDevice&)> paint;
};

enum class PrintOutcome { Printed, Cancelled, Failed };

// The module's one entry, found by this name.
inline constexpr char kPrintEntry[] = "devical_print";
using PrintEntry = PrintOutcome (*)(const PrintJob& job);

// Asks the user in the print dialog, then prints. Failed with the reason in error when the
// module cannot be loaded.
PrintOutcome PrintWithDialog(const PrintJob& job, QString& error);

}  // namespace devical::ui
