#include "database/StoredQueries.h"

#include <cctype>
#include <iterator>

namespace tvane {
namespace {

const StoredQuery kQueries[] = {
    {"Get_Setup", "Setup", "", "\"Name\"", 0},
    {"Get_SetupGivenSetup", "Setup", "\"Name\" = ?", "", 1},
    {"Get_DatasetGivenSetup", "Dataset", "\"SetupName\" = ?", "\"DateTime\", \"Name\"", 1},
    {"Get_DatasetGivenSetupDataset", "Dataset", "\"SetupName\" = ? AND \"Name\" = ?", "", 2},
    {"Get_Cards", "Cards", "", "{rowid}", 0},
    {"Get_CardsGivenCard", "Cards", "\"Name\" = ?", "", 1},
    {"Get_CardDataGivenCard", "CardData", "\"Name\" = ?", "\"ChannelId\"", 1},
    {"Get_CardDataGivenCardChannel", "CardData", "\"Name\" = ? AND \"ChannelId\" = ?", "", 2},
    {"Get_VTFunctionGivenType", "VTFunction", "\"Type\" = ?", "\"Id\"", 1},
    {"Get_VTFunctionGivenTypeName", "VTFunction", "\"Type\" = ? AND \"Name\" = ?", "\"Id\"", 2},
    {"Get_VTRangeGivenType", "VTRange", "\"Type\" = ?", "\"Id\"", 1},
    {"Get_VTResolutionGivenType", "VTResolution", "\"Type\" = ?", "\"Id\"", 1},
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) !=
            std::toupper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

const StoredQuery* FindStoredQuery(std::string_view name) {
    for (const auto& query : kQueries)
        if (name == query.name)
            return &query;
    return nullptr;
}

bool ParseCallText(const std::string& text, std::string& name, int& markers) {
    std::string_view s(text);
    auto skipBlanks = [&s] {
        while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
            s.remove_prefix(1);
    };
    skipBlanks();
    if (s.empty() || s.front() != '{')
        return false;
    s.remove_prefix(1);
    skipBlanks();
    if (!StartsWithNoCase(s, "CALL"))
        return false;
    s.remove_prefix(4);
    skipBlanks();
    std::size_t end = 0;
    while (end < s.size() && (std::isalnum(static_cast<unsigned char>(s[end])) || s[end] == '_'))
        ++end;
    if (end == 0)
        return false;
    name = std::string(s.substr(0, end));
    s.remove_prefix(end);
    markers = 0;
    skipBlanks();
    if (!s.empty() && s.front() == '(') {
        s.remove_prefix(1);
        while (!s.empty() && s.front() != ')') {
            if (s.front() == '?')
                ++markers;
            else if (s.front() != ',' && !std::isspace(static_cast<unsigned char>(s.front())))
                return false;
            s.remove_prefix(1);
        }
        if (s.empty())
            return false;
        s.remove_prefix(1);
        skipBlanks();
    }
    return !s.empty() && s.front() == '}';
}

} // namespace tvane
