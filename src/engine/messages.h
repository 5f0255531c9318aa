// The message catalogue: texts looked up by key, the language file's text replacing the
// built-in French one; and the two fixed texts of the number routines.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace devical::engine {

inline constexpr const char* kOverflowMessage = "Dépassement de capacité";

// "'12a' n'est pas une valeur flottante correcte".
std::string NotANumberMessage(std::string_view text);

class MessageCatalogue {
public:
    // The text for key: the one set from the language file, else the built-in default,
    // else empty.
    std::string MessageText(std::string_view key) const;

    void SetText(std::string_view key, std::string text);

    // Keys of the catalogue, in the order of the built-in table.
    static const std::map<std::string, std::string, std::less<>>& BuiltInTexts();

private:
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace devical::engine
