#include "rates/currency_names.h"

#include <algorithm>
#include <iterator>

namespace devical::rates {

namespace {

struct CurrencyNames {
    std::string_view code, french, english, german;
};

// The ECB's reference currencies, present and past (the fixed euro-area ones aside). Every
// character is one Windows-1252 has: the shipped lists are in that code.
constexpr CurrencyNames kNames[] = {
    {"AUD", "Dollar australien", "Australian dollar", "Australischer Dollar"},
    {"BRL", "Réal brésilien", "Brazilian real", "Brasilianischer Real"},
    {"CAD", "Dollar canadien", "Canadian dollar", "Kanadischer Dollar"},
    {"CHF", "Franc suisse", "Swiss franc", "Schweizer Franken"},
    {"CNY", "Yuan chinois", "Chinese yuan renminbi", "Chinesischer Renminbi Yuan"},
    {"CZK", "Couronne tchèque", "Czech koruna", "Tschechische Krone"},
    {"DKK", "Couronne danoise", "Danish krone", "Dänische Krone"},
    {"GBP", "Livre sterling", "Pound sterling", "Pfund Sterling"},
    {"HKD", "Dollar de Hong Kong", "Hong Kong dollar", "Hongkong-Dollar"},
    {"HUF", "Forint hongrois", "Hungarian forint", "Ungarischer Forint"},
    {"IDR", "Roupie indonésienne", "Indonesian rupiah", "Indonesische Rupiah"},
    {"ILS", "Shekel israélien", "Israeli shekel", "Israelischer Schekel"},
    {"INR", "Roupie indienne", "Indian rupee", "Indische Rupie"},
    {"ISK", "Couronne islandaise", "Icelandic krona", "Isländische Krone"},
    {"JPY", "Yen japonais", "Japanese yen", "Japanischer Yen"},
    {"KRW", "Won sud-coréen", "South Korean won", "Südkoreanischer Won"},
    {"MXN", "Peso mexicain", "Mexican peso", "Mexikanischer Peso"},
    {"MYR", "Ringgit malaisien", "Malaysian ringgit", "Malaysischer Ringgit"},
    {"NOK", "Couronne norvégienne", "Norwegian krone", "Norwegische Krone"},
    {"NZD", "Dollar néo-zélandais", "New Zealand dollar", "Neuseeland-Dollar"},
    {"PHP", "Peso philippin", "Philippine peso", "Philippinischer Peso"},
    {"PLN", "Zloty polonais", "Polish zloty", "Polnischer Zloty"},
    {"RON", "Leu roumain", "Romanian leu", "Rumänischer Leu"},
    {"RUB", "Rouble russe", "Russian rouble", "Russischer Rubel"},
    {"SEK", "Couronne suédoise", "Swedish krona", "Schwedische Krone"},
    {"SGD", "Dollar de Singapour", "Singapore dollar", "Singapur-Dollar"},
    {"THB", "Baht thaïlandais", "Thai baht", "Thailändischer Baht"},
    {"TRY", "Livre turque", "Turkish lira", "Türkische Lira"},
    {"USD", "Dollar américain", "US dollar", "US-Dollar"},
    {"ZAR", "Rand sud-africain", "South African rand", "Südafrikanischer Rand"},
};

}  // namespace

std::string CurrencyTitle(std::string_view code, engine::BuiltInLanguage language) {
    const auto found =
        std::find_if(std::begin(kNames), std::end(kNames), [code](const CurrencyNames& n) { return n.code == code; });
    if (found == std::end(kNames)) return std::string(code) + " " + std::string(code);
    switch (language) {
    case engine::BuiltInLanguage::English: return std::string(code) + " " + std::string(found->english);
    case engine::BuiltInLanguage::German: return std::string(code) + " " + std::string(found->german);
    case engine::BuiltInLanguage::French: break;
    }
    return std::string(code) + " " + std::string(found->french);
}

}  // namespace devical::rates
