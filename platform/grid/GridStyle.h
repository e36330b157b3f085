#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tvane {

// Colours stay COLORREF values (0x00BBGGRR) outside the painting code.
using ColorRef = std::uint32_t;
constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

enum class GridHAlign { Left, Center, Right };
enum class GridVAlign { Top, Center, Bottom };

struct GridBorder {
    int width = 1;
    ColorRef color = 0;
    bool operator==(const GridBorder&) const = default;
};

struct GridFont {
    std::string face;
    int points = 8;
    bool bold = false;
    bool operator==(const GridFont&) const = default;
};

// Control ids every grid knows; owners register their own controls under
// other ids.
namespace gridcontrol {
inline constexpr int kStatic = 0; // read-only text, no control
inline constexpr int kEdit = 1;   // the grid's own text edit
} // namespace gridcontrol

// How a cell looks and is edited. Every attribute is optional: a style holds
// only what it sets, and the grid builds a cell's style by laying the standard
// style, the header or column style, the cell's own style and the owner's hook
// over one another (ChangeStyle), so a cell style that sets only the interior
// keeps the column's control.
struct GridStyle {
    std::optional<int> control;
    std::optional<bool> readOnly;
    std::optional<ColorRef> interior;
    std::optional<ColorRef> textColor;
    std::optional<GridHAlign> hAlign;
    std::optional<GridVAlign> vAlign;
    std::optional<int> maxLength;
    // Items, each ended by "\n".
    std::optional<std::string> choiceList;
    std::optional<std::string> value;
    std::optional<GridFont> font;
    std::optional<GridBorder> rightBorder;
    std::optional<GridBorder> bottomBorder;
    std::optional<bool> wrapText;
    // Attributes the grid does not interpret, by id.
    std::map<int, std::string> userAttributes;

    // Takes over every attribute that other sets.
    void ChangeStyle(const GridStyle& other);

    int ControlId() const { return control.value_or(gridcontrol::kStatic); }
    bool IsReadOnly() const { return readOnly.value_or(false); }
    std::string Value() const { return value.value_or(std::string()); }
    const std::string* UserAttribute(int id) const;

    bool operator==(const GridStyle&) const = default;
};

// The items of a choice list, each ended by "\n"; a trailing part without one
// is not an item.
std::vector<std::string> SplitChoiceList(const std::string& list);

} // namespace tvane
