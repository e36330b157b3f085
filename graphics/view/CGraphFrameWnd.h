#pragma once
#include <functional>

#include <QPlainTextEdit>
#include <QPoint>
#include <QWidget>

#include "graphics/IGraphFrameWindow.h"

class CGraphFrame;
class CTextBox;
class QToolButton;

// The window of a display frame on a graphics page: a border (a sizing one
// while selected), the client area with the title band and its close button,
// and the display's child windows. A press on the body selects the display and
// drags it; a selected display is resized at its border.
class CGraphFrameWnd final : public QWidget, public IGraphFrameWindow {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;
    static constexpr int kSizingBorder = 4;

    CGraphFrameWnd(CGraphFrame& frame, QWidget* page, const GRect& rect, int id);
    ~CGraphFrameWnd() override;

    CGraphFrame& Frame() const { return m_frame; }
    QWidget* Client() const { return m_client; }
    QToolButton* CloseButton() const { return m_close; }
    // Right clicks and double clicks go to the page.
    void SetContextMenuHandler(std::function<void(const QPoint&)> handler) {
        m_contextMenu = std::move(handler);
    }
    void SetDoubleClickHandler(std::function<void()> handler) {
        m_doubleClick = std::move(handler);
    }
    void ShowContextMenu(const QPoint& global) {
        if (m_contextMenu)
            m_contextMenu(global);
    }
    // Drags a copy of the display towards another page; false when no drag
    // could start.
    bool StartDrag();

    // IGraphFrameWindow
    void MoveWindow(const GRect& rect, bool repaint) override;
    GRect GetWindowRect() const override;
    GRect GetClientRect() const override;
    GPoint ClientOrigin() const override;
    void Show(bool show) override { setVisible(show); }
    bool IsVisible() const override { return isVisible(); }
    void Redraw(bool erase) override;
    void InvalidateRect(const GRect& rect) override;
    void SetSelectedLook(bool selected) override;
    void SetFocus() override;
    int TextWidth(const std::string& text) const override;
    std::unique_ptr<ITextBoxWindow> CreateTextBox(CTextBox& box, const GRect& rect) override;

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int Border() const { return m_selected ? kSizingBorder : kBorder; }
    void LayoutClient();
    void UpdateMinimumSize();

    CGraphFrame& m_frame;
    QWidget* m_client = nullptr;
    QToolButton* m_close = nullptr;
    bool m_selected = false;
    // Dragging the body moves the display; dragging the sizing border sizes it.
    enum class Drag { None, Move, Size } m_drag = Drag::None;
    QPoint m_dragStart;
    QRect m_startGeometry;
    Qt::Edges m_edges;
    std::function<void(const QPoint&)> m_contextMenu;
    std::function<void()> m_doubleClick;
};

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CTextBox& m_box;
    CGraphFrameWnd& m_frame;
};
