// The paper tape's costs: "=" with and without the line it prints (kept and appended to
// Tape.txt, the file cut back now and then), the tape window opened on a full tape of
// 10,000 lines (read, shown and painted), and that tape kept as a PDF.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <memory>

#include "app/windows.h"
#include "engine/entry.h"
#include "french_directory.h"
#include "offscreen_main.h"
#include "session/converter_session.h"

namespace {

// A directory whose Tape.txt holds that many lines.
class ProgramDirectory : public FrenchDirectory {
public:
    explicit ProgramDirectory(int tapeLines) {
        QByteArray tape;
        for (int i = 0; i < tapeLines; ++i)
            tape += "2026-12-08 10:00:00\ttotal\t" + QByteArray::number(i) + ",00\t1\tFRF\t" +
                    QByteArray::number(i / 7) + ",24\tEUR\r\n";
        Write("Tape.txt", tape);
    }
};

// 100 in Cur_HT, then "=": the calculator alone, then through the session that prints the
// tape's two lines.
void EqualsAlone(benchmark::State& state) {
    const ProgramDirectory dir(0);
    devical::session::ConverterSession session(dir.Path().toStdString(), [] { return ','; });
    session.Activate();
    devical::engine::ConverterState calculator = session.State();
    for (auto _ : state) {
        calculator.Box(1) = "100";
        benchmark::DoNotOptimize(
            devical::engine::ApplyOperator(calculator, devical::engine::OperatorKey::Equals, session.Context()));
    }
}
BENCHMARK(EqualsAlone);

void EqualsPrinted(benchmark::State& state) {
    const ProgramDirectory dir(0);
    devical::session::ConverterSession session(dir.Path().toStdString(), [] { return ','; });
    session.Activate();
    for (auto _ : state) {
        session.EditEntry([](devical::engine::ConverterState& calculator, char) { calculator.Box(1) = "100"; });
        benchmark::DoNotOptimize(session.Operate(devical::engine::OperatorKey::Equals));
    }
    state.counters["tape_lines"] = static_cast<double>(session.Tape().Lines().size());
}
BENCHMARK(EqualsPrinted);

// The window made and shown on a full tape, until its first paint.
void OpenFullTape(benchmark::State& state) {
    const ProgramDirectory dir(10000);
    for (auto _ : state) {
        state.PauseTiming();
        auto windows = std::make_unique<devical::app::DevicalWindows>(dir.Path());
        state.ResumeTiming();
        devical::ui::TTape& tape = windows->Tape();
        tape.ShowTape();
        QApplication::processEvents();
        tape.ListView1->viewport()->repaint();
        state.PauseTiming();
        if (tape.ListView1->model()->rowCount() != 10000) state.SkipWithError("the tape did not open whole");
        windows.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFullTape)->Unit(benchmark::kMillisecond);

// A full tape of 10,000 lines kept as a PDF document: laid out, painted and written.
void FullTapeAsPdf(benchmark::State& state) {
    const ProgramDirectory dir(10000);
    auto windows = std::make_unique<devical::app::DevicalWindows>(dir.Path());
    devical::ui::TTape& tape = windows->Tape();
    const QString pdf = dir.Path() + QStringLiteral("tape.pdf");
    for (auto _ : state)
        if (!tape.SavePdf(pdf)) state.SkipWithError("the PDF was not written");
    state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(FullTapeAsPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
