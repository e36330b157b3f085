#include "database/StoredQueries.h"

#include <gtest/gtest.h>

namespace tvane::test {
namespace {

TEST(StoredQueries, CallTextsParseToNameAndMarkerCount) {
    struct Case {
        const char* text;
        bool call;
        const char* name;
        int markers;
    };
    const Case cases[] = {
        {"{CALL Get_Setup}", true, "Get_Setup", 0},
        {"{CALL Get_SetupGivenSetup (?)}", true, "Get_SetupGivenSetup", 1},
        {" { call Get_DatasetGivenSetupDataset(?, ?) } ", true, "Get_DatasetGivenSetupDataset", 2},
        {"Setup", false, "", 0},
        {"SELECT * FROM \"Setup\"", false, "", 0},
        {"{CALL Get_Setup (?}", false, "", 0},
        {"{CALL Get_Setup ('x')}", false, "", 0},
        {"{CALL }", false, "", 0},
    };
    for (const auto& c : cases) {
        std::string name;
        int markers = -1;
        EXPECT_EQ(ParseCallText(c.text, name, markers), c.call) << c.text;
        if (c.call) {
            EXPECT_EQ(name, c.name) << c.text;
            EXPECT_EQ(markers, c.markers) << c.text;
        }
    }
}

TEST(StoredQueries, EveryQueryTheTablesCallIsKnownWithItsParameters) {
    const std::pair<const char*, int> queries[] = {
        {"Get_Setup", 0},
        {"Get_SetupGivenSetup", 1},
        {"Get_DatasetGivenSetup", 1},
        {"Get_DatasetGivenSetupDataset", 2},
        {"Get_Cards", 0},
        {"Get_CardsGivenCard", 1},
        {"Get_CardDataGivenCard", 1},
        {"Get_CardDataGivenCardChannel", 2},
        {"Get_VTFunctionGivenType", 1},
        {"Get_VTFunctionGivenTypeName", 2},
        {"Get_VTRangeGivenType", 1},
        {"Get_VTResolutionGivenType", 1},
    };
    for (const auto& [name, parameters] : queries) {
        const StoredQuery* query = FindStoredQuery(name);
        ASSERT_NE(query, nullptr) << name;
        EXPECT_EQ(query->parameters, parameters) << name;
        int markers = 0;
        for (const char* p = query->where; *p; ++p)
            markers += *p == '?';
        EXPECT_EQ(markers, parameters) << name;
    }
    EXPECT_EQ(FindStoredQuery("get_setup"), nullptr);
}

} // namespace
} // namespace tvane::test
