#include "graphics/GraphicsTexts.h"

const tvane::StringTable& GraphicsTexts() {
    static const tvane::StringTable table{
        {188, "Square"},
        {263, "Asterisk"},
        {264, "Circle"},
        {266, "Diamond"},
        {267, "Triangle"},
        {111, "Alarm Light Properties"},
        {113, "Data Grid Properties"},
        {114, "Text Properties"},
        {116, "Readout Properties"},
        {117, "Page Properties"},
        {120, "XY Properties"},
        {121, "Switch Properties"},
        {122, "Histogram Properties"},
        {123, "Bar Meter Properties"},
        {124, "Pushbutton Properties"},
        {125, "Data Light Properties"},
        {126, "Slider Properties"},
        {127, "Are you sure you want to delete this graphic?"},
        {200, "Appearance"},
        {201, "Channels"},
        {203, "Background"},
        {204, "Strip Chart Properties"},
        {205, "Text"},
        {231, "Caption"},
        {236, "<%ld>"},
        {401, "This graph is currently not implemented."},
        {900, "ERROR: Cannot access the Clipboard!"},
        {2000, "<None>"},
        {2001, "Failed to create object"},
        {13183, "Unable to perform edit copy operation"},
        {13184, "Unable to perform edit paste operation"},
    };
    return table;
}
