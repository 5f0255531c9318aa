// The language sets shipped in data/: five files per language, read the way the program
// reads them. A fault here reaches every user who picks that language.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/amount.h"
#include "engine/builtin_texts.h"
#include "engine/currency.h"
#include "engine/messages.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/language_file.h"
#include "storage/list_file.h"
#include "storage/settings.h"
#include "storage/text_lines.h"

namespace devical::storage::testing {
namespace {

const std::filesystem::path kDataDir = DEVICAL_DATA_DIR;

struct ShippedSet {
    std::string code;
    char separator;        // the decimal separator its numbers are written with
    std::string currency;  // the code of the currency its settings start with
    std::string taxRate;   // the rate of the tax its settings start with
};

const ShippedSet kSets[] = {
    {"FR", ',', "FRF", "20"}, {"AN", '.', "IEP", "23"}, {"BE", ',', "BEF", "21"},
    {"EU", '.', "EUR", "20"}, {"GM", ',', "DEM", "19"},
};

const ShippedSet& French() { return kSets[0]; }

std::string LanguageName(const ShippedSet& set) { return "Devical." + set.code; }
std::string SettingsName(const ShippedSet& set) { return "Devical.i" + set.code; }
std::string RatesName(const ShippedSet& set) { return "Rates." + set.code; }
std::string TaxesName(const ShippedSet& set) { return "Taxes." + set.code; }
std::string MemoryName(const ShippedSet& set) { return "Memory." + set.code; }

std::vector<std::string> FileNames(const ShippedSet& set) {
    return {LanguageName(set), SettingsName(set), RatesName(set), TaxesName(set), MemoryName(set)};
}

std::filesystem::path PathOf(const std::string& name) { return kDataDir / name; }

// A number as the program reads a stored amount: either separator is accepted.
std::optional<engine::Amount> Number(std::string_view text, char separator) {
    return engine::ReadNumber(engine::NormaliseSeparator(text, separator), separator);
}

std::vector<ListRecord> Records(const std::string& name, int fields, char separator) {
    auto records = LoadList(PathOf(name), fields, separator);
    return records ? *records : std::vector<ListRecord>();
}

// The rates of a set by currency code.
std::map<std::string, engine::Amount> RatesByCode(const ShippedSet& set) {
    std::map<std::string, engine::Amount> rates;
    for (const ListRecord& row : Records(RatesName(set), kRateFields, set.separator))
        if (const auto rate = Number(row[1], set.separator)) rates[engine::CurrencyCode(row[0])] = *rate;
    return rates;
}

using Key = std::pair<std::string, std::string>;  // section, key

// The (section, key) pairs of an INI-style file in the order it holds them; a line that is
// neither a header, an entry nor blank is reported.
std::vector<Key> KeysOf(const std::string& name) {
    std::vector<Key> keys;
    std::string section;
    int number = 0;
    for (const std::string& line : SplitLines(ReadFileBytes(PathOf(name)))) {
        ++number;
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (const auto equals = line.find('='); equals != std::string::npos && equals > 0) {
            keys.emplace_back(section, line.substr(0, equals));
        } else {
            ADD_FAILURE() << name << " line " << number << " is neither a header nor an entry: " << line;
        }
    }
    return keys;
}

// Every (section, key) of the French file is in the other one and nothing else is, once each
// and in the same order, so that a text the program looks up is never missing in one language.
void ExpectFrenchKeys(const std::string& frenchName, const std::string& name) {
    const std::vector<Key> french = KeysOf(frenchName);
    const std::vector<Key> keys = KeysOf(name);
    const std::set<Key> frenchSet(french.begin(), french.end());
    const std::set<Key> keySet(keys.begin(), keys.end());
    EXPECT_EQ(frenchSet.size(), french.size()) << frenchName << " holds a key twice";
    EXPECT_EQ(keySet.size(), keys.size()) << name << " holds a key twice";
    for (const Key& key : french)
        if (!keySet.contains(key)) ADD_FAILURE() << name << " lacks [" << key.first << "] " << key.second;
    for (const Key& key : keys)
        if (!frenchSet.contains(key))
            ADD_FAILURE() << name << " has [" << key.first << "] " << key.second << ", which " << frenchName
                          << " does not";
    if (frenchSet == keySet) {
        EXPECT_EQ(keys, french) << name << " holds the keys in another order";
    }
}

// The keys in the brackets that end a hint, the key names as a French, English or German
// keyboard labels them brought to one form: "(Strg+Entf)" and "(Ctrl+Suppr)" are the same.
std::optional<std::string> ShortcutOf(std::string_view hint) {
    if (hint.empty() || hint.back() != ')') return std::nullopt;
    const auto open = hint.rfind('(');
    if (open == std::string_view::npos) return std::nullopt;
    std::string keys(hint.substr(open + 1, hint.size() - open - 2));
    static const std::pair<std::string_view, std::string_view> kNames[] = {
        {"Retour arrière", "Backspace"},
        {"Rücktaste", "Backspace"},
        {"Pfeil auf", "Up"},
        {"Pfeil ab", "Down"},
        {"Haut", "Up"},
        {"Bas", "Down"},
        {"Suppr", "Del"},
        {"Entf", "Del"},
        {"Inser", "Ins"},
        {"Einfg", "Ins"},
        {"Échap", "Esc"},
        {"Strg", "Ctrl"},
    };
    for (const auto& [local, common] : kNames)
        for (auto at = keys.find(local); at != std::string::npos; at = keys.find(local, at + common.size()))
            keys.replace(at, local.size(), common);
    return keys;
}

// The length of the UTF-8 sequence of an accented letter that starts there, 0 when there is
// none: in Windows-1252 text a lead byte followed by continuation bytes ("Ã©" for "é") is a
// file saved in the wrong encoding, never a word of the language.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at) {
    const auto byteAt = [&bytes](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0; };
    const auto continuation = [&byteAt](std::size_t i) { return byteAt(i) >= 0x80 && byteAt(i) <= 0xBF; };
    const unsigned char lead = byteAt(at);
    if (lead >= 0xC2 && lead <= 0xDF && continuation(at + 1)) return 2;
    if (lead >= 0xE0 && lead <= 0xEF && continuation(at + 1) && continuation(at + 2)) return 3;
    return 0;
}

// The accelerator letter of a text ("&OK" gives 'o'); empty when there is none.
std::optional<char> AcceleratorOf(std::string_view text) {
    const auto amp = text.find('&');
    if (amp == std::string_view::npos || amp + 1 >= text.size()) return std::nullopt;
    return static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
}

TEST(ShippedSets, EveryFileIsWindows1252TextWithCrLfAfterEachLine) {
    for (const ShippedSet& set : kSets)
        for (const std::string& name : FileNames(set)) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(std::filesystem::is_regular_file(PathOf(name))) << name << " is missing";
            const std::string bytes = ReadFileBytes(PathOf(name));
            ASSERT_FALSE(bytes.empty());
            EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "a UTF-8 byte order mark";
            for (std::size_t at = 0; at < bytes.size(); ++at) {
                const auto byte = static_cast<unsigned char>(bytes[at]);
                const bool undefined = byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
                const bool control = (byte < 0x20 && byte != '\r' && byte != '\n') || byte == 0x7F;
                if (undefined || control) {
                    ADD_FAILURE() << "byte " << static_cast<int>(byte) << " at offset " << at;
                    break;
                }
                if (const std::size_t length = Utf8SequenceAt(bytes, at); length > 0) {
                    ADD_FAILURE() << "UTF-8 text at offset " << at << ": " << bytes.substr(at, length);
                    break;
                }
            }
            const std::vector<FileLine> lines = SplitLinesWithEnds(bytes);
            for (std::size_t line = 0; line < lines.size(); ++line)
                if (lines[line].end != "\r\n") {
                    ADD_FAILURE() << "line " << line + 1 << " does not end with CR LF";
                    break;
                }
        }
}

