#include "graphics/GraphicsTexts.h"

const tvane::StringTable& GraphicsTexts() {
    static const tvane::StringTable table{
        {188, "Square"}, {263, "Asterisk"}, {264, "Circle"}, {266, "Diamond"}, {267, "Triangle"},
    };
    return table;
}
