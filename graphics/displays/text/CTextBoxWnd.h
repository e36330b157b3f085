#pragma once
#include <QPlainTextEdit>

#include "graphics/displays/text/CTextBox.h"

class CGraphFrameWnd;

// The edit window of a text box: its colours and font, Tab and Enter only when
// the box takes them, every typed character marking the page's layout changed,
// mouse presses passed on to the display.
class CTextBoxWnd final : public QPlainTextEdit, public ITextBoxWindow {
    Q_OBJECT
public:
    CTextBoxWnd(CTextBox& box, CGraphFrameWnd& frame, const GRect& rect);

    void MoveWindow(const GRect& rect, bool repaint) override;
    std::string GetText() const override;
    void SetText(const std::string& text) override;
    std::vector<std::string> GetLines() const override;
    void SetFont(const LOGFONT& font) override;
    void SetColors(std::uint32_t background, std::uint32_t text) override;
    void Redraw() override;
    GRect GetRectInFrame() const override;
    void Show(bool show) override { setVisible(show); }
    void SetFocus() override { setFocus(Qt::OtherFocusReason); }
    void SelectAll() override { selectAll(); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CTextBox& m_box;
    CGraphFrameWnd& m_frame;
};

// The program's edit windows of text boxes, made in the client area of the
// display's frame window.
class QtTextBoxWindows final : public ITextBoxWindows {
public:
    std::unique_ptr<ITextBoxWindow> CreateTextBox(IGraphFrameWindow& frame, CTextBox& box,
                                                  const GRect& rect) override;
};
