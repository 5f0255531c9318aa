// A language switch as the user makes it, FR to AN and back: the globe, a row, OK. The
// nine files are written and synced (four kept, five installed), every window made so far
// reads its texts and lists again, and the main window shows the new settings and paints.
// files_ms is the file work alone (the same switch without windows).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>

#include "app/windows.h"
#include "offscreen_main.h"
#include "storage/language_set.h"

namespace {

using Clock = std::chrono::steady_clock;

// A program directory on the real disk (not a memory file system), with the shipped FR and
// AN sets, the French one installed.
class ProgramDirectory {
public:
    ProgramDirectory() : dir_(QDir::currentPath() + QStringLiteral("/bench-language-XXXXXX")) {
        for (const auto& file : devical::storage::kLanguageSetFiles) {
            const QString prefix = QString::fromLatin1(file.storedPrefix.data(), file.storedPrefix.size());
            const QString working = QString::fromLatin1(file.workingName.data(), file.workingName.size());
            for (const char* code : {"FR", "AN"})
                Copy(prefix + code, prefix + code);
            Copy(prefix + "FR", working);
        }
    }
    QString Path() const { return dir_.path() + QLatin1Char('/'); }

private:
    void Copy(const QString& shipped, const QString& name) const {
        if (!QFile::copy(QStringLiteral(DEVICAL_DATA_DIR "/") + shipped, Path() + name)) std::abort();
    }
    QTemporaryDir dir_;
};

double Milliseconds(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void SwitchThroughTheDialog(devical::app::DevicalWindows& windows, const QString& code) {
    windows.Calc.Bt_LangueClick();
    devical::ui::TChx_Langue& dialog = windows.ChxLangue();
    dialog.ListView1->setCurrentItem(dialog.ListView1->findItems(code, Qt::MatchExactly).first());
    dialog.Bt_OkClick();
    QApplication::processEvents();  // the main window paints its new texts
}

void LanguageSwitchWithEveryWindowMade(benchmark::State& state) {
    const ProgramDirectory dir;
    devical::app::DevicalWindows windows(dir.Path());
    windows.Calc.show();
    windows.SRates();
    windows.STaxes();
    windows.SMemory();
    windows.Question();
    QApplication::processEvents();
    bool english = false;
    for (auto _ : state) {
        english = !english;
        const auto start = Clock::now();
        SwitchThroughTheDialog(windows, english ? QStringLiteral("AN") : QStringLiteral("FR"));
        state.SetIterationTime(Milliseconds(start) / 1000.0);
        if (windows.Calc.InstalledLanguage() != (english ? QStringLiteral("AN") : QStringLiteral("FR")))
            state.SkipWithError("the switch did not happen");
    }

    const ProgramDirectory filesOnly;
    const std::string path = filesOnly.Path().toStdString();
    const int switches = 20;
    const auto start = Clock::now();
    for (int i = 0; i < switches; ++i)
        devical::storage::InstallLanguageSet(path, i % 2 ? "AN" : "FR", i % 2 ? "FR" : "AN");
    state.counters["files_ms"] = Milliseconds(start) / switches;
}
BENCHMARK(LanguageSwitchWithEveryWindowMade)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) { return RunOffscreenBenchmarks(argc, argv); }
