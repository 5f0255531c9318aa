// The message catalogue: texts looked up by key, the language file's text replacing the
// built-in one of the language in use.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace devical::engine {

class MessageCatalogue {
public:
    // The text for key: the one set from the language file, else the built-in one, else empty.
    std::string MessageText(std::string_view key) const;

    void SetText(std::string_view key, std::string text);

    // The keys the language file may give (section Dialogs).
    static const std::vector<std::string_view>& Keys();

private:
    std::map<std::string, std::string, std::less<>> texts_;
};

}  // namespace devical::engine
