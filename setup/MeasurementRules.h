#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The rules of the channel sheet's Measurement page without its window: the
// advanced settings text read into the page's values and written back per bit
// of the function's mask, the checks made when the page is left, the coupling
// of integration time and resolution, and where the groups of the mask go.
namespace measurement {

// The integration choices, in list order.
inline const std::vector<std::string> kIntegrationItems = {"0.02", "0.2", "1",   "2",     "10",
                                                           "20",   "100", "200", "Custom"};
inline constexpr const char* kCustom = "Custom";
inline constexpr const char* kDelayAuto = "AUTO";
inline constexpr const char* kDelayTime = "Time";

// The page's values; a radio choice of -1 is none.
struct AdvancedValues {
    int inputResistance = -1; // 0 10M, 1 High
    std::string integration;  // an integration item
    double customIntegration = 0.016;
    int lowFrequency = -1; // 0 3 Hz, 1 20 Hz, 2 200 Hz
    int units = -1;        // 0 C, 1 F, 2 K
    bool thermocoupleCheck = false;
    int rtd = -1; // 0 0.00385, 1 0.00391
    std::string r0;
    int aperture = -1;           // 0 0.01, 1 0.1, 2 1
    int offsetCompensation = -1; // 0 Off, 1 On
    std::string delayMode;       // kDelayAuto or kDelayTime
    double delaySeconds = 0.0;
    int referenceJunction = -1; // 0 Internal, 1 Fixed, 2 External
    double referenceTemperature = 0.0;
    int edge = -1; // 0 Rise, 1 Fall
};

// Field n (from 1) of a settings text: the text before the n-th ";", or ""
// when the text has fewer fields.
std::string Field(const std::string& text, int n);

// The values of the mask's bits read from a settings text; the others stay as
// in start. An automatic delay takes defaultDelay as its seconds.
AdvancedValues LoadAdvanced(std::uint32_t mask, const std::string& text, double defaultDelay,
                            AdvancedValues start = {});

// The settings text of the mask's bits: thirteen fields each ended by ";".
// An empty integration is written as "1"; integrationDefaulted then tells the
// caller to set the resolution to "5.5 digits". units is the units field ("C",
// "F", "K") for the row's units label, empty without bit 0x8.
struct StoredAdvanced {
    std::string text;
    bool integrationDefaulted = false;
    std::string units;
};
StoredAdvanced StoreAdvanced(std::uint32_t mask, const AdvancedValues& values);

// The refusal of leaving the page, or "" when the values pass: the custom
// integration, R0 and the timed delay.
std::string CheckAdvanced(std::uint32_t mask, const AdvancedValues& values);

// Resolution list index to integration item, and back.
std::string IntegrationForResolution(int resolutionIndex);
int ResolutionForIntegration(const std::string& integration);

// The groups of the advanced settings in placing order.
enum Group {
    kGroupInputResistance,
    kGroupIntegration,
    kGroupLowFrequency,
    kGroupUnits,
    kGroupThermocouple,
    kGroupReferenceJunction,
    kGroupRtd,
    kGroupAperture,
    kGroupOffsetCompensation,
    kGroupDelay,
    kGroupEdge,
    kGroupCount
};
// A shown group's row in the frame; besidePrevious puts it to the right of the
// group placed just before it, in that group's row.
struct GroupPlace {
    Group group;
    int row;
    bool besidePrevious;
};
std::vector<GroupPlace> PlaceGroups(std::uint32_t mask);

} // namespace measurement
