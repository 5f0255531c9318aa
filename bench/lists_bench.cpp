// The currency list at 1,000, 10,000 and 100,000 rows, through its window as a person uses
// it: open (load and show), edit one row so that it moves, insert a row, and save (OK's
// and Exit's write, after the insert has left the list unsorted). Each step is timed on its
// own; bytes_per_row is what an open list holds per row beyond an empty list, file_bytes_per_row
// the file's own text for comparison.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <chrono>
#include <memory>

#include "app/windows.h"
#include "french_directory.h"
#include "offscreen_main.h"

namespace {

using Clock = std::chrono::steady_clock;

// A program directory whose currency list holds `rows` rows in the order a save leaves
// them: codes from AAA to ZZZ (the locked ones among them), then a number.
class ProgramDirectory : public FrenchDirectory {
public:
    explicit ProgramDirectory(int rows) {
        QByteArray list;
        for (int i = 0; i < rows; ++i) {
            const int code = static_cast<int>(static_cast<long long>(i) * 26 * 26 * 26 / rows);
            list += char('A' + code / 676);
            list += char('A' + code / 26 % 26);
            list += char('A' + code % 26);
            list += " Devise " + QByteArray::number(i).rightJustified(6, '0') + "\r\n";
            list += QByteArray::number(1 + i % 997) + "," + QByteArray::number(i % 10000) + "\r\n";
        }
        Write("Rates.txt", list);
        fileBytes_ = list.size();
    }
    double FileBytes() const { return fileBytes_; }

private:
    double fileBytes_ = 0;
};

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Shown, laid out and painted: what the user waits for.
void ShowAndPaint(devical::ui::ListWindow& list) {
    list.ShowList();
    QApplication::processEvents();
    list.ListView1->viewport()->repaint();
}

double InUseBytes() { return static_cast<double>(mallinfo2().uordblks); }

// The bytes an opened currency list keeps.
double OpenedListBytes(const ProgramDirectory& dir) {
    devical::app::DevicalWindows windows(dir.Path());
    const double before = InUseBytes();
    ShowAndPaint(windows.Rates());
    return InUseBytes() - before;
}

void CurrencyListSteps(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const ProgramDirectory dir(rows);
    double open = 0, edit = 0, insert = 0, save = 0;
    for (auto _ : state) {
        const double before = open + edit + insert + save;
        auto windows = std::make_unique<devical::app::DevicalWindows>(dir.Path());
        auto start = Clock::now();
        devical::ui::TRates& list = windows->Rates();
        ShowAndPaint(list);
        open += Milliseconds(start);

        // A row from the middle renamed to go last.
        QAbstractItemView& view = *list.ListView1;
        view.setCurrentIndex(view.model()->index(rows / 2, 0));
        start = Clock::now();
        list.Bt_EditClick();
        windows->SRates().Edit1->setText(QStringLiteral("ZZZ Derni\u00e8re devise"));
        windows->SRates().BitBtn1Click();
        list.ListView1->viewport()->repaint();
        edit += Milliseconds(start);

        start = Clock::now();
        list.Bt_AjoutClick();
        windows->SRates().BitBtn1Click();
        list.ListView1->viewport()->repaint();
        insert += Milliseconds(start);

        start = Clock::now();
        list.Bt_ExitClick();
        save += Milliseconds(start);
        if (list.isVisible()) state.SkipWithError("the list could not be saved");
        state.SetIterationTime((open + edit + insert + save - before) / 1000.0);
    }
    const auto perStep = [&](double total) { return benchmark::Counter(total, benchmark::Counter::kAvgIterations); };
    state.counters["open_ms"] = perStep(open);
    state.counters["edit_ms"] = perStep(edit);
    state.counters["insert_ms"] = perStep(insert);
    state.counters["save_ms"] = perStep(save);
    // Another directory each time: the steps above rewrote this one's file.
    const ProgramDirectory fresh(rows), empty(0);
    state.counters["bytes_per_row"] = (OpenedListBytes(fresh) - OpenedListBytes(empty)) / rows;
    state.counters["file_bytes_per_row"] = fresh.FileBytes() / rows;
}
BENCHMARK(CurrencyListSteps)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
