#pragma once

namespace tvane {
class CArchive;
namespace chart {
class Chart;
}
} // namespace tvane

// The chart state record: about 150 chart properties in a fixed order, as the
// chart state file holds them (105 DWORDs, 11 LONGs, 2 texts, 4 fonts, 4 + n
// style records and 18 doubles; the 16-bit values sign-extended to a DWORD).
void WriteChartStateRecord(tvane::CArchive& ar, const tvane::chart::Chart& chart);
// Reads a record and applies it in six groups; the "use default" flags come
// last, so that values the chart computes for itself stay computed.
void ReadChartStateRecord(tvane::CArchive& ar, tvane::chart::Chart& chart);
