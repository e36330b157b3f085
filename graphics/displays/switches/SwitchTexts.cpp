#include "graphics/displays/switches/SwitchTexts.h"

const tvane::StringTable& SwitchTexts() {
    static const tvane::StringTable table{
        {208, "On"},  {209, "Off"},       {214, "Switchplate"}, {215, "On"},
        {216, "Off"}, {234, "Button Up"}, {235, "Button Down"}, {301, "No connection"},
    };
    return table;
}
