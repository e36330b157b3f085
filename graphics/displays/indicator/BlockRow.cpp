#include "graphics/displays/indicator/BlockRow.h"

#include <algorithm>
#include <numeric>

#include "graphics/displays/indicator/IndicatorDraw.h"

BlockRowLayout LayoutBlockRow(const GRect& r, int h, const std::vector<int>& counts,
                              const BlockRowStyle& style) {
    BlockRowLayout layout;
    const int blocks = static_cast<int>(counts.size());
    if (blocks == 0)
        return layout;
    const int elements = std::accumulate(counts.begin(), counts.end(), 0);
    int cells = elements == blocks ? blocks + style.extraCells
                                   : elements / 8 + 4 * (blocks - elements % 8) + 1;
    // Only blocks of one or of eight elements make sense; a mixture must not divide by 0.
    cells = std::max(cells, 1);
    const int w = r.Width() / cells;
    layout.cellWidth = w;

    const GRect cell{r.left, r.top, r.left + w,
                     r.top + static_cast<int>(style.heightShare * r.Height())};
    int q = 0;
    GRect box = indicatordraw::SquareBox(cell, &q);
    GRect label{box.left - q, box.bottom + static_cast<int>(0.2 * h), box.right + q, 0};
    label.bottom = label.top + h;
    GRect caption{label.left, std::min(label.bottom + static_cast<int>(0.2 * h), r.bottom - h),
                  label.right, 0};
    caption.bottom = std::min(caption.top + static_cast<int>(3.2 * h), r.bottom);
    layout.labelsShown = label.bottom <= caption.top;

    const int lead = w * style.leadHalfCells / 2;
    box = box.Offset(lead, 0);
    label = label.Offset(lead, 0);
    for (int count : counts) {
        BlockRowLayout::Block block;
        block.caption = caption;
        block.caption.left = label.left;
        for (int e = 0; e < count; ++e) {
            block.elements.push_back({box, label});
            block.caption.right = label.right;
            const int step = e + 1 < count ? box.Width() : w;
            box = box.Offset(step, 0);
            label = label.Offset(step, 0);
        }
        layout.blocks.push_back(std::move(block));
    }
    return layout;
}
