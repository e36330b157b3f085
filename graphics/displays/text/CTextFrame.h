#pragma once
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/text/CTextBox.h"

// The text display: a frame whose whole data area is a free-text box.
class CTextFrame : public CGraphFrame {
    DECLARE_SERIAL(CTextFrame)
public:
    CTextFrame();
    ~CTextFrame() override;

    int GetHelpId(int page) const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    int Print(IGraphDC& dc) override;
    void DestroyWindow() override;

    // The base part, then the text box and the region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    CTextBox* GetTextBox() const { return m_textBox.get(); }
    CRegion* GetRegion() const { return m_region.get(); }

private:
    std::unique_ptr<CTextBox> m_textBox;
    std::unique_ptr<CRegion> m_region;
};
