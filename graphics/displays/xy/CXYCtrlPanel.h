#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/GraphGeometry.h"
#include "platform/archive/CObject.h"
#include "shared/CMfxFont.h"

class CChannelInfo;
class IGraphDC;

// A font's average character width and height, which are 4 and 8 dialog units;
// the default is the dialog font's at 96 dots per inch.
struct XYDialogUnits {
    int x = 6;
    int y = 13;
};

// The XY frame as its control panel reports to it.
class IXYPanelParent {
public:
    virtual ~IXYPanelParent() = default;
    virtual void OnAutoScale() = 0;
    // The Marker and Least squares boxes, with their new state.
    virtual void OnToggleVMarkerState(bool on) = 0;
    virtual void OnToggleLeastSquares(bool on) = 0;
};

// The XY display's control panel without its window: the Autoscale button,
// the Marker and Least squares boxes, which channel is on each axis, the
// marker's values and the fit's gain and offset. The panel holds no plot
// state: every command goes to the frame, which writes the results back.
// The window shows Text(i) and the boxes' states and is told of every change.
class CXYCtrlPanel : public tvane::CObject {
    DECLARE_SERIAL(CXYCtrlPanel)
public:
    enum Readout { kYChannel = 0, kYValue, kXChannel, kXValue, kGain, kOffset, kReadouts };
    static constexpr std::int32_t kDefaultColour = 0xC80000; // (0, 0, 200)
    static constexpr double kNoValue = 9.9e37;

    // The controls of the panel in dialog units (311 x 30): a label's text is
    // fixed, a readout's is Text(readout).
    enum Kind { kButton, kCheckBox, kLabel, kReadout };
    struct Control {
        int id;
        Kind kind;
        const char* text; // a button, box or label
        int readout;      // a readout's index, else -1
        GRect rect;       // dialog units
    };
    static const std::vector<Control>& Layout();
    static constexpr int kDialogWidth = 311;
    static constexpr int kDialogHeight = 30;
    using BaseUnits = XYDialogUnits;
    // The base units of a font whose 52 letters A-Z and a-z are width wide.
    static BaseUnits UnitsOf(int letterWidth, int height);
    static const char* Letters() { return "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"; }
    static GRect ToPixels(const GRect& dialogUnits, BaseUnits units = {});
    static int Height(BaseUnits units = {}) {
        return ToPixels({0, 0, kDialogWidth, kDialogHeight}, units).Height();
    }

    CXYCtrlPanel();

    void SetParent(IXYPanelParent* parent) { m_parent = parent; }
    // Called with the readout after a change, -1 after a box changed.
    void SetTextChanged(std::function<void(int)> changed) { m_changed = std::move(changed); }

    const std::string& Text(int readout) const;
    bool GetMarkerCheck() const { return m_markerCheck != 0; }
    bool GetLeastSquaresCheck() const { return m_leastSquaresCheck != 0; }
    std::int32_t GetColour() const { return m_colour; }
    const CMfxFont& GetFont() const { return m_font; }
    void SetFont(const LOGFONT& font);
    const std::string& GetXUnits() const { return m_xUnits; }
    const std::string& GetYUnits() const { return m_yUnits; }

    // Commands.
    void ClickAutoscale();
    void ClickMarker(bool checked);
    void ClickLeastSquares(bool checked);

    // What the frame shows. A channel sets the axis's text "(%d)" and units;
    // none shows "(Off)" and keeps the units.
    void SetYChannel(const CChannelInfo* channel);
    void SetXChannel(const CChannelInfo* channel);
    // The value with the axis's units; the hole value shows "OVLD" when the
    // frame marks it as an overload, else nothing.
    void SetYValue(bool overload, double value);
    void SetXValue(bool overload, double value);
    // The value without units; the hole value shows nothing.
    void SetGain(double value);
    void SetOffset(double value);

    // Printing and copying: the background and the texts at their places for
    // the panel's font on that surface, rect in the surface's pixels.
    void DrawPanel(IGraphDC& dc, const GRect& rect) const;

    void Serialize(tvane::CArchive& ar) override;

private:
    void Set(int readout, std::string text);
    std::string AxisValueText(bool overload, double value, const std::string& units) const;
    static std::string PlainValueText(double value);

    IXYPanelParent* m_parent = nullptr;
    std::function<void(int)> m_changed;
    std::int32_t m_colour = kDefaultColour;
    std::array<std::string, kReadouts> m_texts;
    std::string m_xUnits = "(Off)";
    std::string m_yUnits = "(Off)";
    std::uint32_t m_markerCheck = 0;
    std::uint32_t m_reservedState = 0;
    std::uint32_t m_leastSquaresCheck = 0;
    CMfxFont m_font;
};
