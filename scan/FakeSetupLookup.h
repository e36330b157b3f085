#pragma once
#include "scan/ISetupLookup.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// An in-memory stand-in for the lookup tables, for tests of the setup model and
// of its callers.
class FakeSetupLookup final : public ISetupLookup {
public:
    std::map<std::pair<std::string, std::int32_t>, CardDataRow> cards;
    std::vector<FunctionRow> functions;
    bool cardsOpen = true;     // false: the CardData query fails
    bool functionsOpen = true; // false: the function table cannot be opened
    // The channels asked for, in order.
    std::vector<std::pair<std::string, std::int32_t>> asked;

    OpenResult OpenGivenCardChannel(const std::string& module, std::int32_t channel,
                                    CardDataRow& row) override {
        asked.emplace_back(module, channel);
        if (!cardsOpen)
            return kNotOpened;
        auto it = cards.find({module, channel});
        if (it == cards.end())
            return kEmpty;
        row = it->second;
        return kRows;
    }
    OpenResult OpenFunctions() override { return functionsOpen ? kRows : kNotOpened; }
    bool FindFunction(const std::string& name, FunctionRow& row) override {
        for (const auto& f : functions)
            if (f.Name == name) {
                row = f;
                return true;
            }
        return false;
    }
    std::map<std::int32_t, std::vector<std::string>> ranges;
    std::map<std::int32_t, std::vector<std::string>> resolutions;
    OpenResult OpenFunctionsGivenType(std::uint32_t type, std::vector<FunctionRow>& rows) override {
        rows.clear();
        if (!functionsOpen)
            return kNotOpened;
        for (const auto& f : functions)
            if (f.Type == type)
                rows.push_back(f);
        return rows.empty() ? kEmpty : kRows;
    }
    OpenResult OpenFunctionGivenTypeName(std::uint32_t type, const std::string& name,
                                         FunctionRow& row) override {
        if (!functionsOpen)
            return kNotOpened;
        for (const auto& f : functions)
            if (f.Type == type && f.Name == name) {
                row = f;
                return kRows;
            }
        return kEmpty;
    }
    OpenResult OpenRangesGivenType(std::int32_t type, std::vector<std::string>& names) override {
        return Names(ranges, type, names);
    }
    OpenResult OpenResolutionsGivenType(std::int32_t type,
                                        std::vector<std::string>& names) override {
        return Names(resolutions, type, names);
    }

private:
    static OpenResult Names(const std::map<std::int32_t, std::vector<std::string>>& table,
                            std::int32_t type, std::vector<std::string>& names) {
        auto it = table.find(type);
        names = it == table.end() ? std::vector<std::string>{} : it->second;
        return names.empty() ? kEmpty : kRows;
    }
};
