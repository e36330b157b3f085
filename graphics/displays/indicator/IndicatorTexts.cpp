#include "graphics/displays/indicator/IndicatorTexts.h"

const tvane::StringTable& IndicatorTexts() {
    static const tvane::StringTable table{
        {206, "No Reading"},
        {208, "On"},
        {209, "Off"},
        {218, "No Alarm"},
        {219, "Low Alarm Limit"},
        {220, "High Alarm Limit"},
        {234, "Button Up"},
        {235, "Button Down"},
        {238, "Read"},
        {301, "No connection"},
    };
    return table;
}
