#include "graphics/GraphPageRules.h"

#include <algorithm>
#include <cmath>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphItemProps.h"
#include "platform/core/Format.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"

namespace graphpage {

Limits LimitsFor(const CChannelInfo& channel) {
    if (channel.Kind == 2)
        return {0.0, 67108863.0};
    if (channel.Kind == 0x400)
        return {0.0, 255.0};
    return {};
}

bool MinBelowMax(double minimum, double maximum) {
    const double size = std::max({1.0, std::fabs(minimum), std::fabs(maximum)});
    return maximum - minimum > 1e-15 * size;
}

bool CheckRange(int value, int minimum, int maximum, std::string& message) {
    if (value >= minimum && value <= maximum)
        return true;
    message = tvane::Format("Please enter an integer between %d and %d.", minimum, maximum);
    return false;
}

bool CheckRange(double value, double minimum, double maximum, std::string& message) {
    if (value >= minimum && value <= maximum)
        return true;
    message = RangeMessage(minimum, maximum);
    return false;
}

std::string RangeMessage(double minimum, double maximum) {
    return tvane::Format("Please enter a number between %g and %g.", minimum, maximum);
}

AppearanceLists FillAppearanceLists(CGraphFrame& frame) {
    AppearanceLists lists;
    GRAPHITEMPROPS range;
    range.mask = GRAPHITEMPROPS::kItemRange;
    int first = 1, count = 7;
    if (frame.GetAppearanceItem(0, range) && range.itemCount > 0) {
        first = range.firstItem;
        count = range.itemCount;
    }
    const CChannelArray* channels = frame.GetChannelArray();
    bool anyChannel = false;
    if (channels)
        for (std::size_t i = 0; i < channels->GetSize(); ++i)
            anyChannel = anyChannel || channels->GetAt(i) != nullptr;
    for (int item = first; item < first + count; ++item) {
        if (item == GRAPHITEMPROPS::kChannelColor) {
            if (!anyChannel)
                continue;
            for (std::size_t i = 0; i < channels->GetSize(); ++i) {
                if (!channels->GetAt(i))
                    continue;
                GRAPHITEMPROPS props;
                props.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
                props.channelIndex = static_cast<std::int32_t>(i);
                if (frame.GetAppearanceItem(item, props))
                    lists.colors.push_back({props.itemName, static_cast<std::uint32_t>(i) * 65536u +
                                                                static_cast<std::uint32_t>(item)});
            }
        } else {
            GRAPHITEMPROPS props;
            props.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
            if (frame.GetAppearanceItem(item, props))
                lists.colors.push_back({props.itemName, static_cast<std::uint32_t>(item)});
        }
        GRAPHITEMPROPS font;
        font.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kFont;
        if (frame.GetAppearanceItem(item, font))
            lists.fonts.push_back({font.itemName, static_cast<std::uint32_t>(item)});
        GRAPHITEMPROPS label;
        label.mask = GRAPHITEMPROPS::kLabelName;
        if (frame.GetAppearanceItem(item, label))
            lists.labels.push_back({label.labelName, static_cast<std::uint32_t>(item)});
    }
    return lists;
}

std::string ChannelText(const CChannelInfo& channel) {
    return channel.Label + channel.Name;
}

std::string SlotRowText(int slot, const CChannelInfo* channel) {
    return std::to_string(slot + 1) + "\t" + (channel ? ChannelText(*channel) : "<None>");
}

ChannelChoices::ChannelChoices(CGraphFrame& frame) {
    CChannelArray available;
    frame.GetAvailableChannels(available);
    for (std::size_t i = 0; i < available.GetSize(); ++i)
        if (const CChannelInfo* c = available.GetAt(i))
            m_channels.push_back(*c);
    available.DeleteAll();
}

std::vector<std::string> ChannelChoices::Entries() const {
    std::vector<std::string> entries{CChannelInfo().Label};
    for (const CChannelInfo& c : m_channels)
        entries.push_back(ChannelText(c));
    return entries;
}

int ChannelChoices::EntryOf(const CChannelInfo* channel) const {
    for (std::size_t i = 0; channel && i < m_channels.size(); ++i)
        if (m_channels[i].Number == channel->Number)
            return static_cast<int>(i) + 1;
    return 0;
}

const CChannelInfo* ChannelChoices::ChannelAt(int entry) const {
    if (entry < 1 || entry > static_cast<int>(m_channels.size()))
        return nullptr;
    return &m_channels[static_cast<std::size_t>(entry - 1)];
}

bool HasTab(const std::string& row) {
    return row.find('\t') != std::string::npos;
}

std::string AfterTab(const std::string& row) {
    const auto tab = row.find('\t');
    return tab == std::string::npos ? std::string{} : row.substr(tab + 1);
}

std::uint32_t SwitchFilter(bool readingDisplay, bool byteDisplay) {
    if (readingDisplay)
        return byteDisplay ? 0x400 : 0x1D4;
    return byteDisplay ? 0x800 : 0x1D8;
}

int ZoomIndex(int percent) {
    if (percent < 101)
        return 0;
    if (percent < 126)
        return 1;
    return 2;
}

int ZoomPercent(int index) {
    return index == 2 ? 150 : index == 1 ? 125 : 100;
}

} // namespace graphpage
