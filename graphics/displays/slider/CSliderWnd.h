#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/GraphItemProps.h"
#include "graphics/displays/slider/ISliderWindow.h"
#include "graphics/displays/slider/SliderModel.h"
#include "platform/archive/CObject.h"
#include "shared/CMfxFont.h"

class IGraphFrameWindow;

// What the slider tells the display it sits in.
class ISliderOwner {
public:
    virtual ~ISliderOwner() = default;
    // Without a channel the slider shows only "No connection".
    virtual bool SliderHasChannel() const = 0;
    // Every change, with its code; SliderModel::kEnd ends an interaction.
    virtual void OnSliderScroll(int code) = 0;
    // Tab and Enter pressed on the slider.
    virtual void OnSliderTab() = 0;
    virtual void OnSliderEnter() = 0;
};

// The slider control of the slider display: a value between two limits on a
// track with eleven ticks and a thumb, moved by clicks beside the thumb (with
// auto-repeat), by dragging it and by keys. It knows nothing of channels:
// each change goes to its owner.
class CSliderWnd : public tvane::CObject, public ISliderWindowClient {
    DECLARE_SERIAL(CSliderWnd)
public:
    static constexpr const char* kSourceModule = "SlidrWnd";
    static constexpr std::uint32_t kDefaultBack = 0x808000;
    static constexpr std::uint32_t kDefaultText = 0xFFFFFF;

    CSliderWnd() = default;
    ~CSliderWnd() override;
    CSliderWnd(const CSliderWnd&) = delete;
    CSliderWnd& operator=(const CSliderWnd&) = delete;

    // A new slider's window in frame at rect; throws the graphics exception
    // (Create Failed) when the window or its font cannot be made.
    bool Create(IGraphFrameWindow& frame, ISliderOwner& owner, const GRect& rect,
                const LOGFONT& font, std::int32_t id);
    // A loaded slider's window; false when it cannot be made.
    bool Recreate(IGraphFrameWindow& frame, ISliderOwner& owner, const GRect& rect);
    void DestroyWindow();
    ISliderWindow* GetWindow() const { return m_window.get(); }

    void SetRange(double lower, double upper) { m_model.SetRange(lower, upper); }
    double GetLower() const { return m_model.Lower(); }
    double GetUpper() const { return m_model.Upper(); }
    double GetValue() const { return m_model.Value(); }
    // True when the stored value changed.
    bool SetValue(double value, bool redraw, bool snap);
    double GetResolution() const { return m_model.Resolution(); }
    void SetResolution(double resolution) { m_model.SetResolution(resolution); }
    std::int32_t GetOrientation() const { return m_model.GetOrientation(); }
    void SetOrientation(std::int32_t orientation) { m_model.SetOrientation(orientation); }
    const SliderModel& Model() const { return m_model; }
    // The track as a window of client's size lays it out, and back.
    void LayOutFor(const GRect& client) { Layout(client); }
    void SetTrack(const GRect& track) { m_model.SetTrack(track); }
    std::uint32_t GetBackColor() const { return m_backColor; }
    const CMfxFont* GetFont() const { return m_font.get(); }
    void Redraw();

    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw);
    // Paints the whole control into dc at rect.
    bool Draw(IGraphDC& dc, const GRect& rect);

    // The button's two fields, notify id, step pixels, resolution, limits,
    // their texts, span, track, thumb and groove, background, font, id, the
    // notification's id and state, value, orientation. Limits, resolution,
    // value and orientation are checked on load.
    void Serialize(tvane::CArchive& ar) override;

    // --- ISliderWindowClient ---------------------------------------------------
    void Paint(IGraphDC& dc, const GRect& client) override;
    void OnMouse(Mouse event, GPoint point) override;
    bool OnKeyDown(SliderModel::Key key) override;
    void OnEnterKey() override;
    void OnKeyUp() override;
    void OnTimer(int id) override;
    void OnSize() override;
    void OnCancelMode() override;

private:
    bool MakeWindow(IGraphFrameWindow& frame, const GRect& rect);
    // The track laid out in client for the limit texts as the window
    // measures them.
    void Layout(const GRect& client);
    void Apply(const SliderModel::Outcome& outcome, const GRect& thumbBefore);
    // window: painting the slider's own window rather than a printed copy.
    void DrawClient(IGraphDC& dc, const GRect& client, bool window);

    SliderModel m_model;
    std::int32_t m_buttonFields[2] = {0, 0};
    std::unique_ptr<CMfxFont> m_font;
    std::uint32_t m_backColor = kDefaultBack;
    std::int32_t m_notifyId = 0;
    std::int32_t m_id = 0;
    std::int32_t m_previousNotifyId = 0;
    std::int32_t m_lastStepState = 0;
    GRect m_thumbRect;
    GRect m_grooveRect;
    bool m_repeating = false;

    ISliderOwner* m_owner = nullptr;
    std::unique_ptr<ISliderWindow> m_window;
};
