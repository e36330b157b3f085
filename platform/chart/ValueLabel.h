#pragma once
#include <string>

namespace tvane::chart {

// A text placed on an axis at a value. A text of one blank shows no text but
// still places a tick and, with the axis grid on, a grid line.
struct ValueLabel {
    double value = 0.0;
    std::string text;

    bool operator==(const ValueLabel&) const = default;
};

} // namespace tvane::chart
