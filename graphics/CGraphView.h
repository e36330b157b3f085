#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/CGraphFrameList.h"
#include "graphics/DisplayRequestQueue.h"
#include "graphics/GraphGeometry.h"
#include "graphics/IGraphFrameWindow.h"
#include "platform/ui/MessageBus.h"
#include "shared/IView.h"

class CGraphFrame;
class IGraphDC;
class IGraphDocument;

namespace tvane {
class CArchive;
}

// The window of a graphics page as the page's model drives it.
class IGraphViewWindow {
public:
    virtual ~IGraphViewWindow() = default;
    // A window for frame at rect with that control id; null when it cannot be made.
    virtual std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame& frame,
                                                                 const GRect& rect, int id) = 0;
    virtual GRect GetClientRect() const = 0;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    virtual void Invalidate() = 0;
    virtual std::string GetTabName() const = 0;
    virtual void SetTabName(const std::string& name) = 0;
    // The displays' windows from the top of the stacking order down.
    virtual std::vector<const IGraphFrameWindow*> WindowsTopDown() const = 0;
    // Stacks the windows in this order, the first on top of the others.
    virtual void StackTopDown(const std::vector<const IGraphFrameWindow*>& windows) = 0;
    // The page's properties sheet; false on Cancel.
    virtual bool RunPageProperties(std::uint32_t& color, std::string& name) = 0;
    virtual void SetFocusToPage() = 0;
    // Focus and mouse capture around an Edit Copy.
    virtual std::uintptr_t SaveFocus() = 0;
    virtual void RestoreFocus(std::uintptr_t token) = 0;
    virtual void ReleaseCapture() = 0;
    virtual void BeginWait() {}
    virtual void EndWait() {}
    // The client size of a window that fills the screen.
    virtual GPoint FullScreenClientSize() const = 0;
    // A scroll bar of the page shows 0..range, a page step and the position.
    virtual void SetScrollInfo(bool vertical, int range, int page, int pos) = 0;
    // The page's displays move by (dx, dy) pixels.
    virtual void ScrollContent(int dx, int dy) = 0;
};

// The clipboard of the graphics pages: one entry that holds a display's
// archive, the text of its readings and its picture.
class IGraphClipboard {
public:
    virtual ~IGraphClipboard() = default;
    // False when the clipboard cannot be reached. pictureOf (may be null) is
    // drawn into the entry's pictures.
    virtual bool PutDisplay(const std::vector<std::uint8_t>& archive, const std::string& text,
                            CGraphFrame* pictureOf) = 0;
    virtual bool HasDisplay() const = 0;
    virtual std::optional<std::vector<std::uint8_t>> GetDisplay() const = 0;
};

// One graphics page: its displays (owned, in a frame list), the selection,
// placement of new displays, the document's hints passed on to the displays,
// their instrument requests passed to the document, the page's name and
// colour, the properties edit on a clone, Copy, Cut and Paste, and the page's
// part of the document file.
class CGraphView : public IView, public tvane::MessageTarget {
public:
    static constexpr std::uint32_t kDefaultBackColor = 0x00C0C0C0;
    static constexpr unsigned kHelpActivateGraphicsView = 0x1806B;

    CGraphView(IGraphViewWindow* window, IGraphDocument* document);
    ~CGraphView() override;
    CGraphView(const CGraphView&) = delete;
    CGraphView& operator=(const CGraphView&) = delete;

    void SetWindow(IGraphViewWindow* window) { m_window = window; }
    IGraphViewWindow* GetWindow() const { return m_window; }
    void SetDocument(IGraphDocument* document) { m_doc = document; }
    IGraphDocument* GetDocument() const { return m_doc; }
    void SetClipboard(IGraphClipboard* clipboard) { m_clipboard = clipboard; }

    // --- IView ---------------------------------------------------------------
    void OnUpdate(IView* sender, long hint, const HintObject& object) override;
    Kind GetKind() const override { return kGraphView; }
    void ForwardHint(long hint, const HintObject& object);

    // Background colour, tab name, scroll positions, then the frame list with
    // its class tag. Loading replaces every display; their windows are made by
    // OnInitialUpdate.
    void Serialize(tvane::CArchive& ar);
    // loaded: the displays just read get their windows; false (after a message)
    // when one cannot be made. Otherwise the page starts empty.
    bool OnInitialUpdate(bool loaded);

