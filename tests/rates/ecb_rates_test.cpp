#include "rates/ecb_rates.h"

#include "engine/builtin_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace devical::rates {
namespace {

// The ECB's own wrapping around the days, as its files have it.
std::string Envelope(const std::string& days) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/"
           "2002-08-01\" xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n\t<gesmes:subject>Reference "
           "rates</gesmes:subject>\n\t<gesmes:Sender>\n\t\t<gesmes:name>European Central Bank</gesmes:name>\n"
           "\t</gesmes:Sender>\n\t<Cube>\n" +
           days + "\t</Cube>\n</gesmes:Envelope>\n";
}

std::string Day(const std::string& date, const std::string& rates) {
    return "\t\t<Cube time='" + date + "'>\n" + rates + "\t\t</Cube>\n";
}

std::string Rate(const std::string& code, const std::string& rate) {
    return "\t\t\t<Cube currency='" + code + "' rate='" + rate + "'/>\n";
}

// The day's date, how many rates, the first one; or the reason for refusing.
std::string Outcome(const std::string& xml) {
    try {
        const EcbRates day = ParseEcbRates(xml);
        const PublishedRate& first = day.rates.at(0);
        const bool exact = engine::ReadNumber(first.rateText, '.') == first.rate;
        return (exact ? "" : "inexact ") + day.date + " " + std::to_string(day.rates.size()) + " " + first.code + "=" +
               first.rateText;
    } catch (const RatesError& error) {
        return error.what();
    }
}

TEST(EcbRates, NewestDayOrARefusal) {
    const std::string past = ", sort des limites d'un taux (de 0.000001 à 1000000000).";
    std::string daily;  // today's currencies, BGN still among them
    for (const char* code :
         {"USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN", "RON", "SEK", "CHF", "ISK", "NOK", "TRY", "AUD",
          "BRL", "CAD", "CNY", "HKD", "IDR", "ILS", "INR", "KRW", "MXN", "MYR", "NZD", "PHP", "SGD", "THB", "ZAR"})
        daily += Rate(code, std::string(code) == "USD" ? "1.0842" : "12.345");
    const struct {
        const char* name;
        std::string xml, expected;  // the outcome, or a part of the refusal's words
    } rows[] = {
        {"daily", Envelope(Day("2026-12-04", daily)), "2026-12-04 30 USD=1.0842"},
        {"90 days", Envelope(Day("2026-12-04", Rate("GBP", "0.8543")) + Day("2026-12-03", daily)),
         "2026-12-04 1 GBP=0.8543"},
        {"newest last", Envelope(Day("2026-12-02", daily) + Day("2026-12-03", Rate("USD", "1.08"))),
         "2026-12-03 1 USD=1.08"},
        {"HTML error page", "<!DOCTYPE html>\n<html><body>Not Found</body></html>", "une page web"},
        {"other XML", "<?xml version=\"1.0\"?><rates><Cube time='2026-12-04'/></rates>",
         "pas au format des taux de référence de la BCE"},
        {"cut short", Envelope(Day("2026-12-04", daily)).substr(0, 600), "est tronqué"},
        {"rate holding a rate", Envelope("<Cube time='2026-12-04'><Cube currency='USD' rate='1'></Cube></Cube>"),
         "mal formés"},
        {"empty", " \r\n", "Le fichier est vide."},
        {"day without a date", Envelope("\t\t<Cube>\n" + Rate("USD", "1.0842") + "\t\t</Cube>\n"), "n'a pas de date"},
        {"not a date", Envelope(Day("2026-13-04", daily)), "« 2026-13-04 » n'est pas une date"},
        {"day without rates", Envelope(Day("2026-12-04", "")), "aucun taux pour le 2026-12-04"},
        {"negative rate", Envelope(Day("2026-12-04", Rate("USD", "-1.0842"))),
         "« -1.0842 », n'est pas un nombre positif"},
        {"zero rate", Envelope(Day("2026-12-04", Rate("USD", "0.000"))), "n'est pas un nombre positif"},
        {"textual rate", Envelope(Day("2026-12-04", Rate("USD", "n/a"))), "« n/a », n'est pas un nombre positif"},
        {"days and rates in comments",
         Envelope("<!--" + Day("2026-12-05", daily) + "-->" +
                  Day("2026-12-04", "<!--" + Rate("USD", "9") + "-->" + daily)),
         "2026-12-04 30 USD=1.0842"},
        {"comment never closed", Envelope(Day("2026-12-04", daily) + "<!--"), "au milieu d'un commentaire"},
        {"same day twice", Envelope(Day("2026-12-04", daily) + Day("2026-12-04", Rate("USD", "2"))),
         "Le jour 2026-12-04 figure deux fois"},
        {"largest rate", Envelope(Day("2026-12-04", Rate("USD", "1000000000"))), "2026-12-04 1 USD=1000000000"},
        {"1 and 400 zeros", Envelope(Day("2026-12-04", Rate("USD", "1" + std::string(400, '0')))),
         "« 10000000000000000000… »" + past},
        {"1e-400 written out", Envelope(Day("2026-12-04", Rate("USD", "0." + std::string(399, '0') + "1"))), past},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string outcome = Outcome(row.xml);
        if (row.expected.starts_with("2026")) {
            EXPECT_EQ(outcome, row.expected);
        } else {
            EXPECT_NE(outcome.find(row.expected), std::string::npos) << outcome;
        }
    }
    // The reason in the language in force, with its key for the window to say it in its own.
    engine::SetBuiltInLanguage("AN");
    try {
        ParseEcbRates(" ");
        ADD_FAILURE() << "an empty file taken";
    } catch (const RatesError& error) {
        EXPECT_STREQ(error.what(), "The file is empty.");
        EXPECT_EQ(error.Key(), "RatesEmpty");
    }
    engine::SetBuiltInLanguage("FR");
}

}  // namespace
}  // namespace devical::rates
