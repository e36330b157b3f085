#pragma once
#include <functional>

#include <QPoint>
#include <QWidget>

#include "graphics/IGraphFrameWindow.h"

class CGraphFrame;
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
    GRect GetRestingClientRect() const override;
    GPoint ClientOrigin() const override;
    void Show(bool show) override { setVisible(show); }
    bool IsVisible() const override { return isVisible(); }
    void Redraw(bool erase) override;
    void InvalidateRect(const GRect& rect) override;
    void SetSelectedLook(bool selected) override;
    void SetFocus() override;
    int TextWidth(const std::string& text) const override;

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
    void MinTrackSizeChanged() override { UpdateMinimumSize(); }

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

// The widget a display's child windows live in: the client area of a frame
// window of the program, or the window itself when it is another widget (a
// test's); null for a frame window that is no widget.
QWidget* FrameClientWidget(IGraphFrameWindow& frame);
