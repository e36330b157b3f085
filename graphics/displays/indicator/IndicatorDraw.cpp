#include "graphics/displays/indicator/IndicatorDraw.h"

#include <cstdlib>

#include "graphics/displays/indicator/CIndicator.h"
#include "graphics/displays/indicator/IndicatorTexts.h"

namespace indicatordraw {

GRect SquareBox(const GRect& cell, int* quarter) {
    GRect box = cell;
    const int d = std::abs(box.Height() - box.Width()) / 2;
    if (box.Width() < box.Height()) {
        box.top += d;
        box.bottom -= d;
    } else {
        box.left += d;
        box.right -= d;
    }
    const int q = box.Width() / 4;
    if (quarter)
        *quarter = q;
    return box.Deflated(q);
}

void DrawLampBevel(IGraphDC& dc, const GRect& r) {
    using namespace graphcolor;
    dc.Save();
    const GPoint glint{r.left + r.Width() / 4, r.top + r.Height() / 4};
    dc.SetPixel(glint, kWhite);
    dc.SetPixel({glint.x - 1, glint.y}, kWhite);
    dc.SetPixel({glint.x, glint.y - 1}, kWhite);
    dc.SetPixel({glint.x + 1, glint.y}, kWhite);
    dc.SetPixel({glint.x, glint.y + 1}, kWhite);
    const GPoint lowerLeft{r.left, r.bottom};
    const GPoint upperRight{r.right, r.top};
    dc.Arc(r, lowerLeft, upperRight, kBlack);
    dc.Arc(r, upperRight, lowerLeft, kWhite);
    const GRect in = r.Deflated(1);
    dc.Arc(in, {in.left, in.bottom}, {in.right, in.top}, kGrey);
    dc.Arc(in, {in.right, in.top}, {in.left, in.bottom}, kSilver);
    dc.Restore();
}

void DrawCentredText(IGraphDC& dc, const GRect& rect, const std::string& text, std::uint32_t color,
                     bool clip) {
    const int x = (rect.left + rect.right) / 2 - dc.TextWidth(text) / 2;
    const int y = (rect.top + rect.bottom - dc.TextHeight()) / 2;
    dc.Text({x, y}, text, color, clip ? &rect : nullptr);
}

GRect ReadButtonRect(const GRect& rect, int labelWidth, int labelHeight) {
    GRect b;
    b.left = rect.left + 5;
    b.right = b.left + static_cast<int>(labelWidth * 1.5);
    const int middle = rect.top + rect.Height() / 2;
    b.top = middle - static_cast<int>(labelHeight * 0.75);
    b.bottom = middle + static_cast<int>(labelHeight * 0.75);
    return b;
}

GRect DrawReadButton(IGraphDC& dc, const GRect& rect, CPushButton& button) {
    const std::string label = IndicatorTexts().Load(indicatortext::kRead);
    const GRect b = ReadButtonRect(rect, dc.TextWidth(label), dc.TextHeight()).Normalized();
    const bool up = button.GetState() == 0;
    // The outline in the background's pen lies under the border.
    dc.FillRect(b, up ? graphcolor::kSilver : graphcolor::kGrey);
    Draw3dBorder(dc, b, up);
    DrawCentredText(dc, b, label, graphcolor::kBlack);
    button.SetRect(b);
    return b;
}

const std::string& ChooseCaption(const IGraphDC& dc, const std::string& caption,
                                 const std::string& shortCaption, int width) {
    return dc.TextWidth(caption) > width && caption != shortCaption ? shortCaption : caption;
}

} // namespace indicatordraw
