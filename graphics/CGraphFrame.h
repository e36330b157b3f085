#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/DisplayRequestQueue.h"
#include "graphics/GraphGeometry.h"
#include "graphics/GraphItemProps.h"
#include "graphics/IGraphFrameBase.h"
#include "graphics/IGraphFrameWindow.h"
#include "platform/ui/MessageBus.h"
#include "shared/CMfxFont.h"
#include "shared/IView.h"

class CChannelArray;
class CChannelInfo;
class CGraphView;
class CReadingInfo;
class IGraphDC;
class IGraphDocument;
struct ReadingRecord;

// The text style of a frame: a face name and a point size.
class CGraphTextStyle : public tvane::CObject {
    DECLARE_SERIAL(CGraphTextStyle)
public:
    CGraphTextStyle() = default;
    CGraphTextStyle(std::string face, std::int32_t points)
        : m_face(std::move(face)), m_points(points) {}
    void Serialize(tvane::CArchive& ar) override;
    // The description at dpi vertical dots per inch.
    LOGFONT MakeLogFont(int dpi) const;

    std::string m_face = "Arial";
    std::int32_t m_points = 9;
};

// The frame of every display on a graphics page: position and size, the title
// band, eight colour slots, background, font, the channels the display shows,
// the regions that place its child windows, the update rate, and the
// dispatcher through which the page hands it the document's view hints. Each
// display overrides a subset of the virtual operations; these are the defaults.
// The frame's window is made by its page; the frame drives it through
// IGraphFrameWindow.
class CGraphFrame : public IGraphFrameBase, public tvane::MessageTarget {
    DECLARE_SERIAL(CGraphFrame)
public:
    static constexpr const char* kSourceModule = "Graphfrm";
    static constexpr std::int32_t kDefaultTitleHeight = 16;
    static constexpr int kTitleButtonId = 123;
    // The most channel slots and scans kept that a stored display may ask for.
    static constexpr std::int32_t kMaxChannelCapacity = 1024;
    static constexpr std::int32_t kMaxRetainCount = 100000;
    // Display types; a page's help context is 11000 + type + 100 x page.
    enum GraphType {
        kDataGrid = 0,
        kStripChart = 1,
        kReadout = 2,
        kBarMeter = 3,
        kXYPlot = 4,
        kHistogram = 5,
        kText = 6,
        kAlarmLight = 7,
        kSwitchBank = 8,
        kPushButton = 9,
        kSlider = 10,
        kDataLight = 11,
    };

    CGraphFrame();
    ~CGraphFrame() override;
    CGraphFrame(const CGraphFrame&) = delete;
    CGraphFrame& operator=(const CGraphFrame&) = delete;