TEST(ShippedSets, EveryLanguageAndSettingsFileHoldsTheKeysOfTheFrenchOne) {
    for (const ShippedSet& set : kSets) {
        if (&set == &French()) continue;
        SCOPED_TRACE(set.code);
        ExpectFrenchKeys(LanguageName(French()), LanguageName(set));
        ExpectFrenchKeys(SettingsName(French()), SettingsName(set));
    }
    // Each message the program shows comes from the files; a key only the built-in table
    // has would show in French whatever the language.
    const std::vector<Key> french = KeysOf(LanguageName(French()));
    for (std::string_view key : engine::MessageCatalogue::Keys())
        EXPECT_TRUE(std::find(french.begin(), french.end(), Key("Dialogs", std::string(key))) != french.end())
            << "no [Dialogs] " << key << " in " << LanguageName(French());
    // So does each window text the table has under its section ("Tape_Face/RatesDay").
    for (std::string_view key : engine::BuiltInKeys()) {
        const std::size_t slash = key.find('/');
        if (slash == std::string_view::npos) continue;
        const Key text(std::string(key.substr(0, slash)), std::string(key.substr(slash + 1)));
        EXPECT_TRUE(std::find(french.begin(), french.end(), text) != french.end())
            << "no [" << text.first << "] " << text.second << " in " << LanguageName(French());
    }
}

