#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/CIndicatorArray.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/ReadButton.h"
#include "scan/CChannelInfo.h"
#include "scan/CReadingInfo.h"
#include "shared/CMfxFont.h"

class CGraphFrame;
class IGraphDC;

// The readout's window: one channel's latest value as a line of text
// centred in the window, in the alarm state's colour, with the channel's
// units, in decimal or hexadecimal. In Scan mode its frame hands it each new
// reading; in Immediate mode it asks the document itself: a query when it is
// made again after loading or given a channel, a read each time its "Read"
// button is let go. Requests go out through the frame, each with its own copy
// of the request record; the answer comes back through the frame.
class CReadout : public tvane::CObject, public IGaugeWindowClient {
    DECLARE_SERIAL(CReadout)
public:
    static constexpr const char* kSourceModule = "Readout";
    enum Mode : std::int32_t { kImmediate = 0, kScan = 1 };
    // The colours of the alarm states, one lamp each.
    static constexpr std::uint32_t kNoAlarmColor = 0x00FF00;
    static constexpr std::uint32_t kLowAlarmColor = 0xFF0000;
    static constexpr std::uint32_t kHighAlarmColor = 0x0000FF;
    static constexpr std::uint32_t kTextColor = 0xFFFF00;

    CReadout();
    ~CReadout() override;
    CReadout(const CReadout&) = delete;
    CReadout& operator=(const CReadout&) = delete;

    // The window and its parts for a new display; throws the graphics
    // exception (Create Failed) when the window or the font cannot be made.
    bool Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font);
    // The window of a loaded display; queries in Immediate mode.
    bool Recreate(CGraphFrame& frame, const GRect& rect);
    void DestroyWindow();
    IGaugeWindow* GetWindow() const { return m_window.get(); }

    // Shows text; false (and nothing changes) when it cannot be measured.
    bool SetText(const std::string& text);
    const std::string& GetText() const { return m_text; }
    // Formats and shows a value; nothing for the "no value".
    void ShowValue(double value);
    double GetValue() const { return m_value; }
    // Its channel was removed.
    void ShowNoConnection();
    // A copy of the channel; queries it in Immediate mode.
    bool SetChannel(const CChannelInfo& channel);
    const CChannelInfo& GetChannel() const { return m_channel; }
    // The document's answer for the channel; the alarm colour stays.
    bool TakeAnswer(const CReadingInfo& record);
    std::int32_t GetAcquisitionMode() const { return m_mode; }
    void SetAcquisitionMode(std::int32_t mode) { m_mode = mode; }
    std::int32_t GetNumberFormat() const { return m_format; }
    // Shows the kept value again in the new format.
    void SetNumberFormat(std::int32_t format);
    // 0 none, 1 low, 2 high; other states are not shown.
    void SetAlarmState(std::int32_t state);
    std::int32_t GetAlarmState() const { return m_alarm; }
    std::uint32_t GetBackColor() const { return m_backColor; }
    const CPushButton* GetReadButton() const { return m_button.get(); }
    const CMfxFont* GetFont() const { return m_font.get(); }
    const CIndicatorArray& GetIndicators() const { return m_indicators; }

    // Paints into any surface: the background, the Read button in Immediate
    // mode, the text.
    bool Draw(IGraphDC& dc, const GRect& rect);
    void DrawContents(IGraphDC& dc, GRect rect);

    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);

    // Font, text, background, mode, Read button, format, value, alarm state,
    // the channel's and the lamps' own parts. Loaded values are checked: a
    // format, mode or alarm state out of range, or lamps other than three,
    // reject the archive.
    void Serialize(tvane::CArchive& ar) override;

    // --- The window ---------------------------------------------------------
    void Paint(IGraphDC& dc, const GRect& client) override;
    void OnMouse(Mouse event, GPoint point) override;

private:
    bool ButtonShown() const;
    void PostRequest(std::int32_t kind);
    void Repaint(const GRect* rect);
    void ApplyOutcome(const ReadButtonTracker::Outcome& outcome);

    std::int32_t m_format = 0;
    double m_value;
    std::int32_t m_alarm = 0;
    CReadingInfo m_request;
    std::unique_ptr<CMfxFont> m_font;
    std::string m_text;
    std::uint32_t m_backColor = 0x000000;
    std::int32_t m_mode = kScan;
    std::unique_ptr<CPushButton> m_button;
    CChannelInfo m_channel;
    CIndicatorArray m_indicators;

    CGraphFrame* m_frame = nullptr;
    std::unique_ptr<IGaugeWindow> m_window;
};
