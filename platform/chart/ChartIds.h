#pragma once

// The numbered chart properties that the chart engine interprets. Every other
// number is a valid property too: it is kept and handed back unchanged, so the
// displays may set values this engine does not draw.
//
// Axis bounds and the data extremes follow a "use default" rule: while the
// flag kAutoBase + (id - kDoubleBase) is 1 the engine computes the value from
// the data, and setting the value itself clears that flag. The flags live in
// the 0xE00 group, which a saved chart restores last.
namespace tvane::chart::prop {

// Chart-wide switches.
constexpr int kInverted =
    0x105; // 1: the x axis runs down the left side, the y axis along the bottom
constexpr int kRepaint = 0x111; // 0 while the chart holds its repaints

// Colours (COLORREF).
constexpr int kBackground = 0x200; // the whole chart
constexpr int kForeground = 0x201; // axes, ticks and their texts

// Data (pointers to ChartData, not owned).
constexpr int kData = 0x300;
constexpr int kData2 = 0x301;

// Single style records; only their colour, pattern and width are used.
constexpr int kXGridStyle = 0x402; // the lines across the x axis
constexpr int kYGridStyle = 0x403; // the lines across the y axis

// Per-series style lists of the two data sets.
constexpr int kDataStyles = 0x500;
constexpr int kDataStyles2 = 0x501;

// Graph rectangle in window pixels: the plot area and its annotated margins.
// The 0x600 group and the margins are 16-bit values.
constexpr int kGraphWidth = 0x600;
constexpr int kGraphHeight = 0x601;
constexpr int kGraphLeft = 0xB00;
constexpr int kGraphTop = 0xB01;
constexpr int kBottomMargin = 0xB08;
constexpr int kLeftMargin = 0xB09;
constexpr int kRightMargin = 0xB0A;
constexpr int kTopMargin = 0xB0B;

// Doubles.
constexpr int kDoubleBase = 0x700;
constexpr int kXDataMin = 0x700;
constexpr int kYDataMin = 0x701;
constexpr int kXDataMax = 0x703;
constexpr int kYDataMax = 0x704;
constexpr int kXStep = 0x709; // spacing of numbered ticks
constexpr int kYStep = 0x70A;
constexpr int kXGridSpacing = 0x711; // 0: no grid at a fixed spacing
constexpr int kYGridSpacing = 0x712;
constexpr int kXAxisMax = 0x713;
constexpr int kYAxisMax = 0x714;
constexpr int kY2AxisMax = 0x715;
constexpr int kXAxisMin = 0x716;
constexpr int kYAxisMin = 0x717;
constexpr int kY2AxisMin = 0x718;
constexpr int kDoubleLast = 0x71A;

// Fonts (ChartFont).
constexpr int kAxisFont = 0x800; // ticks, value labels, axis titles
constexpr int kHeaderFont = 0x801;
constexpr int kFooterFont = 0x802;
constexpr int kLegendFont = 0x803;

// Label decimals of numbered and value-label annotation.
constexpr int kXPrecision = 0x900;
constexpr int kYPrecision = 0x901;
constexpr int kClusterWidth = 0x907; // bar group width in percent of the point spacing

// Texts.
constexpr int kXAxisTitle = 0xC00;
constexpr int kYAxisTitle = 0xC01;
constexpr int kPointLabels = 0xD02; // list of texts, one per point of the first data set

// "Use default" flags.
constexpr int kAutoBase = 0xE00;  // + (double id - kDoubleBase)
constexpr int kXGridAuto = 0xE1E; // 1: x grid lines at the x annotation
constexpr int kYGridAuto = 0xE1F; // 1: y grid lines at the y annotation
constexpr int kGraphLeftAuto = 0xE20;
constexpr int kGraphTopAuto = 0xE21;
constexpr int kGraphWidthAuto = 0xE23;
constexpr int kGraphHeightAuto = 0xE24;
constexpr int kBottomMarginAuto = 0xE25;
constexpr int kLeftMarginAuto = 0xE26;
constexpr int kRightMarginAuto = 0xE27;
constexpr int kTopMarginAuto = 0xE28;

// Annotation method of each axis: 0 numbered ticks, 1 the point labels,
// 2 the value labels, 3 numbered ticks.
constexpr int kXAnnotation = 0x4300;
constexpr int kYAnnotation = 0x4301;
// Axis title placement: 2 draws the title turned a quarter turn.
constexpr int kXTitleRotation = 0x4F00;
constexpr int kYTitleRotation = 0x4F01;

// Value labels of each axis (lists of ValueLabel).
constexpr int kXValueLabels = 0xF00;
constexpr int kYValueLabels = 0xF01;

// Chart type: 2 draws the first data set as bars, anything else as lines and points.
constexpr int kChartType = 0x5100;

// The chart library's further properties that the displays' chart set-ups
// give. This engine keeps them (the stored ones go into the chart state) but
// draws nothing from them; each is named after what it does in the library.
constexpr int kDoubleBuffer = 0x104; // 1: drawn through an off-screen buffer; not stored
constexpr int kY2DataMin = 0x702;    // data bounds of the second vertical axis
constexpr int kY2DataMax = 0x705;
constexpr int kYOrigin = 0x707; // the value at which the horizontal axis crosses
constexpr int kY2Origin = 0x708;
constexpr int kYTick = 0x70D;           // spacing of unnumbered ticks; negative: none
constexpr int kXAnnoPlacement = 0x4400; // where each axis's annotation stands
constexpr int kYAnnoPlacement = 0x4401;
constexpr int kLegendShown = 0x4504; // the library's own legend; the displays keep it off
constexpr int kGraphBorder = 0x4600; // the border of the plotting area
constexpr int kXAxisStyle = 0x4B00;  // how each axis line and its ticks are drawn
constexpr int kYAxisStyle = 0x4B01;
constexpr int kChartType2 = 0x5101; // the second data set's chart type

} // namespace tvane::chart::prop

namespace tvane::chart {

// Annotation methods and chart types by name.
enum Annotation { kAnnotateValues = 0, kAnnotatePointLabels = 1, kAnnotateValueLabels = 2 };
constexpr int kChartTypePlot = 1;
constexpr int kChartTypeBar = 2;

} // namespace tvane::chart