    // --- Displays ----------------------------------------------------------------
    CGraphFrameList* GetFrameList() const { return m_frames.get(); }
    int GetFrameCount() const;
    bool GetFrameAt(int index, CGraphFrame*& frame, std::string& title) const;
    CGraphFrame* GetSelected() const { return m_selected; }
    bool CreateDisplay(unsigned commandId);
    bool AddFrame(CGraphFrame* frame, const GRect& rect);
    int SelectFrame(CGraphFrame* frame);
    void SelectNext();
    void DeselectAll();
    void RemoveFrame(CGraphFrame* frame);
    void DeleteAllFrames();
    // Delete: with the preference's question.
    void DeleteSelected(bool ask = true);
    bool EditSelectedProperties();
    bool EditPageProperties();
    void RefreshFrame(CGraphFrame& frame);
    CGraphFrame* GetRefreshTarget() const { return m_refreshTarget; }
    bool IsEditingProperties() const { return m_editingProperties; }
    // A display's new place on this page.
    GRect PlaceNewFrame(const GRect& rect) const;
    // A press on the page's background and its release.
    void OnBackgroundClick();
    // Help context of the page or its selected display.
    unsigned GetHelpId() const;

    // --- Edit commands -------------------------------------------------------------
    bool CanCopy() const { return m_selected != nullptr; }
    bool CanPaste() const { return m_clipboard && m_clipboard->HasDisplay(); }
    bool OnEditCopy();
    void OnEditCut();
    bool Paste(bool track);
    // A display from its archive bytes (with its class tag); null when they do not read.
    static std::unique_ptr<CGraphFrame> LoadFrame(const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> StoreFrame(const CGraphFrame& frame);

    // --- Printing ------------------------------------------------------------------
    // One printed page in the page's client pixels: the selected display alone
    // (it decides its pages), or the footer and every display from the bottom of
    // the stacking order up, each at its place. The footer sits at the foot of
    // the sheet (in the same pixels; without one, of the page's client area).
    // newPage starts the next sheet when the selected display takes more than one.
    void PrintPage(IGraphDC& dc, bool selectionOnly, const std::optional<GRect>& sheet = {},
                   const std::function<void()>& newPage = {});
    static void PrintPageFooter(IGraphDC& dc, const GRect& draw, int page, int pages);

    // --- Name, colour --------------------------------------------------------------
    bool SetTabName(const std::string& name);
    const std::string& GetTabName() const { return m_tabName; }
    void SetBackColor(std::uint32_t color);
    std::uint32_t GetBackColor() const { return m_backColor; }

    // --- Requests --------------------------------------------------------------------
    // A batch of one window's requests, served in order; only the first one
    // may ask to download the setup.
    void PostRequests(const void* source, std::vector<CReadingInfo> requests, long long mode);
    long OnMessage(const tvane::Message& message) override;

    // The page's number among the pages of the process, naming it as the
    // source of a display's drag.
    std::uint32_t GetDragId() const { return m_dragId; }

    // Every change of the page's displays, name or colour sets it, and tells
    // the sink (the program's record of the open setup's changes) unless it
    // comes from a display's handling of a document hint.
    static void SetLayoutChanged(bool changed);
    static void SetLayoutChangeSink(std::function<void()> sink);
    static bool IsLayoutChanged() { return s_layoutChanged; }
    // Three time-base values, copied into each new display.
    double m_timeValues[3] = {0.0, 0.0, 0.0};

    // Placement with tracking for Edit Paste: the rectangle the user placed, or none.
    using RectTracker = std::function<std::optional<GRect>(const GRect&)>;
    void SetRectTracker(RectTracker tracker) { m_tracker = std::move(tracker); }

    // --- Scrolling -------------------------------------------------------------------
    // Both bars over twice the full-screen client size, a tenth of it a page,
    // at the page's positions (when the page is made or loaded, and shown).
    void SetUpScrollBars();
    // A scroll bar's request: the new position is kept and the displays move by
    // the difference; false when the position stays.
    bool OnScroll(bool vertical, graphgeo::ScrollCode code, int track = 0);
    int GetScrollRange(bool vertical) const { return vertical ? m_vRange : m_hRange; }
    int GetScrollPage(bool vertical) const { return vertical ? m_vPage : m_hPage; }

    std::int32_t m_vScroll = 0;
    std::int32_t m_hScroll = 0;

private:
    void BringListIntoStackingOrder();

    IGraphViewWindow* m_window;
    IGraphDocument* m_doc;
    IGraphClipboard* m_clipboard = nullptr;
    bool m_editingProperties = false;
    CGraphFrame* m_selected = nullptr;
    CGraphFrame* m_refreshTarget = nullptr;
    std::unique_ptr<CGraphFrameList> m_frames;
    int m_vRange = 100;
    int m_hRange = 100;
    int m_vPage = 10;
    int m_hPage = 10;
    std::string m_tabName;
    std::uint32_t m_backColor = kDefaultBackColor;
    DisplayRequestQueue m_requests;
    RectTracker m_tracker;
    std::uint32_t m_dragId;
    static bool s_layoutChanged;
    static std::function<void()> s_layoutSink;
    static int s_hintDepth;
};
