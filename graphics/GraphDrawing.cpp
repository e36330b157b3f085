#include "graphics/IGraphDC.h"

void Draw3dBorder(IGraphDC& dc, const GRect& rect, bool raised) {
    using namespace graphcolor;
    dc.Save();
    if (raised) {
        Draw3dRect(dc, rect, kWhite, kBlack);
        Draw3dRect(dc, rect.Deflated(1), kSilver, kGrey);
    } else {
        Draw3dRect(dc, rect, kBlack, kWhite);
        Draw3dRect(dc, rect.Deflated(1), kGrey, kSilver);
    }
    dc.Restore();
}

void Draw3dBorderOpaque(IGraphDC& dc, const GRect& rect, bool raised) {
    using namespace graphcolor;
    dc.Save();
    Draw3dRect(dc, rect, kBlack, kBlack);
    if (raised)
        Draw3dRect(dc, rect.Deflated(1), kSilver, kGrey);
    else
        Draw3dRect(dc, rect.Deflated(1), kGrey, kSilver);
    dc.Restore();
}

void FillSolidRect(IGraphDC& dc, const GRect& rect, std::uint32_t color) {
    dc.FillRect(rect.Normalized(), color);
}
