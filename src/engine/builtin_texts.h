// The texts the program carries in each of its languages: what shows where the language
// file has nothing to say (number and file errors, a new row's title, the tray menu, the
// about box), and what a language file that lacks a key falls back on.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace devical::engine {

// The languages of the built-in texts. The five sets map onto them: FR and BE are French,
// AN and EU English, GM German; any other code is French.
enum class BuiltInLanguage { French, English, German };

BuiltInLanguage BuiltInLanguageOf(std::string_view setCode);

// The language in use from now on: the installed set's, or the locale's before a set is
// read. French until set.
void SetBuiltInLanguage(std::string_view setCode);
BuiltInLanguage CurrentBuiltInLanguage();
// The decimal separator a language writes: '.' in English, ',' in French and German.
char DecimalSeparatorOf(BuiltInLanguage language);

// The text of a key in the language in use, or in the one given; empty for an unknown key.
// "%1", "%2"... are replaced by the arguments in order.
std::string BuiltInText(std::string_view key, std::initializer_list<std::string_view> arguments = {});
std::string BuiltInTextIn(BuiltInLanguage language, std::string_view key);
// A count with its noun, in the language in use: the text of key + "One" where the language
// says the count in the singular, else of key, "%1" replaced by the count and "%2"... by the
// other arguments.
std::string CountText(std::string_view key, std::size_t count, std::initializer_list<std::string_view> others = {});

// An ISO day ("2026-12-07") as the language in use writes it ("07/12/2026", "07.12.2026");
// a text that is no day as it is.
std::string ShownDate(std::string_view iso);

// The text with "%1", "%2"... replaced by the arguments in order.
std::string FillIn(std::string text, std::initializer_list<std::string_view> arguments);
std::string FillIn(std::string text, const std::vector<std::string_view>& arguments);

// Every key, for the checks that walk them.
std::vector<std::string_view> BuiltInKeys();

}  // namespace devical::engine