TEST(ShippedSets, LanguageFilesNameTheirCodeAndTranslateEveryText) {
    const LanguageFile french(PathOf(LanguageName(French())));
    const std::vector<Key> keys = KeysOf(LanguageName(French()));
    for (const ShippedSet& set : kSets) {
        SCOPED_TRACE(set.code);
        const LanguageFile file(PathOf(LanguageName(set)));
        EXPECT_EQ(file.InstalledLanguage(), set.code);
        EXPECT_EQ(file.Text("Dialogs", "Langue"), set.code);
        for (const auto& [section, key] : keys) {
            const std::string frenchText = french.Text(section, key);
            const std::string text = file.Text(section, key);
            EXPECT_TRUE(frenchText.empty() || !text.empty()) << "[" << section << "] " << key << " is empty";
            if (section == "Main_Tips") {
                EXPECT_EQ(ShortcutOf(text), ShortcutOf(frenchText))
                    << "[Main_Tips] " << key << " names other keys than the keyboard map: " << text;
            }
            if (key.starts_with("DontExist")) {
                EXPECT_TRUE(text.ends_with(frenchText.substr(frenchText.rfind('('))))
                    << "[Dialogs] " << key << " names another file: " << text;
            }
            // A text with an accelerator keeps one, and the texts of one window do not share it.
            EXPECT_TRUE(!AcceleratorOf(frenchText) || AcceleratorOf(text))
                << "[" << section << "] " << key << " lost its accelerator";
        }
        for (const auto& [section, key] : keys) {
            const auto letter = AcceleratorOf(file.Text(section, key));
            if (!letter) continue;
            for (const auto& [otherSection, otherKey] : keys) {
                if (otherSection == section && otherKey > key) {
                    EXPECT_NE(AcceleratorOf(file.Text(section, otherKey)), letter)
                        << "[" << section << "] " << key << " and " << otherKey << " share Alt+" << *letter;
                }
            }
        }
    }
}

TEST(ShippedSets, RatesFilesHoldTheIrrevocableRatesOfTheEuroArea) {
    struct FixedRate {
        const char* code;
        const char* rate;
        bool original;  // fixed on 1 January 1999: the program locks its row
    };
    static constexpr FixedRate kFixed[] = {
        {"ATS", "13.7603", true},  {"BEF", "40.3399", true},   {"DEM", "1.95583", true},  {"ESP", "166.386", true},
        {"FIM", "5.94573", true},  {"FRF", "6.55957", true},   {"IEP", "0.787564", true}, {"ITL", "1936.27", true},
        {"LUF", "40.3399", true},  {"NLG", "2.20371", true},   {"PTE", "200.482", true},  {"GRD", "340.75", false},
        {"SIT", "239.64", false},  {"CYP", "0.585274", false}, {"MTL", "0.4293", false},  {"SKK", "30.126", false},
        {"EEK", "15.6466", false}, {"LVL", "0.702804", false}, {"LTL", "3.4528", false},  {"HRK", "7.5345", false},
        {"BGN", "1.95583", false}, {"EUR", "1", false},
    };
    for (const ShippedSet& set : kSets) {
        SCOPED_TRACE(RatesName(set));
        const std::vector<ListRecord> rows = Records(RatesName(set), kRateFields, set.separator);
        ASSERT_FALSE(rows.empty());
        std::map<std::string, const ListRecord*> byCode;
        std::string previous;
        for (const ListRecord& row : rows) {
            const std::string& title = row[0];
            const std::string code = engine::CurrencyCode(title);
            const bool letters =
                code.size() == 3 && std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
            EXPECT_TRUE(letters && title.size() > 4 && title[3] == ' ')
                << "'" << title << "' does not begin with a currency code and a blank";
            EXPECT_GT(code, previous) << code << " out of order or twice";
            previous = code;
            byCode[code] = &row;
            const auto rate = Number(row[1], set.separator);
            EXPECT_TRUE(rate && *rate > 0) << title << ": rate '" << row[1] << "' is not a number above zero";
        }
        for (const FixedRate& fixed : kFixed) {
            const auto found = byCode.find(fixed.code);
            if (found == byCode.end()) {
                ADD_FAILURE() << "no " << fixed.code << " row";
                continue;
            }
            const ListRecord& row = *found->second;
            EXPECT_EQ(Number(row[1], set.separator), Number(fixed.rate, '.'))
                << row[0] << ": '" << row[1] << "' instead of " << fixed.rate;
            EXPECT_TRUE(!fixed.original || engine::IsPadlockedCurrency(row[0])) << row[0] << " can be edited";
        }
    }
}

