#pragma once
#include <string>
#include <vector>

#include "graphics/GraphPageRules.h"

class CBarFrame;

// The bar meter's Channels page without its window: the channel chosen in the
// list is the bar's at once (Cancel does not take it back); Min, Max and
// Precision apply when the page is left.
class BarChannelPageModel {
public:
    struct Values {
        double minimum = 0.0;
        double maximum = 1.0;
        int precision = 1;
    };
    enum Field { kNoField, kMinField, kMaxField, kPrecisionField };
    static constexpr int kMaxPrecision = 6;

    explicit BarChannelPageModel(CBarFrame& frame);

    int HelpId() const;
    // "<None>" first, then each channel the bar may show as label and name.
    std::vector<std::string> Entries() const { return m_choices.Entries(); }
    // The entry of the bar's channel; 0 without one.
    int Selected() const { return m_selected; }
    bool FieldsEnabled() const { return m_selected > 0; }
    Values Init() const;
    // The list's choice, applied to the bar at once; the values the fields
    // show then.
    Values Choose(int entry);
    // Leaving the page: false with the field to go back to and the message.
    // Min and Max stay inside the bounds of the chosen channel's kind, and
    // Min lies below Max.
    bool Check(const Values& values, Field& field, std::string& message) const;
    void Apply(const Values& values);

private:
    CBarFrame& m_frame;
    graphpage::ChannelChoices m_choices;
    int m_selected = 0;
};

// The bar meter's Advanced page without its window: grid and orientation act
// at once; the update rate applies when the page is left.
class BarAdvancedPageModel {
public:
    struct Values {
        bool grid = false;
        int orientation = 1;
        int updateRate = 1;
    };
    static constexpr int kMinRate = 1;
    static constexpr int kMaxRate = 5000;

    explicit BarAdvancedPageModel(CBarFrame& frame) : m_frame(frame) {}

    int HelpId() const;
    Values Init() const;
    void SetGrid(bool on);
    void SetOrientation(int orientation);
    bool Check(int updateRate, std::string& message) const;
    void Apply(int updateRate);

private:
    CBarFrame& m_frame;
};
