#include "rates/ecb_rates.h"

#include <gtest/gtest.h>

#include <string>

namespace devical::rates {
namespace {

// The ECB's own wrapping around the days, as its files have it.
std::string Envelope(const std::string& days) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
           "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
           "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
           "\t<gesmes:Sender>\n\t\t<gesmes:name>European Central Bank</gesmes:name>\n\t</gesmes:Sender>\n"
           "\t<Cube>\n" +
           days + "\t</Cube>\n</gesmes:Envelope>";
}

std::string Day(const std::string& date, const std::string& rates) {
    return "\t\t<Cube time='" + date + "'>\n" + rates + "\t\t</Cube>\n";
}

std::string Rate(const std::string& code, const std::string& rate) {
    return "\t\t\t<Cube currency='" + code + "' rate='" + rate + "'/>\n";
}

// Today's published currencies, BGN still among them.
std::string DailyRates() {
    std::string rates;
    for (const char* code :
         {"USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN", "RON", "SEK", "CHF", "ISK", "NOK", "TRY", "AUD",
          "BRL", "CAD", "CNY", "HKD", "IDR", "ILS", "INR", "KRW", "MXN", "MYR", "NZD", "PHP", "SGD", "THB", "ZAR"})
        rates += Rate(code, std::string(code) == "USD" ? "1.0842" : "12.345");
    return rates;
}

TEST(EcbRates, NewestDayOrARefusal) {
    struct Row {
        const char* name;
        std::string xml;
        std::string date;  // empty: refused with the error below
        std::size_t count;
        std::string usd;
        std::string error;
    };
    const Row rows[] = {
        {"daily", Envelope(Day("2026-12-04", DailyRates())), "2026-12-04", 30, "1.0842", ""},
        {"90 days, newest first",
         Envelope(Day("2026-12-04", Rate("USD", "1.0842") + Rate("GBP", "0.8543")) +
                  Day("2026-12-03", Rate("USD", "1.0799"))),
         "2026-12-04", 2, "1.0842", ""},
        {"history out of order",
         Envelope(Day("2026-12-02", Rate("USD", "1.07")) + Day("2026-12-03", Rate("USD", "1.08"))), "2026-12-03", 1,
         "1.08", ""},
        {"double quotes", Envelope("<Cube time=\"2026-12-04\"><Cube currency=\"USD\" rate=\"1.1\" /></Cube>"),
         "2026-12-04", 1, "1.1", ""},
        {"HTML error page", "<!DOCTYPE html>\n<html><body>404 Not Found</body></html>", "", 0, "", "web page"},
        {"other XML", "<?xml version=\"1.0\"?><rates><Cube time='2026-12-04'/></rates>", "", 0, "", "not in the ECB"},
        {"cut short", Envelope(Day("2026-12-04", Rate("USD", "1.0842"))).substr(0, 400), "", 0, "", "cut short"},
        {"rate holding a rate", Envelope("<Cube time='2026-12-04'><Cube currency='USD' rate='1'></Cube></Cube>"), "", 0,
         "", "malformed"},
        {"unbalanced", Envelope(Day("2026-12-04", Rate("USD", "1.0842")) + "</Cube>"), "", 0, "", "malformed"},
        {"empty", " \r\n", "", 0, "", "empty"},
        {"day without a date", Envelope("\t\t<Cube>\n" + Rate("USD", "1.0842") + "\t\t</Cube>\n"), "", 0, "",
         "no date"},
        {"no day", Envelope(""), "", 0, "", "no dated rates"},
        {"not a date", Envelope(Day("2026-13-04", Rate("USD", "1.0842"))), "", 0, "", "not a date"},
        {"day without rates", Envelope(Day("2026-12-04", "")), "", 0, "", "no rate for 2026-12-04"},
        {"negative rate", Envelope(Day("2026-12-04", Rate("USD", "-1.0842"))), "", 0, "", "not a positive number"},
        {"zero rate", Envelope(Day("2026-12-04", Rate("USD", "0.000"))), "", 0, "", "not a positive number"},
        {"textual rate", Envelope(Day("2026-12-04", Rate("USD", "n/a"))), "", 0, "", "not a positive number"},
        {"bad code", Envelope(Day("2026-12-04", Rate("usd", "1.08"))), "", 0, "", "three-letter"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            const EcbRates rates = ParseEcbRates(row.xml);
            ASSERT_EQ(rates.date, row.date);
            ASSERT_EQ(rates.rates.size(), row.count);
            EXPECT_EQ(rates.rates[0].code, "USD");
            EXPECT_EQ(rates.rates[0].rateText, row.usd);
            EXPECT_EQ(rates.rates[0].rate, engine::ReadNumber(row.usd, '.'));
        } catch (const RatesError& error) {
            EXPECT_TRUE(row.date.empty()) << error.what();
            EXPECT_NE(std::string(error.what()).find(row.error), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace devical::rates
