#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/chart/ChartFont.h"
#include "platform/chart/ChartStyle.h"
#include "platform/chart/ValueLabel.h"

namespace tvane::chart {

class ChartData;

// The value of one numbered property. Colours and flags are 32-bit integers;
// data is a pointer to a data object the chart does not own.
using ChartValue = std::variant<std::monostate, std::int32_t, double, std::string, ChartFont,
                                ChartStyle, std::vector<ChartStyle>, std::vector<std::string>,
                                std::vector<ValueLabel>, ChartData*>;

} // namespace tvane::chart
