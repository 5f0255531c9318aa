// The memory of one big currency list through its window: opened (loaded, shown and
// painted), then a row inserted and the list left with Exit (sorted and written). Prints the heap each step keeps per
// row and the process's resident and peak memory after it, the peak being the kernel's
// high-water mark. Usage: build/bench_list_memory ROWS (3,800,000 rows make about 100 MB).
#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/windows.h"
#include "platform/message_box.h"

namespace {

const QByteArray kSettings =
    "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n\r\n"
    "[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=0\r\n"
    "Euro=0\r\n\r\n[Calcul]\r\nNb_Dec=2\r\n\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

// The rows of bench/lists_bench.cpp, written a row at a time so that making the file does
// not raise the peak measured afterwards.
long long WriteList(const QString& path, long long rows) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    char line[64];
    long long bytes = 0;
    for (long long i = 0; i < rows; ++i) {
        const long long code = i * 26 * 26 * 26 / rows;
        const int length =
            std::snprintf(line, sizeof line, "%c%c%c Devise %07lld\r\n%lld,%lld\r\n", char('A' + code / 676),
                          char('A' + code / 26 % 26), char('A' + code % 26), i, 1 + i % 997, i % 10000);
        out.write(line, length);
        bytes += length;
    }
    return bytes;
}

// Blocks the heap handed out, the large ones it maps on their own included.
double HeapBytes() {
    const auto info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

double ResidentMiB() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096 / (1 << 20);
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    devical::platform::SetMessageHandler([](devical::platform::MessageKind, const QString& text) {
        qFatal("unexpected message: %s", qPrintable(text));
        return devical::platform::MessageAnswer::Ok;
    });
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/');
    QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/Devical.FR"), path + "DEVICAL.LAN");
    QFile settings(path + "DEVICAL.INI");
    if (!settings.open(QIODevice::WriteOnly) || settings.write(kSettings) != kSettings.size()) return 1;
    settings.close();
    const long long fileBytes = WriteList(path + "Rates.txt", rows);

    devical::app::DevicalWindows windows(path);
    const auto report = [&, heap = HeapBytes()](const char* step) {
        std::printf("%-6s heap %7.1f bytes/row  resident %8.1f MiB  peak %8.1f MiB\n", step,
                    (HeapBytes() - heap) / static_cast<double>(rows), ResidentMiB(), PeakMiB());
    };
    std::printf("%lld rows, file %.1f MiB (%.1f bytes/row)\n", rows, static_cast<double>(fileBytes) / (1 << 20),
                static_cast<double>(fileBytes) / static_cast<double>(rows));
    report("before");
    devical::ui::TRates& list = windows.Rates();
    report("load");
    list.ShowList();
    QApplication::processEvents();
    list.ListView1->viewport()->repaint();
    report("open");
    list.Bt_AjoutClick();  // a new row, left at the end: the exit sorts before it writes
    windows.SRates().BitBtn1Click();
    list.Bt_ExitClick();
    if (list.isVisible()) return 1;
    report("exit");
    return 0;
}
