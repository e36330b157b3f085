#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CMfxFont.h"

#include "graphics/CRegion.h"
#include "graphics/GraphGeometry.h"

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
};

class CTextBox;

// The window of a display frame, as the frame's model drives it. Coordinates
// are the page's client pixels for the window rectangle, the window's own for
// its client rectangle.
class IGraphFrameWindow : public IRegionWindow {
public:
    virtual GRect GetWindowRect() const = 0;
    virtual GRect GetClientRect() const = 0;
    // Where the client area's top-left lies in the page's client pixels.
    virtual GPoint ClientOrigin() const = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsVisible() const = 0;
    // Repaints the whole window (erase: the background too) at once.
    virtual void Redraw(bool erase) = 0;
    virtual void InvalidateRect(const GRect& rect) = 0;
    // The selected frame gets a sizing border and comes to the top.
    virtual void SetSelectedLook(bool selected) = 0;
    virtual void SetFocus() = 0;
    // Pixel width of a text in the frame's font.
    virtual int TextWidth(const std::string& text) const = 0;
    // The edit window of a text box at rect (client pixels); null when it cannot be made.
    virtual std::unique_ptr<ITextBoxWindow> CreateTextBox(CTextBox& box, const GRect& rect) = 0;
};