    // --- Virtual operations, in their order ---------------------------------
    virtual int GetHelpId(int page) const { return 11001 + 0 * page; }
    virtual bool IsDigitalReadDisplay() const { return false; }
    virtual void SetByteDisplay(bool) {}
    virtual bool IsByteDisplay() const { return false; }
    virtual GRect GetDataRect() const;
    // The data rectangle when not selected, whatever the selection is now.
    GRect GetRestingDataRect() const;
    // Makes the window in the page; false when the font cannot be made. A
    // window that cannot be made throws the graphics exception (Create Failed).
    virtual bool CreateFrame(CGraphView* parent);
    // The window of a frame that was loaded or pasted.
    virtual bool RecreateFrame(CGraphView* parent, int showCommand);
    // The display's property sheet; true when OK closed it.
    virtual bool EditProperties() { return true; }
    virtual void Redraw(bool erase);
    virtual void SetNoReadingsFlag(const std::int32_t* flag) { m_noReadings = *flag; }
    virtual long OnViewHint(long hint, const HintObject& object);
    virtual void OnRetainHint();
    virtual void OnViewFlagsHint();
    virtual void RefreshStoredData() {}
    virtual bool UpdateChannelInfos(const CChannelArray* edited);
    virtual bool OnChannelChanged(int, const CChannelInfo*) { return true; }
    virtual void SetChannelAt(int index, const CChannelInfo* info);
    virtual void RemoveChannelAt(int index);
    virtual void GetAvailableChannels(CChannelArray& out);
    virtual bool GetAppearanceItem(int item, GRAPHITEMPROPS& props);
    virtual bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint);
    // Draws the frame into dc at rect (the client rectangle when null); printing
    // and the clipboard's picture.
    virtual bool DrawFrame(IGraphDC& dc, const GRect* rect);
    virtual int Print(IGraphDC&) { return 0; }
    virtual bool PreparePrinting() { return true; }
    virtual void GridHookA() {}
    virtual void GridHookB() {}
    // The selected display printed alone (the print dialog's Selection): the
    // pages it takes on a sheet of that size, each then drawn by
    // PrintSelectionPage (1 to the count), and the end of the print. A grid
    // prints its rows by pages with its header on each.
    virtual int BeginSelectionPrint(const GRect&) { return 1; }
    virtual void PrintSelectionPage(IGraphDC& dc, const GRect&, int) { Print(dc); }
    virtual void EndSelectionPrint() {}
    virtual void OnSelected();
    virtual bool OnEventHint(const HintObject&) { return true; }
    virtual bool OnNewReadings(const HintObject&) { return true; }
    virtual bool OnEventsChanged(const HintObject&) { return true; }
    virtual bool OnDatasetUpdate(const HintObject&) { return true; }
    virtual bool OnReading(const HintObject&) { return true; }
    virtual bool OnActionResult(const CReadingInfo*) { return true; }
    virtual void OnScanState() {}
    // The displayed readings as text for the clipboard; empty when none.
    virtual std::string CopyDisplayedData() { return {}; }
    // 0 while the page copies the display for its properties edit.
    virtual void SetStateFlag(std::int32_t value) { m_stateFlag = value; }
    // A display hidden while a clone of it is edited (the slider).
    virtual bool HideDuringPropertiesEdit() const { return false; }
    // Tab (or Shift+Tab) pressed in the frame's window: true when the display
    // moved the focus among its child windows itself; false lets the page's
    // focus chain have the key.
    virtual bool OnTabKey() { return false; }

    // --- IGraphFrameBase ------------------------------------------------------
    bool CreateBaseFrame(CGraphView* parent) override { return CGraphFrame::CreateFrame(parent); }
    bool RecreateBaseFrame(CGraphView* parent, int id) override {
        return CGraphFrame::RecreateFrame(parent, id);
    }
    void SerializeBaseFrame(tvane::CArchive& ar) override { CGraphFrame::Serialize(ar); }
    bool GetNoReadingsFlag() const override { return m_noReadings != 0; }
    void RequestRefresh() override;

    void Serialize(tvane::CArchive& ar) override;

    // --- Title, selection, colours --------------------------------------------
    void SetTitle(const std::string& title);
    void SetTitleText(const std::string& title) { m_title = title; }
    const std::string& GetTitle() const { return m_title; }
    bool SetSelected(bool selected);
    bool IsSelected() const { return m_selected != 0; }
    std::uint32_t GetColorSlot(int index) const { return m_colors[index & 7]; }
    void SetColorSlot(int index, std::uint32_t color) { m_colors[index & 7] = color; }
    // The minimum tracking size of the window.
    GPoint GetMinTrackSize() const;
    std::int32_t GetTitleHeight() const { return m_titleHeight; }
    GRect GetTitleBand() const;

    // --- Regions ---------------------------------------------------------------
    bool AddRegion(CRegion* region);
    GRect RegionToRect(const CRegion& region) const { return region.ToRect(GetDataRect()); }
    bool LayoutRegions();
    // The window's size changed.
    // changed: false for the size a window gets when it is first shown.
    virtual void OnSize(bool changed = true);
    void OnMove();

    // --- Channels ---------------------------------------------------------------
    void ResetChannelSlots();
    bool GetDefaultChannel(CChannelInfo& out);
    CChannelArray* GetChannelArray() const { return m_channels.get(); }
    std::int32_t GetChannelSlotCount() const { return m_channelCapacity; }
    void SetChannelFilter(std::uint32_t mask) { m_kindMask = mask; }
    std::uint32_t GetChannelFilter() const { return m_kindMask; }
    void RefreshChannels();

    // --- The page and the document --------------------------------------------
    CGraphView* GetParentView() const { return m_parent; }
    IGraphDocument* GetDocument() const;
    bool GetDocumentHasReadings() const;
    double GetStartTick() const;
    std::int32_t GetDatasetCode() const;
    // The newest readings of one channel, newest last, in place of what out held.
    std::int16_t GetChannelReadings(std::int32_t channel, std::vector<ReadingRecord*>& out) const;
    std::string FormatScanTime(double time) const;
    void MarkLayoutChanged(bool changed);
    std::int32_t GetUpdateRate() const { return m_updateRate; }
    void SetUpdateRate(std::int32_t rate) { m_updateRate = rate; }
    const LOGFONT& GetFrameLogFont() const { return m_font.GetLogFont(); }
    std::int32_t GetLastSheetPage() const { return m_lastSheetPage; }
    void SetLastSheetPage(std::int32_t page) { m_lastSheetPage = page; }
    std::int32_t GetStateFlag() const { return m_stateFlag; }

    // --- The window -------------------------------------------------------------
    IGraphFrameWindow* GetWindow() const { return m_window.get(); }
    bool HasWindow() const { return m_window != nullptr; }
    // The window rectangle now (the stored one without a window).
    GRect GetFrameRect() const;
    void SetFrameRect(const GRect& rect) { m_rect = rect; }
    // Destroys the window and its children's windows (the object stays).
    virtual void DestroyWindow();
    // Mouse presses on the frame or its children: the page selects it.
    void OnLButtonDown();
    void OnRButtonDown(GPoint pagePoint);
    // The close button: the page deletes the display as by its Delete command.
    void OnCloseButton();
    // A display window's instrument request; it reaches the document through
    // the page, posted, with its own copy of the record.
    void PostRequest(const void* source, const CReadingInfo& request, long long mode = 0);
    // Several requests of one window at once (one per channel it shows): they
    // travel together and the document serves them in order; only the first
    // may ask to download the setup, and only with mode 0.
    void PostRequests(const void* source, std::vector<CReadingInfo> requests, long long mode = 0);
    void DropRequests(const void* source) { m_requests.DropSource(source); }
    long OnMessage(const tvane::Message& message) override;
    // Paints the window: background and title band.
    void Paint(IGraphDC& dc);

    static std::uint32_t FrameCounter() { return s_frameCounter; }

    // --- Fields -------------------------------------------------------------------
    std::uint32_t m_colors[8];
    std::string m_timeStampFormat;
    std::string m_dateTimeFormat;
    std::string m_dateFormat;
    std::string m_timeFormat;
    std::string m_timeMsFormat;
    std::string m_title;
    std::int32_t m_titleHeight = kDefaultTitleHeight;
    std::int32_t m_selected = 0;
    std::int32_t m_inset = 0;
    std::int32_t m_border = 0;
    GRect m_rect{0, 0, 100, 200};
    std::vector<CRegion*> m_regions; // not owned
    bool m_hasRegionList = false;
    std::uint32_t m_backColor = 0x00FFFFFF;
    std::int32_t m_fillBackground = 0;
    std::int32_t m_showAllChannels = 1;
    std::int32_t m_followPreference = 1;
    std::uint32_t m_kindMask = 0x403;
    std::int32_t m_channelCapacity = 1;
    std::int32_t m_retainCount = 1;
    std::uint32_t m_viewFlagMask = 0;
    std::int32_t m_lastSheetPage = 0;
    std::int32_t m_updateRate = 1;
    std::int32_t m_pendingScans = 0;
    std::int32_t m_receivesHints = 1;
    double m_timeValues[3] = {0.0, 0.0, 0.0};
    std::int32_t m_minWidth = 0;
    std::int32_t m_minHeight = 0;
    GRect m_defaultRect{0, 0, 100, 200};
    std::int32_t m_defaultMinWidth = 0;
    std::int32_t m_defaultMinHeight = 0;
    std::unique_ptr<CGraphTextStyle> m_textStyle;
    CMfxFont m_font;
    bool m_hasFont = false;
    std::unique_ptr<CChannelArray> m_channels;
    std::int32_t m_noReadings = 1;
    std::int32_t m_stateFlag = 1;

protected:
    // The window's part of creation, shared by both paths.
    void MakeWindow(CGraphView* parent);

    CGraphView* m_parent = nullptr;
    std::unique_ptr<IGraphFrameWindow> m_window;
    DisplayRequestQueue m_requests;
    static std::uint32_t s_frameCounter;
};
