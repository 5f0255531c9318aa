// The paper tape's costs: "=" with and without the line it prints (kept and appended to
// Tape.txt, the file cut back now and then), and the tape window opened on a full tape of
// 10,000 lines (read, shown and painted).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/windows.h"
#include "engine/entry.h"
#include "offscreen_main.h"
#include "session/converter_session.h"

namespace {

const QByteArray kSettings =
    "[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n[Currency]\r\nTitle=FRF Franc fran\xe7"
    "ais\r\nRate=6,55957\r\n[Memory]\r\nTitle=FRF Caisse\r\nCurr=0\r\nEuro=0\r\n"
    "[Calcul]\r\nNb_Dec=2\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) std::abort();
}

class ProgramDirectory {
public:
    explicit ProgramDirectory(int tapeLines) {
        if (!QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/Devical.FR"), Path() + "DEVICAL.LAN")) std::abort();
        WriteFile(Path() + "DEVICAL.INI", kSettings);
        QByteArray tape;
        for (int i = 0; i < tapeLines; ++i)
            tape += "2026-12-08 10:00:00\ttotal\t" + QByteArray::number(i) + ",00\t1\tFRF\t" +
                    QByteArray::number(i / 7) + ",24\tEUR\r\n";
        WriteFile(Path() + "Tape.txt", tape);
    }
    QString Path() const { return dir_.path() + QLatin1Char('/'); }

private:
    QTemporaryDir dir_;
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

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
