#pragma once
#include "platform/chart/ChartFont.h"
#include "shared/CMfxFont.h"

// The chart keeps fonts as its own records; the displays and the stored chart
// state keep them as LOGFONT. The one conversion each way, field for field; a
// description without a face keeps the chart's own face.
tvane::chart::ChartFont ToChartFont(const LOGFONT& lf);
LOGFONT ToLogFont(const tvane::chart::ChartFont& font);
