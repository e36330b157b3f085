#pragma once
#include <cstdint>
#include <memory>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelInfo.h"

// The frame part the switch bank and the push buttons share: one window
// (a CToggleBankWnd) over the whole data area with a block per channel slot,
// the bit or byte display chosen on the channel page, the document's answers
// handed to the window. Wnd is the display's window class.
template <class Wnd> class ToggleBankFrame : public CGraphFrame {
public:
    static constexpr int kMaxChannels = 10;
    static constexpr std::uint32_t kByteKinds = 0x800;
    static constexpr std::uint32_t kBitKinds = 0x1D8;

    // What tells the two displays apart.
    struct Traits {
        const char* module; // named by the exceptions of the frame
        int helpBase;       // help id of page 0; each page adds 100
        int displayType;    // its properties sheet
        int itemCount;      // appearance items 1 to itemCount
        GRect rect;         // a new frame's rectangle, without the title
    };

    explicit ToggleBankFrame(const Traits& traits) : m_traits(traits) {
        m_rect = traits.rect;
        m_rect.bottom += m_titleHeight;
        m_defaultRect = m_rect;
        m_channelCapacity = kMaxChannels;
        m_receivesHints = 0;
        m_followPreference = 0;
        m_kindMask = kBitKinds;
    }
    ~ToggleBankFrame() override {
        m_receivesHints = 0;
        if (m_wnd)
            m_wnd->DestroyWindow();
    }

    int GetHelpId(int page) const override {
        return page >= 0 && page <= 3 ? m_traits.helpBase + 100 * page : m_traits.helpBase;
    }

    bool CreateFrame(CGraphView* parent) override {
        if (!CGraphFrame::CreateFrame(parent))
            return false;
        const LOGFONT font = GetFrameLogFont();
        m_wnd = std::make_unique<Wnd>();
        m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
        m_wnd->Create(*this, RegionToRect(*m_region), font, kMaxChannels);
        m_region->SetWnd(m_wnd->GetWindow());
        m_kindMask = IsByteDisplay() ? kByteKinds : kBitKinds;
        if (!AddRegion(m_region.get()))
            gauge::CreateFailed(m_traits.module, __LINE__);
        CChannelInfo channel;
        if (GetDefaultChannel(channel))
            SetChannelAt(0, &channel);
        m_receivesHints = 1;
        return true;
    }

    bool RecreateFrame(CGraphView* parent, int showCommand) override {
        if (!CGraphFrame::RecreateFrame(parent, showCommand))
            return false;
        m_kindMask = IsByteDisplay() ? kByteKinds : kBitKinds;
        return gauge::RecreateWindow(*this, m_wnd.get(), m_region.get());
    }

    void DestroyWindow() override {
        if (m_wnd)
            m_wnd->DestroyWindow();
        CGraphFrame::DestroyWindow();
    }

    bool EditProperties() override {
        const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(m_traits.displayType);
        return EditGraphProperties(*this, sheet->pages, sheet->captionId);
    }

    void Redraw(bool erase) override {
        if (m_wnd && m_wnd->GetWindow()) {
            m_wnd->GetWindow()->Invalidate(nullptr, erase);
            m_wnd->GetWindow()->Update();
        }
    }

    // The other display drops every channel and takes the default one of
    // the kinds it shows.
    void SetByteDisplay(bool byteDisplay) override {
        if (!m_wnd)
            return;
        m_wnd->SetDisplayMode(byteDisplay ? Wnd::kByteDisplay : Wnd::kBitDisplay);
        m_kindMask = byteDisplay ? kByteKinds : kBitKinds;
        for (int i = 0; i < kMaxChannels; ++i)
            RemoveChannelAt(i);
        CChannelInfo channel;
        if (GetDefaultChannel(channel))
            SetChannelAt(0, &channel);
        Redraw(true);
    }
    bool IsByteDisplay() const override {
        return m_wnd && m_wnd->GetDisplayMode() == Wnd::kByteDisplay;
    }

    void SetChannelAt(int index, const CChannelInfo* channel) override {
        CGraphFrame::SetChannelAt(index, channel);
        if (!m_wnd || !channel)
            return;
        m_wnd->AddBlock(index, *channel);
        OnChannelChanged(index, channel);
    }
    bool OnChannelChanged(int index, const CChannelInfo* channel) override {
        if (m_wnd && channel)
            m_wnd->SetChannelAt(index, *channel);
        Redraw(true);
        return true;
    }
    void RemoveChannelAt(int index) override {
        CGraphFrame::RemoveChannelAt(index);
        if (m_wnd) {
            m_wnd->RemoveBlock(index);
            Redraw(true);
        }
    }

    bool OnActionResult(const CReadingInfo* record) override {
        if (!m_receivesHints || !m_wnd)
            return false;
        if (record)
            m_wnd->OnActionResult(*record);
        return true;
    }

    bool GetAppearanceItem(int item, GRAPHITEMPROPS& props) override {
        bool own = false;
        if (item == 0) {
            if (props.mask & GRAPHITEMPROPS::kItemRange) {
                props.firstItem = 1;
                props.itemCount = m_traits.itemCount;
            }
            own = (props.mask & GRAPHITEMPROPS::kItemRange) == props.mask;
        }
        const bool base = CGraphFrame::GetAppearanceItem(item, props);
        const bool window = m_wnd && m_wnd->GetAppearanceItem(item, props);
        return own || base || window;
    }
    bool SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) override {
        const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
        const bool own = m_wnd && m_wnd->SetAppearanceItem(item, props, repaint);
        return base || own;
    }

    bool DrawFrame(IGraphDC& dc, const GRect* rect) override {
        const bool base = CGraphFrame::DrawFrame(dc, rect);
        if (!m_wnd)
            return base;
        // Drawn in the window's own pixels and moved to its place, so that a
        // printed or copied picture leaves the rectangles the window hit-tests
        // as its last paint stored them.
        const GRect at = m_wnd->GetWindow() ? m_wnd->GetWindow()->GetRectInFrame() : GetDataRect();
        dc.Save();
        dc.Offset(at.left, at.top);
        const bool own = m_wnd->Draw(dc, {0, 0, at.Width(), at.Height()});
        dc.Restore();
        return base || own;
    }
    int Print(IGraphDC& dc) override {
        DrawFrame(dc, nullptr);
        return 0;
    }

    // The base part, then the window and its region, each with its class
    // tag. Counts and the display mode that do not fit reject the archive.
    void Serialize(tvane::CArchive& ar) override {
        CGraphFrame::Serialize(ar);
        gauge::SerializeWindow(ar, m_wnd, m_region, "display window or region missing");
        if (ar.IsLoading()) {
            if (m_channelCapacity != kMaxChannels)
                gauge::Reject("display channel slots out of range");
            m_wnd->CheckLoaded(kMaxChannels);
        }
    }

    Wnd* GetBankWnd() const { return m_wnd.get(); }

private:
    Traits m_traits;
    std::unique_ptr<Wnd> m_wnd;
    std::unique_ptr<CRegion> m_region;
};
