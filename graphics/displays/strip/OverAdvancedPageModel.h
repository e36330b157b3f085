#pragma once
#include <string>
#include <vector>

class CXrtOverlayFrame;

// The strip chart's Advanced page without its window: the plot style, the
// symbol and size of each kind of plotted item and the grid take effect at
// once; the maximum scans displayed, the relative reset and the update rate
// when the sheet closes with OK.
class OverAdvancedPageModel {
public:
    struct Values {
        int style = 1; // 0 point, 1 line, 2 both
        int maxScans = 200;
        int relativeReset = 1;
        int updateRate = 1;
        bool grid = true;
    };
    static constexpr int kMinScans = 100;
    static constexpr int kMaxScans = 5000;
    static constexpr int kMinReset = 1;
    static constexpr int kMaxReset = 100;
    static constexpr int kMinRate = 1;
    static constexpr int kMaxRate = 5000;
    static constexpr int kHelpPage = 3;

    explicit OverAdvancedPageModel(CXrtOverlayFrame& frame);

    // The page's values as the frame has them (the page is first shown).
    Values Init() const;
    int HelpId() const;

    std::vector<std::string> Items() const;
    std::vector<std::string> Symbols() const;
    static std::vector<std::string> Sizes();
    // The symbol (exact name match, -1 none) and size index shown for an item.
    int SymbolIndex(int item) const;
    int SizeIndex(int item) const;

    void SetGrid(bool on);
    void SetStyle(int style);
    void SetSymbol(int item, int symbolIndex, int sizeIndex);

    // The class library's range check of one field; false with its message.
    static bool CheckRange(int value, int minimum, int maximum, std::string& message);
    // OK: checks the numbers (false: the field to go back to and the message)
    // and applies them.
    enum Field { kNone, kMaxScansField, kResetField, kRateField };
    bool Apply(const Values& values, Field& field, std::string& message);

private:
    CXrtOverlayFrame& m_frame;
};
