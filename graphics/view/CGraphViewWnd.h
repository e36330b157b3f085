#pragma once
#include <functional>
#include <memory>

#include <QKeySequence>
#include <QList>
#include <QWidget>

#include "graphics/CGraphView.h"

class IGraphDocument;
class QAction;
class QMenu;
class QPainter;
class QPrinter;
class QRect;
class QScrollBar;

// A graphics page: a tab of the main window whose children are the display
// frames' windows. The page's model (CGraphView) holds the displays and the
// rules; this window draws the background, takes the mouse and the keys, shows
// the context menu and runs the page's dialogs.
class CGraphViewWnd final : public QWidget, public IGraphViewWindow {
    Q_OBJECT
public:
    // Command ids of the page.
    enum Command : unsigned {
        kEditCut = 57635,
        kEditCopy = 57634,
        kEditPaste = 57637,
        kDelete = 32792,
        kProperties = 32791,
        kWindows = 32847,
        kNextDisplay = 32903,
        kAddEvent = 32863,
        kFilePrint = 57607,
        kHelp = 57670, // F1: the selected display's help, else the page's
    };

    // The page registers its model with the document's views while it lives
    // (attach and detach are the document's AddView and RemoveView).
    CGraphViewWnd(IGraphDocument* document, std::function<void(IView*)> attach,
                  std::function<void(IView*)> detach, QWidget* parent = nullptr);
    ~CGraphViewWnd() override;

    CGraphView& Model() { return *m_model; }
    // Commands of the main window the page's menu offers (Add Event).
    void SetCommandSink(std::function<void(unsigned)> sink) { m_commandSink = std::move(sink); }
    // The window's menu bar runs this command for the shown page with these
    // keys: the page's own action gives them up, so a key runs it once.
    void LeaveKeysToMenu(unsigned id, const QList<QKeySequence>& keys);
    // Runs a page command; false when it is disabled.
    bool RunCommand(unsigned id);
    bool IsCommandEnabled(unsigned id) const;
    // The context menu (menu 143) at a screen position; its actions stay
    // reachable for tests.
    void ShowContextMenu(const QPoint& global);
    QMenu* ContextMenu() const { return m_menu; }
    // Prints the page (or the selected display alone) on printer.
    void Print(QPrinter& printer, bool selectionOnly);
    // The same on any painter whose sheet has the page's size in its pixels.
    void PrintOn(QPainter& painter, const QRect& page, bool selectionOnly);
    // The tab host the page sits in, for its name.
    void SetTabHost(std::function<std::string()> get, std::function<void(const std::string&)> set) {
        m_getTab = std::move(get);
        m_setTab = std::move(set);
    }

    // IGraphViewWindow
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame, const GRect& rect,
                                                         int id) override;
    // The page less its scroll bars.
    GRect GetClientRect() const override;
    int DpiX() const override { return logicalDpiX(); }
    int DpiY() const override { return logicalDpiY(); }
    void Invalidate() override { update(); }
    std::string GetTabName() const override;
    void SetTabName(const std::string& name) override;
    std::vector<const IGraphFrameWindow*> WindowsTopDown() const override;
    void StackTopDown(const std::vector<const IGraphFrameWindow*>& windows) override;
    bool RunPageProperties(std::uint32_t& color, std::string& name) override;
    void SetFocusToPage() override { setFocus(Qt::OtherFocusReason); }
    std::uintptr_t SaveFocus() override;
    void RestoreFocus(std::uintptr_t token) override;
    void ReleaseCapture() override;
    void BeginWait() override;
    void EndWait() override;
    GPoint FullScreenClientSize() const override;
    void SetScrollInfo(bool vertical, int range, int page, int pos) override;
    void ScrollContent(int dx, int dy) override;
    QScrollBar* ScrollBar(bool vertical) const { return vertical ? m_vBar : m_hBar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The scroll bars stay above the displays' windows.
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddAction(unsigned id, const QString& text, const QKeySequence& key = {});
    std::optional<GRect> TrackPaste(const GRect& rect);
    void OnDoubleClick(const QPoint& global);
    QScrollBar* MakeScrollBar(bool vertical);
    void PlaceScrollBars();

    std::unique_ptr<CGraphView> m_model;
    std::function<void(IView*)> m_detach;
    std::function<void(unsigned)> m_commandSink;
    std::function<std::string()> m_getTab;
    std::function<void(const std::string&)> m_setTab;
    std::string m_tabName;
    QMenu* m_menu = nullptr;
    QScrollBar* m_vBar = nullptr;
    QScrollBar* m_hBar = nullptr;
    bool m_pressedOnBackground = false;
};
