#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scan/CChannelInfo.h"

class CChannelArray;
class CGraphFrame;
struct GRAPHITEMPROPS;

// The rules of the display property pages, apart from their windows.
namespace graphpage {

struct Limits {
    double minimum = -9.9e37;
    double maximum = 9.9e37;
};
// Bounds of values entered for a channel: a totalizer 0..67108863, a digital
// byte 0..255, anything else +-9.9e37.
Limits LimitsFor(const CChannelInfo& channel);

// An axis' Min and Max as a page accepts them: Min lies below Max by more
// than the rounding of doubles of their size, so two values that differ only
// in their last digits (equal, in effect) are refused at any magnitude.
bool MinBelowMax(double minimum, double maximum);

// The class library's range check of one field: false with its message.
bool CheckRange(int value, int minimum, int maximum, std::string& message);
bool CheckRange(double value, double minimum, double maximum, std::string& message);
std::string RangeMessage(double minimum, double maximum);

// Sibling query codes of "GraphPageQuerySiblings".
enum SiblingCode { kAppearanceChanged = 0, kChannelsChanged = 1 };

// One entry of an appearance list: its text and item data (channel index x
// 65536 + item for per-channel colours, else the item).
struct ItemEntry {
    std::string text;
    std::uint32_t data = 0;
};
struct AppearanceLists {
    std::vector<ItemEntry> colors;
    std::vector<ItemEntry> fonts;
    std::vector<ItemEntry> labels;
};
// The Appearance page's three lists, asked of the display item by item.
AppearanceLists FillAppearanceLists(CGraphFrame& frame);
inline int ItemOf(std::uint32_t data) {
    return static_cast<int>(data & 0xFFFF);
}
inline int ChannelOf(std::uint32_t data) {
    return static_cast<int>(data >> 16);
}
inline constexpr int kMaxLabelText = 25;
inline constexpr int kMaxTabName = 20;

// The channel page's texts: a slot row ("%d\t" then label and name, or
// "<None>"), and a channel as the combo box shows it.
std::string SlotRowText(int slot, const CChannelInfo* channel);
std::string ChannelText(const CChannelInfo& channel);
// The text after the first tab of a row; empty when there is none.
std::string AfterTab(const std::string& row);
bool HasTab(const std::string& row);

// The channel list of a display's channel page: "<None>" first, then each
// channel the display may show, as its label and name.
class ChannelChoices {
public:
    explicit ChannelChoices(CGraphFrame& frame);
    std::vector<std::string> Entries() const;
    // The entry of a channel (by its number); 0 for none or one not offered.
    int EntryOf(const CChannelInfo* channel) const;
    // The channel of an entry; null for "<None>" and entries past the list.
    const CChannelInfo* ChannelAt(int entry) const;

private:
    std::vector<CChannelInfo> m_channels;
};

// The switch channel page's filters: reading or writing display, byte or bit.
std::uint32_t SwitchFilter(bool readingDisplay, bool byteDisplay);

// The Page Properties sheet's zoom choice: radio index from a percentage and back.
int ZoomIndex(int percent);
int ZoomPercent(int index);

} // namespace graphpage
