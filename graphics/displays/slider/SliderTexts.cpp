#include "graphics/displays/slider/SliderTexts.h"

const tvane::StringTable& SliderTexts() {
    static const tvane::StringTable table{
        {301, "No connection"},
        {934, "Please enter a digit"},
        {935, "Please enter digit within range %2.3f - %2.3f"},
    };
    return table;
}
