#include "graphics/displays/strip/LegendRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "scan/ValueFormat.h"

namespace legend {

void DragLimits(const DragGeometry& g, int& upper, int& lower) {
    const int reserve = g.clientTop + g.plotReserve + g.extraReserve;
    const int rowHeight = std::max(g.rowHeight, 1);
    const int most = g.legendBottom - LegendHeight(kMaxRows, rowHeight, g.headerHeight);
    const int whole = std::max(0, (g.legendBottom - reserve - g.headerHeight) / rowHeight);
    const int fitting = g.legendBottom - LegendHeight(whole, rowHeight, g.headerHeight);
    upper = std::max({reserve, most, fitting});
    lower = g.legendBottom - g.headerHeight - rowHeight;
}

int RowsAfterDrag(const DragGeometry& g, int lineTop, int oldRows, int legendTop) {
    const int rowHeight = std::max(g.rowHeight, 1);
    int upper = 0;
    int lower = 0;
    DragLimits(g, upper, lower);
    lineTop = std::clamp(lineTop, upper, std::max(upper, lower));
    int rows = (g.legendBottom - lineTop - g.headerHeight) / rowHeight;
    if (rows == oldRows && lineTop < legendTop &&
        g.legendBottom - LegendHeight(rows + 1, rowHeight, g.headerHeight) >= upper)
        ++rows;
    return std::clamp(rows, 1, kMaxRows);
}

namespace {

void RemoveAll(std::string& text, const std::string& part) {
    if (part.empty())
        return;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

int Class(char c) {
    if (c >= '0' && c <= '9')
        return 1;
    if (c == 'E' || c == 'e')
        return 2;
    if (c == 'G' || c == 'K' || c == 'M' || c == 'm' || c == 'n' || c == 'p' || c == 'u')
        return 3;
    if (c == '.')
        return 4;
    if (c == '+' || c == '-')
        return 5;
    return 0;
}

} // namespace

std::string NormaliseReferenceText(const std::string& text, const std::string& unit) {
    std::string out = text;
    if (!unit.empty() && out.find(unit) != std::string::npos) {
        RemoveAll(out, unit);
    } else {
        std::string shown;
        NormalizeUnitText(unit, shown);
        RemoveAll(out, shown);
    }
    out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
    return out;
}

bool IsValidNumberText(const std::string& text) {
    int previous = 1; // as if a digit came before
    bool dot = false;
    bool letter = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int c = Class(text[i]);
        if (c == 0)
            return false;
        if (c == 4 && dot)
            return false;
        if ((c == 2 || c == 3) && (letter || i == 0))
            return false;
        if (previous == 3)
            return false; // a prefix must come last
        if ((previous == 5 && (c == 5 || c == 2)) || (previous == 2 && c == 4) ||
            (previous == 4 && (c == 2 || c == 5)) || (previous == 1 && c == 5 && i > 0))
            return false;
        dot = dot || c == 4;
        letter = letter || c == 2 || c == 3;
        previous = c;
    }
    return true;
}

bool IsReferenceCharacter(char c) {
    return (c >= '0' && c <= '9') ||
           std::string_view(".-+eEGMKmunp\b%'").find(c) != std::string_view::npos;
}

bool ParseReference(const std::string& text, const std::string& unit, double& value) {
    const std::string bare = NormaliseReferenceText(text, unit);
    if (bare.empty() || !IsValidNumberText(bare))
        return false;
    std::string plain;
    FormatEngineering(bare, plain);
    char* end = nullptr;
    const double v = std::strtod(plain.c_str(), &end);
    if (end == plain.c_str() || !(v > -1e15 && v < 1e15))
        return false;
    value = v;
    return true;
}

} // namespace legend
