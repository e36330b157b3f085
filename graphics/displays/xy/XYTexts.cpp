#include "graphics/displays/xy/XYTexts.h"

const tvane::StringTable& XYTexts() {
    static const tvane::StringTable table{
        {120, "XY Properties"}, {129, "Least Squares"}, {146, "Channels"}, {147, "Advanced"},
        {203, "Background"},    {210, "Axis"},          {211, "Grid"},     {212, "Markers"},
        {213, "Data"},          {232, "X Axis"},        {233, "Y Axis"},
    };
    return table;
}
