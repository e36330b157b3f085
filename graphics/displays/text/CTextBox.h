#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/CMfxBrush.h"
#include "graphics/CRegion.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IGraphFrameWindow.h"
#include "shared/CMfxFont.h"

class CTextBox;
class IGraphDC;

// The edit window of a text box, made inside its display's window.
class ITextBoxWindow : public IRegionWindow {
public:
    virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // The text as the window breaks it into lines.
    virtual std::vector<std::string> GetLines() const = 0;
    virtual void SetFont(const LOGFONT& font) = 0;
    virtual void SetColors(std::uint32_t background, std::uint32_t text) = 0;
    virtual void Redraw() = 0;
    // The window's rectangle in its display's client pixels.
    virtual GRect GetRectInFrame() const = 0;
    virtual void Show(bool show) = 0;
    virtual void SetFocus() = 0;
    virtual void SelectAll() = 0;
};

// Told of each key pressed in a box before the box takes it: a display that
// acts on Tab or Enter in its box (the slider takes its value then).
class ITextBoxKeys {
public:
    virtual ~ITextBoxKeys() = default;
    // key: '\t' or '\r'; true when the display used it and the box must not.
    virtual bool OnBoxKey(int key) = 0;
};

// Makes the edit windows of text boxes; the windows library installs the
// program's (displays::Windows<ITextBoxWindows>).
class ITextBoxWindows {
public:
    virtual ~ITextBoxWindows() = default;
    // The edit window of box in frame at rect (client pixels); null when it
    // cannot be made.
    virtual std::unique_ptr<ITextBoxWindow> CreateTextBox(IGraphFrameWindow& frame, CTextBox& box,
                                                          const GRect& rect) = 0;
};

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
    void SetKeys(ITextBoxKeys* keys) { m_keys = keys; }
    ITextBoxKeys* GetKeys() const { return m_keys; }

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
    ITextBoxKeys* m_keys = nullptr;
};
