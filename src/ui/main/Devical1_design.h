// The main window's design as data: where the keys stand, what they show, their hints, the
// handler a click calls, and the language file's hint of each control.
#pragma once

#include "ui/main/Devical1.h"
#include "ui/main/controls.h"

namespace devical::ui {

struct KeyDesign {
    QPushButton* TCalc::*control;
    const char* name;
    Place place;
    const char* caption;
    unsigned look;
    const char* hint;  // UTF-8
    void (TCalc::*handler)();
};

inline const KeyDesign kMemoryKeys[] = {
    {&TCalc::Lst_Memory,
     "Lst_Memory",
     {2, 135, 61, 30},
     "Memory",
     Bold | RedText,
     "Liste des mémoires",
     &TCalc::Lst_MemoryClick},
    {&TCalc::ButtonMC, "ButtonMC", {3, 187, 30, 30}, "MC", Bold, "Effacer la mémoire actuelle", &TCalc::ButtonMCClick},
    {&TCalc::ButtonMR,
     "ButtonMR",
     {54, 187, 30, 30},
     "MR",
     Bold,
     "Rappeler la mémoire dans la case en saisie",
     &TCalc::ButtonMRClick},
    {&TCalc::ButtonMMoins,
     "ButtonMMoins",
     {106, 187, 30, 30},
     "M-",
     Bold,
     "Soustraire de la mémoire",
     &TCalc::ButtonMMoinsClick},
    {&TCalc::ButtonMPlus,
     "ButtonMPlus",
     {156, 187, 30, 30},
     "M+",
     Bold,
     "Additionner à la mémoire",
     &TCalc::ButtonMPlusClick},
};

inline const Place kDigitPlaces[10] = {{193, 228, 65, 30}, {193, 194, 30, 30}, {229, 194, 30, 30}, {266, 194, 30, 30},
                                       {193, 161, 30, 30}, {229, 161, 30, 30}, {266, 161, 30, 30}, {193, 127, 30, 30},
                                       {229, 127, 30, 30}, {266, 127, 30, 30}};

// The decimal key's caption is the separator in force, set when the window is made.
inline const KeyDesign kKeypadKeys[] = {
    {&TCalc::ButtonDiv, "ButtonDiv", {302, 127, 30, 30}, "/", Bold, "", &TCalc::ButtonDivClick},
    {&TCalc::ButtonMul, "ButtonMul", {339, 127, 30, 30}, "x", Bold, "", &TCalc::ButtonMulClick},
    {&TCalc::ButtonRA, "ButtonRA", {375, 127, 30, 30}, "<=", Plain, "BackSpace", &TCalc::ButtonRAClick},
    {&TCalc::ButtonPlus, "ButtonPlus", {302, 161, 30, 63}, "+", Bold | RedText, "", &TCalc::ButtonPlusClick},
    {&TCalc::ButtonMoins, "ButtonMoins", {339, 161, 30, 30}, "-", Bold, "", &TCalc::ButtonMoinsClick},
    {&TCalc::ButtonCE, "ButtonCE", {375, 161, 30, 30}, "CE", Bold, "Effacer la saisie", &TCalc::ButtonCEClick},
    {&TCalc::Bt_Pourc, "Bt_Pourc", {339, 194, 30, 30}, "%", Bold, "", &TCalc::Bt_PourcClick},
    {&TCalc::ButtonC,
     "ButtonC",
     {375, 195, 30, 63},
     "C",
     Bold | RedText,
     "Effacer tous les chiffres",
     &TCalc::ButtonCClick},
    {&TCalc::ButtonDec, "ButtonDec", {266, 228, 30, 30}, "", Bold, "", &TCalc::ButtonDecClick},
    {&TCalc::ButtonEgal, "ButtonEgal", {302, 228, 68, 30}, "=", Bold | Large, "", &TCalc::ButtonEgalClick},
    {&TCalc::Button100, "Button100", {193, 261, 30, 30}, "00", Plain, "x100", &TCalc::Button100Click},
    {&TCalc::Button1000, "Button1000", {229, 261, 30, 30}, "000", Plain, "x1000", &TCalc::Button1000Click},
};

// Labels and boxes that act on a click.
inline const std::pair<const char*, void (TCalc::*)()> kClickables[] = {
    {"Cur_HT", &TCalc::Cur_HTClick},     {"Euro_HT", &TCalc::Euro_HTClick},
    {"Cur_Taxe", &TCalc::Cur_TaxeClick}, {"Euro_Taxe", &TCalc::Euro_TaxeClick},
    {"Cur_TTC", &TCalc::Cur_TTCClick},   {"Euro_TTC", &TCalc::Euro_TTCClick},
    {"Lib_Rate", &TCalc::Lib_RateClick}, {"Lib_Cur", &TCalc::Lib_RateClick},
    {"Lib_HT", &TCalc::Lib_HTClick},     {"Lib_Taxe", &TCalc::Lib_TaxeClick},
    {"Lib_TTC", &TCalc::Lib_TTCClick},   {"Lib_Memory", &TCalc::Lib_MemoryClick},
    {"Label1", &TCalc::Label1Click},     {"Bt_Manuel", &TCalc::Bt_ManuelClick},
    {"Bt_Code", &TCalc::Bt_CodeClick},   {"Bt_Info", &TCalc::Bt_InfoClick},
};

// The language file's hint of each control (section Main_Tips): the control's name, and the
// key where it differs.
inline const std::pair<const char*, const char*> kHints[] = {
    {"Bt_Manuel", "Bt_Manuel"},   {"Lib_Rate", "Lib_Rate"},       {"Lib_Cur", "Lib_Rate"},
    {"Lib_HT", "Lib_HT"},         {"Lib_Taxe", "Lib_Taxe"},       {"Lib_TTC", "Lib_TTC"},
    {"Lst_Memory", "Lst_Memory"}, {"Lib_Memory", "Lib_Memory"},   {"ButtonMC", "ButtonMC"},
    {"ButtonMR", "ButtonMR"},     {"ButtonMPlus", "ButtonMPlus"}, {"ButtonMMoins", "ButtonMMoins"},
    {"Bt_Info", "Bt_Info"},       {"Bt_Code", "Bt_Code"},         {"Button100", "Button100"},
    {"Button1000", "Button1000"}, {"Bt_Copy", "Bt_Copy"},         {"ButtonCE", "ButtonCE"},
    {"ButtonC", "ButtonC"},       {"Bt_Close", "Bt_Close"},       {"Nb_Dec", "Nb_Dec"},
    {"Bt_Ecart", "Bt_Deviat"},    {"Bar_Reduc", "Bt_Reduction"},  {"Bt_Langue", "Bt_Language"},
    {"Bt_Tape", "Bt_Tape"},
};

// What a screen reader says for the controls whose caption is a symbol (section Main_Names,
// keyed by the control's name, over the built-in text of the same key).
inline const char* const kSpokenNames[] = {"ButtonRA", "ButtonDiv", "ButtonMul",  "ButtonPlus", "ButtonMoins",
                                           "Bt_Pourc", "ButtonDec", "ButtonEgal", "Label1"};

// Picture controls are known to screen readers by their hint.
inline const char* const kPictures[] = {"Bt_Ecart", "Bt_Close",  "Bt_Copy",  "Bt_Langue",
                                        "Bt_Tape",  "Bt_Manuel", "Bar_Reduc"};

}  // namespace devical::ui
