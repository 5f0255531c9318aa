// The ECB's full history file read for its newest day: every working day since 1999, about
// 7,000 days of 30 rates, newest first as the ECB writes it; the local history made of it,
// a day found in it and 90 days added. build/bench_rates
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "engine/iso_day.h"
#include "rates/ecb_rates.h"
#include "rates/rate_history.h"

namespace {

std::string HistoryFile(int days) {
    static const char* const kCodes[] = {"USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN", "RON", "SEK",
                                         "CHF", "ISK", "NOK", "TRY", "AUD", "BRL", "CAD", "CNY", "HKD", "IDR",
                                         "ILS", "INR", "KRW", "MXN", "MYR", "NZD", "PHP", "SGD", "THB", "ZAR"};
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><gesmes:Envelope "
        "xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
        "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">"
        "<gesmes:subject>Reference rates</gesmes:subject><gesmes:Sender><gesmes:name>European Central "
        "Bank</gesmes:name></gesmes:Sender><Cube>\n";
    char line[96];
    for (int day = days; day > 0; --day) {
        // Five days in seven from the first day of the euro, each once.
        xml += "<Cube time=\"" +
               devical::engine::IsoText(*devical::engine::IsoDay("1999-01-04") + std::chrono::days(day * 7 / 5)) +
               "\">";
        int n = 0;
        for (const char* code : kCodes) {
            std::snprintf(line, sizeof line, "<Cube currency=\"%s\" rate=\"%d.%04d\"/>", code, 1 + n * 7,
                          (day * 31 + n) % 10000);
            xml += line;
            ++n;
        }
        xml += "</Cube>\n";
    }
    return xml + "</Cube></gesmes:Envelope>";
}

void BM_ParseHistory(benchmark::State& state) {
    const std::string xml = HistoryFile(7000);
    for (auto _ : state)
        benchmark::DoNotOptimize(devical::rates::ParseEcbRates(xml));
    state.counters["MB"] = static_cast<double>(xml.size()) / 1e6;
}
BENCHMARK(BM_ParseHistory)->Unit(benchmark::kMillisecond);

// The local history of all those days: one day's rates found, from the file's bytes.
devical::rates::RateHistory FullHistory() {
    devical::rates::RateHistory history;
    history.Add(devical::rates::ParseEcbDays(HistoryFile(7000)));
    return history;
}

void BM_HistoryDay(benchmark::State& state) {
    const std::string bytes = FullHistory().Bytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(devical::rates::RateHistory::FromBytes(bytes).RatesOn("2012-06-15"));
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_HistoryDay)->Unit(benchmark::kMicrosecond);

// A 90-day file read and added to the full history (the file's writing aside).
void BM_HistoryAdd90Days(benchmark::State& state) {
    const devical::rates::RateHistory full = FullHistory();
    const std::string ninetyDays = HistoryFile(90);
    for (auto _ : state) {
        devical::rates::RateHistory history = full;
        history.Add(devical::rates::ParseEcbDays(ninetyDays));
        benchmark::DoNotOptimize(history.Bytes());
    }
}
BENCHMARK(BM_HistoryAdd90Days)->Unit(benchmark::kMillisecond);

}  // namespace
