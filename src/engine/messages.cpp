#include "engine/messages.h"

namespace devical::engine {

std::string NotANumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' n'est pas une valeur flottante correcte";
}

const std::map<std::string, std::string, std::less<>>& MessageCatalogue::BuiltInTexts() {
    static const std::map<std::string, std::string, std::less<>> texts = {
        {"DontExistMem", "Le fichier des mémoires n'existe plus (memory.txt)"},
        {"DontExistRate", "Le fichier des devises n'existe plus (rates.txt)"},
        {"DontExistTaxe", "Le fichier des taxes n'existe plus (taxes.txt)"},
        {"SelBeforeEdit", "Sélectionner une ligne avant de la modifier"},
        {"SelBeforeDel", "Sélectionner une ligne avant de la supprimer"},
        {"WantDelRow", "Désirez-vous supprimer la ligne"},
        {"WantReplace1", "Désirez-vous remplacer la ligne"},
        {"WantReplace2", "par la ligne"},
        {"SelMemBeforeOk", "Sélectionner une mémoire avant de la valider"},
        {"SelRateBeforeOk", "Sélectionner une monnaie avant de la valider"},
        {"SelTaxeBeforeOk", "Sélectionner une taxe avant de la valider"},
        {"Deviation_No", "Pas d'écart de conversion"},
        {"Deviation_2Dec", "Ecarts de conversion calculés pour 2 décimales"},
        {"Deviation_Yes", "Ecarts de conversion (Centimes)"},
        {"Dev_Mem1", "La devise en mémoire"},
        {"Dev_Mem2", "est différente de la devise en cours"},
        {"Dev_Mem3", "Stop"},
        {"CharNotInFile", "Ce caractère ne peut pas être enregistré : « %1 »"},
    };
    return texts;
}

std::string MessageCatalogue::MessageText(std::string_view key) const {
    if (auto it = texts_.find(key); it != texts_.end()) return it->second;
    const auto& builtIn = BuiltInTexts();
    if (auto it = builtIn.find(key); it != builtIn.end()) return it->second;
    return {};
}

void MessageCatalogue::SetText(std::string_view key, std::string text) {
    texts_.insert_or_assign(std::string(key), std::move(text));
}

}  // namespace devical::engine
