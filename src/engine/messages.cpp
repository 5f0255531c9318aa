#include "engine/messages.h"

#include "engine/builtin_texts.h"

namespace devical::engine {

const std::vector<std::string_view>& MessageCatalogue::Keys() {
    static const std::vector<std::string_view> keys = {
        "DontExistMem",    "DontExistRate", "DontExistTaxe",  "SelBeforeEdit",   "SelBeforeDel",    "WantDelRow",
        "WantReplace1",    "WantReplace2",  "SelMemBeforeOk", "SelRateBeforeOk", "SelTaxeBeforeOk", "Deviation_No",
        "Deviation_2Dec",  "Deviation_Yes", "Dev_Mem1",       "Dev_Mem2",        "Dev_Mem3",        "CharNotInFile",
        "RatesUpdating",   "RatesUpdated",  "RatesFailed",    "RatesDate",       "RatesOld",        "TapeClear",
        "RatesUpdatedOne", "PrintFailed",
    };
    return keys;
}

std::string MessageCatalogue::MessageText(std::string_view key) const {
    if (auto it = texts_.find(key); it != texts_.end()) return it->second;
    return BuiltInText(key);
}

void MessageCatalogue::SetText(std::string_view key, std::string text) {
    texts_.insert_or_assign(std::string(key), std::move(text));
}

}  // namespace devical::engine
