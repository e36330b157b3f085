#pragma once
#include <vector>

#include "graphics/GraphGeometry.h"

// The layout of the displays that show a row of blocks, one block of
// elements (lamps, switches, buttons) per channel: the data lights, the
// switch bank and the push buttons.
//
// The row is cut into cells of width w: with one element per block
// w = W / (B + extraCells); otherwise w = W / (E / 8 + 4 (B - E mod 8) + 1),
// which is W / (5B + 1) for blocks of eight (W the row's width, B the blocks,
// E the elements, integer division). The first element's box is the first
// cell, from the top down to heightShare of the row's height, made square and
// shrunk by a quarter of its width (indicatordraw::SquareBox). Under it, 0.2
// text heights down, a text height high, is the label row, as wide as the box
// plus that quarter on both sides. Under that, 0.2 text heights down but at
// most one text height above the bottom, 3.2 text heights high at most down
// to the bottom, is the caption row. The row starts leadHalfCells half cells
// in; the elements of a block touch, and the next block starts one cell after
// the last element of the one before.
struct BlockRowStyle {
    int extraCells = 1;    // cells beside B when every block has one element
    int leadHalfCells = 2; // empty half cells before the first block
    double heightShare = 0.75;
};

struct BlockRowLayout {
    struct Element {
        GRect box;
        GRect label;
    };
    struct Block {
        std::vector<Element> elements;
        GRect caption; // from the first label's left to the last label's right
    };
    int cellWidth = 0;
    // Element labels fit above the captions.
    bool labelsShown = false;
    std::vector<Block> blocks;
};

// The layout of blocks of these element counts (the populated slots, in slot
// order) in rect for text textHeight high.
BlockRowLayout LayoutBlockRow(const GRect& rect, int textHeight,
                              const std::vector<int>& elementCounts, const BlockRowStyle& style);
