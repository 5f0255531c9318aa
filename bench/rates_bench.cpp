// The ECB's full history file read for its newest day: every working day since 1999, about
// 7,000 days of 30 rates, newest first as the ECB writes it. build/bench_rates
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "rates/ecb_rates.h"

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
        std::snprintf(line, sizeof line, "<Cube time=\"%04d-%02d-%02d\">", 1999 + day / 260, 1 + day / 22 % 12,
                      1 + day % 28);
        xml += line;
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

}  // namespace
