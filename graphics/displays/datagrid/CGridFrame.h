#pragma once
#include <memory>
#include <string>
#include <vector>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/displays/datagrid/CDataGrid.h"

// The data grid's window in its frame: placed by the frame, repainted on
// request (coalesced), focused, and asked where its rows are scrolled to.
class IDataGridWindow : public IRegionWindow {
public:
    // Marks the grid for repainting; the window repaints at most about 25
    // times a second, never inside the caller.
    virtual void Redraw() = 0;
    virtual void SetFocus() {}
    virtual bool HasFocus() const { return false; }
    // The window's rectangle in the frame's client pixels.
    virtual GRect GetRectInFrame() const = 0;
    // The first data row shown (1 at the top).
    virtual int GetTopRow() const { return 1; }
    // Widens the column (never narrows it) so that every text shows whole in
    // the font its cells are drawn in.
    virtual void FitColumn(int col, const std::vector<std::string>& texts) = 0;
};

// Makes the data grid's window in its frame's window and draws a grid into a
// drawing surface; the windows library installs it
// (displays::Windows<IDataGridWindows>).
class IDataGridWindows {
public:
    virtual ~IDataGridWindows() = default;
    virtual std::unique_ptr<IDataGridWindow>
    CreateGridWindow(IGraphFrameWindow& frame, CDataGrid& grid, const GRect& rect) = 0;
    // Draws the header and the data rows from first (1 the top row) that fit
    // in rect; the last data row drawn.
    virtual int DrawGrid(IGraphDC& dc, CDataGrid& grid, const GRect& rect, int first) = 0;
};

// The data grid display: a frame whose whole data area is a CDataGrid, one row
// per channel slot (20), filled with each channel's newest reading, its time
// and alarm state when new readings come, every N scans during a run.
class CGridFrame : public CGraphFrame, public IDataGridParent {
    DECLARE_SERIAL(CGridFrame)
public:
    static constexpr int kSlots = 20;
    // The printed grid starts this far below the sheet's top.
    static constexpr int kPrintTop = 16;

    CGridFrame();
    ~CGridFrame() override;

    int GetHelpId(int page) const override;
    bool CreateFrame(CGraphView* parent) override;
    bool RecreateFrame(CGraphView* parent, int showCommand) override;
    bool EditProperties() override;
    void Redraw(bool erase) override;
    long OnViewHint(long hint, const HintObject& object) override;
    std::string CopyDisplayedData() override;
    bool OnChannelChanged(int index, const CChannelInfo* channel) override;
    void SetChannelAt(int index, const CChannelInfo* info) override;
    void RemoveChannelAt(int index) override;
    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override;
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override;
    bool DrawFrame(IGraphDC& dc, const GRect* rect) override;
    int Print(IGraphDC& dc) override;
    int BeginSelectionPrint(const GRect& sheet) override;
    void PrintSelectionPage(IGraphDC& dc, const GRect& sheet, int page) override;
    bool OnNewReadings(const HintObject& object) override;
    void OnScanState() override;
    void OnSize(bool changed = true) override;
    void DestroyWindow() override;

    // The base part, then the grid and the region, each with its class tag.
    void Serialize(tvane::CArchive& ar) override;

    CDataGrid* GetGrid() const { return m_grid.get(); }
    CRegion* GetRegion() const { return m_region.get(); }
    IDataGridWindow* GetGridWindow() const { return m_gridWindow.get(); }
    // The grid's place in the frame's client area.
    GRect GridRect() const;
    // Rows a printed page holds, as the last print began.
    int GetRowsPerPage() const { return m_rowsPerPage; }

    // IDataGridParent
    bool OnChannelRequest(std::vector<CChannelInfo>& channels) override;
    void OnSetChannel(int slot, const CChannelInfo& channel) override;
    void OnRemoveChannel(int slot) override { RemoveChannelAt(slot); }

private:
    bool MakeGridWindow();
    void GridChanged();
    // The reading and time columns made wide enough for the texts the
    // channels shown and the document's time format give; a loaded grid keeps
    // the widths it stored until a channel is chosen.
    void FitTextColumns();

    std::unique_ptr<CDataGrid> m_grid;
    std::unique_ptr<CRegion> m_region;
    std::unique_ptr<IDataGridWindow> m_gridWindow;
    int m_rowsPerPage = 1;
    // The time of the newest reading shown: what Copy takes of the dataset.
    double m_shownTime = -1.0;
};
