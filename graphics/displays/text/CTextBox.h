#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CMfxFont.h"
#include "graphics/CMfxBrush.h"
#include "graphics/CRegion.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IGraphFrameWindow.h"

class IGraphDC;

// The editable text of the text and slider displays: its colours, font,
// optional outline and contents, stored with the display.
class CTextBox : public tvane::CObject {
    DECLARE_SERIAL(CTextBox)
public:
    static constexpr const char* kSourceModule = "Textbox";

    CTextBox() = default;
    ~CTextBox() override;
    CTextBox(const CTextBox&) = delete;
    CTextBox& operator=(const CTextBox&) = delete;

    // Makes the window in parent at rect (2 pixels smaller each side with the
    // outline); throws the graphics exception when it cannot be made.
    bool Create(IGraphFrameWindow& parent, const GRect& rect, const LOGFONT& font);
    // A loaded box: the window, font and brush again, with the stored text.
    bool Recreate(IGraphFrameWindow& parent, const GRect& rect);
    void DestroyWindow();
    ITextBoxWindow* GetWindow() const { return m_window.get(); }

    bool Draw(IGraphDC& dc, const GRect* rect);
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) const;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint);
    // A typed character: whether it reaches the text (Tab and Enter only when
    // accepted).
    bool AcceptsChar(int ch) const {
        return m_acceptTabEnter || (ch != '\t' && ch != '\r' && ch != '\n');
    }
    std::string GetText() const;
    void SetText(const std::string& text);

    // Outline, background, text colour, accept-Tab-and-Enter, the text, then the
    // font's and the brush's own parts.
    void Serialize(tvane::CArchive& ar) override;

    std::uint32_t m_backColor = 0x00FFFFFF;
    std::uint32_t m_textColor = 0x00000000;
    CMfxFont m_font;
    CMfxBrush m_brush;
    std::string m_text;
    std::int32_t m_outline = 0;
    std::int32_t m_acceptTabEnter = 1;

private:
    GRect WindowRect(const GRect& rect) const { return m_outline ? rect.Deflated(2) : rect; }
    std::unique_ptr<ITextBoxWindow> m_window;
};
