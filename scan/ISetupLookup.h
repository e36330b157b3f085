#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The default settings of one channel of a module model (a CardData row).
struct CardDataRow {
    std::string ChannelName;
    std::int32_t ChannelMode = 0;
    std::string Function;
    std::string Range;
    std::string Resolution;
    std::int32_t Scaling = 0;
    std::string Gain;
    std::string Offset;
    std::string Units;
    std::string Alarms;
    std::string AlarmHi;
    std::string AlarmLo;
    std::string AlarmEvent;
    std::string Comment;
    std::uint32_t FunctionType = 0;
};

// A measurement function's instrument configuration defaults (a VTFunction row).
struct FunctionRow {
    std::string Name;
    std::uint32_t AdvSettingsType = 0;
    std::string DefaultAdvSettings;
    std::uint32_t Type = 0;
    std::int32_t RangeType = 0;
    std::string DefaultRange{};
    std::int32_t ResolutionType = 0;
    std::string DefaultResolution{};
    std::string DefaultUnits{};
};

// The lookup tables of the database that a setup row is built from. The database
// layer implements it over its recordsets; tests use FakeSetupLookup.
class ISetupLookup {
public:
    // Open results of the recordset layer.
    enum OpenResult { kNotOpened = 0, kRows = 1, kEmpty = 2 };

    virtual ~ISetupLookup() = default;
    // The CardData row of a module model and a channel within the module (1..100).
    virtual OpenResult OpenGivenCardChannel(const std::string& module, std::int32_t channel,
                                            CardDataRow& row) = 0;
    // Opens the function table; kRows when it could be opened.
    virtual OpenResult OpenFunctions() = 0;
    // The first function row whose name equals the name; false when there is none.
    virtual bool FindFunction(const std::string& name, FunctionRow& row) = 0;

    // The choice lists of the setup editor, in the order the tables give them.
    // The function rows of a function type.
    virtual OpenResult OpenFunctionsGivenType(std::uint32_t type,
                                              std::vector<FunctionRow>& rows) = 0;
    // The function row of a function type and name.
    virtual OpenResult OpenFunctionGivenTypeName(std::uint32_t type, const std::string& name,
                                                 FunctionRow& row) = 0;
    // The range or resolution texts of a range or resolution type.
    virtual OpenResult OpenRangesGivenType(std::int32_t type, std::vector<std::string>& names) = 0;
    virtual OpenResult OpenResolutionsGivenType(std::int32_t type,
                                                std::vector<std::string>& names) = 0;
};

// The application's lookup, installed once the database is open; null before.
ISetupLookup* SetupLookup();
void SetSetupLookup(ISetupLookup* lookup);
