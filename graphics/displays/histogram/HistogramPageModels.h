#pragma once
#include <string>
#include <utility>
#include <vector>

#include "graphics/GraphPageRules.h"

class CHistogramFrame;

// The histogram's Channels page without its window: the channel chosen in the
// list is the display's at once (Cancel does not take it back); the value
// axis, its precision, the bins and the frequency axis apply when the page is
// left, with one refresh of the display when anything changed.
class HistogramChannelPageModel {
public:
    struct Values {
        double minimum = 0.0; // value axis
        double maximum = 0.0;
        int precision = 1;
        int bins = 1;
        double frequencyMin = 0.0;
        double frequencyMax = 1.0;
    };
    enum Field {
        kNoField,
        kMinField,
        kMaxField,
        kPrecisionField,
        kBinsField,
        kFrequencyMinField,
        kFrequencyMaxField
    };
    static constexpr int kMaxPrecision = 6;
    static constexpr const char* kFrequencyOrder =
        "Y Axis Min value can not be greater than or equal to Y Axis Max value";

    explicit HistogramChannelPageModel(CHistogramFrame& frame);

    int HelpId() const;
    // "<None>" first, then each channel the display may show as label and name.
    std::vector<std::string> Entries() const { return m_choices.Entries(); }
    int Selected() const { return m_selected; }
    bool FieldsEnabled() const { return m_selected > 0; }
    Values Init() const;
    // The captions of the value axis' and the frequency axis' groups: the
    // axes change places with horizontal bars.
    std::pair<std::string, std::string> GroupCaptions() const;
    Values Choose(int entry);
    // Leaving the page: false with the field to go back to and the message.
    bool Check(const Values& values, Field& field, std::string& message) const;
    void Apply(const Values& values);

private:
    const CChannelInfo& SelectedChannel() const;

    CHistogramFrame& m_frame;
    graphpage::ChannelChoices m_choices;
    CChannelInfo m_none;
    int m_selected = 0;
};

// The histogram's Advanced page without its window: grid, orientation and
// the frequency scale's following act at once; the update rate applies when
// the page is left.
class HistogramAdvancedPageModel {
public:
    struct Values {
        bool grid = true;
        bool follow = false;
        int orientation = 1;
        int updateRate = 1;
    };

    explicit HistogramAdvancedPageModel(CHistogramFrame& frame) : m_frame(frame) {}

    int HelpId() const;
    Values Init() const;
    void SetGrid(bool on);
    void SetOrientation(int orientation);
    void SetFollow(bool on);
    void Apply(int updateRate);

private:
    CHistogramFrame& m_frame;
};