TEST(ShippedSets, TaxFilesHoldTitledRatesOfZeroOrMore) {
    for (const ShippedSet& set : kSets) {
        SCOPED_TRACE(TaxesName(set));
        const std::vector<ListRecord> rows = Records(TaxesName(set), kRateFields, set.separator);
        EXPECT_FALSE(rows.empty());
        for (const ListRecord& row : rows) {
            EXPECT_FALSE(row[0].empty()) << "a tax without a title, rate '" << row[1] << "'";
            const auto rate = Number(row[1], set.separator);
            EXPECT_TRUE(rate && *rate >= 0) << row[0] << ": rate '" << row[1] << "' is not a number of zero or more";
        }
    }
}

TEST(ShippedSets, SettingsStartWithRowsOfTheirOwnLists) {
    for (const ShippedSet& set : kSets) {
        SCOPED_TRACE(SettingsName(set));
        const IniDocument document = IniDocument::Load(PathOf(SettingsName(set)));
        const SettingsReading reading = ReadSettings(document, SettingsName(set), set.separator);
        for (const std::string& problem : reading.problems)
            ADD_FAILURE() << problem;
        EXPECT_FALSE(reading.values.netTitle.empty());
        EXPECT_FALSE(reading.values.grossTitle.empty());

        // The choice the settings hold is the row the list window would hand back.
        auto expectRow = [&](const char* section, const std::string& listName) {
            const std::string title = document.Read(section, "Title", "");
            const std::string rate = engine::NormaliseSeparator(document.Read(section, "Rate", ""), set.separator);
            const std::vector<ListRecord> rows = Records(listName, kRateFields, set.separator);
            EXPECT_TRUE(std::find(rows.begin(), rows.end(), ListRecord{title, rate}) != rows.end())
                << "[" << section << "] " << title << " / " << rate << " is not a row of " << listName;
        };
        expectRow("Currency", RatesName(set));
        expectRow("Taxe", TaxesName(set));

        EXPECT_EQ(engine::CurrencyCode(reading.values.currency.title), set.currency);
        EXPECT_EQ(Number(document.Read("Taxe", "Rate", ""), set.separator), Number(set.taxRate, '.'))
            << "not the standard rate";
        EXPECT_TRUE(reading.values.memory.title.starts_with(set.currency + " "))
            << "memory '" << reading.values.memory.title << "' is not in " << set.currency;
    }
}

TEST(ShippedSets, SavedAmountsAreTheirNationalAmountsInEuro) {
    for (const ShippedSet& set : kSets) {
        SCOPED_TRACE(MemoryName(set));
        const std::map<std::string, engine::Amount> rates = RatesByCode(set);
        const std::vector<ListRecord> rows = Records(MemoryName(set), kMemoryFields, set.separator);
        EXPECT_FALSE(rows.empty());
        for (const ListRecord& row : rows) {
            const auto rate = rates.find(engine::CurrencyCode(row[0]));
            if (rate == rates.end()) {
                ADD_FAILURE() << "'" << row[0] << "' names no currency of " << RatesName(set);
                continue;
            }
            const auto national = Number(row[1], set.separator);
            const auto euro = Number(row[2], set.separator);
            ASSERT_TRUE(national && euro) << row[0] << ": '" << row[1] << "' / '" << row[2] << "'";
            const std::string expected =
                engine::FormatAmount(engine::CheckedDiv(*national, rate->second), "2", set.separator);
            EXPECT_EQ(engine::FormatAmount(*euro, "2", set.separator), expected)
                << row[0] << ": " << row[1] << " at " << engine::AmountText(rate->second, set.separator);
        }
    }
}

}  // namespace
}  // namespace devical::storage::testing
