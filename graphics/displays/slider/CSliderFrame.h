#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/slider/CSliderWnd.h"
#include "graphics/displays/text/CTextBox.h"
#include "scan/CReadingInfo.h"

// The slider display: a slider and a value box that set one analog output.
// A value is written when an interaction ends (the slider's end code, Tab or
// Enter in the box, OK in the sheet) and only when it differs from the last
// one written; the document's answer sets the slider.
class CSliderFrame : public CGraphFrame, public ISliderOwner, public ITextBoxKeys {
    DECLARE_SERIAL(CSliderFrame)
public:
    static constexpr const char* kSourceModule = "Slidrfrm";
    static constexpr std::uint32_t kAnalogOutputs = 0x20;

    CSliderFrame();
    ~CSliderFrame() override;

    int GetHelpId(int page) const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    bool OnChannelChanged(int index, const CChannelInfo* channel) override;
    void SetChannelAt(int index, const CChannelInfo* channel) override;
    void RemoveChannelAt(int index) override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    int Print(IGraphDC& dc) override;
    void OnSelected() override;
    bool OnActionResult(const CReadingInfo* record) override;
    bool HideDuringPropertiesEdit() const override { return true; }
    void DestroyWindow() override;

    // The base part, then the slider's region, the box's region, the slider
    // and the box, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    // --- What the Advanced page edits --------------------------------------------
    void GetLimits(double& lower, double& upper) const;
    void SetLimits(double lower, double upper);
    double GetValue() const;
    void SetValue(double value);
    double GetResolution() const;
    void SetResolution(double resolution);
    std::int32_t GetOrientation() const;
    // Lays the slider and the box out for the orientation and gives the frame
    // that orientation's size.
    void SetOrientation(std::int32_t orientation);

    CSliderWnd* GetSlider() const { return m_slider.get(); }
    CTextBox* GetValueBox() const { return m_box.get(); }
    const CReadingInfo& GetRequest() const { return m_request; }
    bool HasChannel() const;
    // The box's text as a value: on the slider, or a message shown and the
    // text selected.
    bool TakeValueBox();
    // Writes the slider's value when it differs from the last one written.
    void Write();

    // --- ISliderOwner, ITextBoxKeys ---------------------------------------------
    bool SliderHasChannel() const override { return HasChannel(); }
    void OnSliderScroll(int code) override;
    void OnSliderTab() override;
    void OnSliderEnter() override;
    bool OnBoxKey(int key) override;

private:
    void ApplyOrientation(std::int32_t orientation, bool resize);
    void PostQuery();
    void RefreshValueText();
    void ShowValueBox(bool show);

    CReadingInfo m_request;
    std::unique_ptr<CSliderWnd> m_slider;
    std::unique_ptr<CTextBox> m_box;
    std::unique_ptr<CRegion> m_sliderRegion;
    std::unique_ptr<CRegion> m_boxRegion;
    std::string m_valueText;
};
