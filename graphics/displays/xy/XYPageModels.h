#pragma once
#include <memory>
#include <string>
#include <vector>

class CChannelArray;
class CChannelInfo;
class CXYFrame;

// The pages' check of one field: false with the range message.
namespace xypage {
bool CheckIntRange(int value, int minimum, int maximum, std::string& message);
bool CheckNumberRange(double value, double minimum, double maximum, std::string& message);
std::string NumberRangeMessage(double minimum, double maximum);
// An axis pair: the minimum lies below the maximum by more than the rounding
// of either (a relative tolerance, so large magnitudes are not let through
// equal, nor tiny spans kept that no axis can show).
bool IsOrderedRange(double minimum, double maximum);
} // namespace xypage

// The XY display's Channels page without its window: the X and Y channel
// lists act on the display at once; the axis ranges and label decimals when
// the page is left.
class XYChannelPageModel {
public:
    static constexpr int kHelpPage = 1;
    static constexpr int kMaxPrecision = 6;
    static constexpr double kBound = 9.9e37;

    struct Axis {
        int selection = 0; // index in ChannelTexts(), 0 the no-channel entry
        double minimum = 0.0;
        double maximum = 1.0;
        int precision = 1;
        bool enabled = false; // the axis's Min, Max and Precision edits
    };
    struct Values {
        Axis x;
        Axis y;
    };
    // The field a failed check goes back to.
    enum Field { kNone, kXPrecision, kYPrecision, kXMin, kXMax, kYMin, kYMax };

    explicit XYChannelPageModel(CXYFrame& frame);
    ~XYChannelPageModel();

    int HelpId() const;
    // The no-channel entry first, then each available channel as its label
    // followed by its name.
    const std::vector<std::string>& ChannelTexts() const { return m_texts; }
    // The page's values as the display has them (the page is first shown).
    Values Init() const;
    // A list's selection changed: the display takes the channel (or drops it)
    // and the axis shows its range with the axis's label decimals.
    void SelectX(int index, Axis& axis);
    void SelectY(int index, Axis& axis);
    // "%.*f" of a bound.
    static std::string FormatBound(double value, int precision);

    // The checks in the page's order; false with the field and its message.
    static bool Validate(const Values& values, Field& field, std::string& message);
    // Leaving the page: checks, then applies ranges and decimals.
    bool Apply(const Values& values, Field& field, std::string& message);

private:
    void Select(int channelIndex, int listIndex, Axis& axis);
    const CChannelInfo* ChannelOfEntry(int index) const;
    int EntryOf(const CChannelInfo* channel) const;

    CXYFrame& m_frame;
    std::unique_ptr<CChannelArray> m_available;
    std::vector<std::string> m_texts;
};

// The XY display's Advanced page without its window: grid, continuous
// autoscale, connected points and the symbols take effect at once; the
// maximum scans displayed and the update rate when the page is left.
class XYAdvancedPageModel {
public:
    static constexpr int kHelpPage = 3;
    static constexpr int kMinScans = 10;
    static constexpr int kMaxScans = 1000;
    static constexpr int kMinRate = 1;
    static constexpr int kMaxRate = 5000;

    struct Values {
        bool grid = true;
        bool autoscale = false;
        bool lines = false;
        int maxScans = 100;
        int updateRate = 1;
    };
    enum Field { kNone, kMaxScansField, kRateField };

    explicit XYAdvancedPageModel(CXYFrame& frame);

    int HelpId() const;
    Values Init() const;
    std::vector<std::string> Items() const;
    std::vector<std::string> Symbols() const;
    static std::vector<std::string> Sizes();
    // The symbol and size index shown for a plotted item (-1 none).
    int SymbolIndex(int item) const;
    int SizeIndex(int item) const;

    void SetGrid(bool on);
    void SetAutoscale(bool on);
    void SetLines(bool on);
    void SetSymbol(int item, int symbolIndex, int sizeIndex);

    static bool Validate(const Values& values, Field& field, std::string& message);
    bool Apply(const Values& values, Field& field, std::string& message);

private:
    CXYFrame& m_frame;
};
