// The file work of one activation of the main window: thirteen reads and the two writes
// of the size level and the box under entry, on a settings file of 4 KB.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/list_model.h"

namespace {

using namespace devical::storage;

std::filesystem::path MakeSettingsFile() {
    char pattern[] = "/tmp/devical-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    std::ofstream out(dir / "DEVICAL.INI", std::ios::binary);
    out << "[Dialog]\r\nLib_HT=Montant HT\r\nLib_TTC=Montant TTC\r\n\r\n[Taxe]\r\nTitle=TVA\r\nRate=20,6\r\n\r\n"
           "[Currency]\r\nTitle=FRF Franc fran\xe7"
           "ais\r\nRate=6,55957\r\n\r\n[Memory]\r\nTitle=FRF Caisse\r\n"
           "Curr=100\r\nEuro=15,24\r\n\r\n[Calcul]\r\nNb_Dec=2\r\n\r\n";
    for (int i = 0; out.tellp() < 3900; ++i)
        out << "Note" << i << "=" << std::string(40, 'x') << "\r\n";
    out << "\r\n[Windows]\r\nSize=1\r\nCaseEnSaisie=1\r\n";
    return dir / "DEVICAL.INI";
}

void ActivationFileWork(benchmark::State& run) {
    const auto path = MakeSettingsFile();
    const std::pair<const char*, const char*> reads[] = {
        {"Dialog", "Lib_HT"},       {"Dialog", "Lib_TTC"}, {"Taxe", "Title"},    {"Taxe", "Rate"},
        {"Currency", "Title"},      {"Currency", "Rate"},  {"Memory", "Title"},  {"Memory", "Title"},
        {"Memory", "Euro"},         {"Memory", "Curr"},    {"Calcul", "Nb_Dec"}, {"Windows", "Size"},
        {"Windows", "CaseEnSaisie"}};
    for (auto _ : run) {
        for (const auto& [section, key] : reads)
            benchmark::DoNotOptimize(IniRead(path, section, key, ""));
        IniWrite(path, "Windows", "Size", "1");
        IniWrite(path, "Windows", "CaseEnSaisie", "1");
    }
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(ActivationFileWork)->Unit(benchmark::kMicrosecond);

// A write that changes the file: the safe rewrite with its two syncs.
void ChangingWrite(benchmark::State& run) {
    const auto path = MakeSettingsFile();
    int level = 1;
    for (auto _ : run)
        IniWrite(path, "Windows", "Size", std::to_string(level = 3 - level));
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(ChangingWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// A list of 1,000 rows saved after an edit: the plain rewrite, and the list's save, which
// first makes sure that no other writer changed the file since it was read.
std::filesystem::path MakeRatesFile(std::string& bytes) {
    char pattern[] = "/tmp/devical-bench-XXXXXX";
    const std::filesystem::path dir = mkdtemp(pattern);
    for (int i = 0; i < 1000; ++i)
        bytes += "C" + std::to_string(1000 + i) + " Currency of row " + std::to_string(i) + "\r\n1,0" +
                 std::to_string(i) + "\r\n";
    ReplaceFileContents(dir / "Rates.txt", bytes);
    return dir / "Rates.txt";
}

void ListSavePlain(benchmark::State& run) {
    std::string bytes;
    const auto path = MakeRatesFile(bytes);
    for (auto _ : run)
        ReplaceFileContents(path, bytes);
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(ListSavePlain)->Unit(benchmark::kMicrosecond);

void ListSaveChecked(benchmark::State& run) {
    std::string bytes;
    const auto path = MakeRatesFile(bytes);
    ListModel list(ListKind::Currencies, Collation([](std::string_view a, std::string_view b) { return a.compare(b); },
                                                   [](std::string_view title) { return std::string(title); }));
    list.LoadList(path, ',');
    for (auto _ : run) {
        list.Append({"ZZZ Added", "1"});
        list.Delete(list.Size() - 1);
        list.SaveList(path, ',');
    }
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(ListSaveChecked)->Unit(benchmark::kMicrosecond);

}  // namespace
