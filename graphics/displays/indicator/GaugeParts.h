#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/CGraphFrame.h"
#include "graphics/CRegion.h"
#include "graphics/GraphItemProps.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "platform/archive/CArchive.h"

class CMfxFont;

// What the gauge windows and frames (readout, alarm lights, data lights) do
// alike, so that the three do it the same way.
namespace gauge {

// Throws the graphics exception a window that could not be made raises,
// naming the module and line.
[[noreturn]] void CreateFailed(const char* module, int line);
// The window of client in frame's client area at rect; throws as CreateFailed
// (naming module and line) when it cannot be made.
std::unique_ptr<IGaugeWindow> MakeWindow(CGraphFrame& frame, IGaugeWindowClient& client,
                                         const GRect& rect, const char* module, int line);
// Throws the archive exception a window's part read in bad shape raises.
[[noreturn]] void Reject(const char* what);

// Appearance items 4 to 6 of the displays coloured by alarm state: the state
// whose colour each one is (0 no alarm, 1 low limit, 2 high limit), -1 for
// any other item; and the name the page shows for a state.
int AlarmStateOfItem(int item);
std::string AlarmStateName(int state);

// The background and text items every gauge window offers. Each answers
// whether the item was one of them, and adds what that item supports to
// supported. textColor: the text has a colour of its own, the font's.
bool GetBackTextItem(int item, GRAPHITEMPROPS& props, std::uint32_t backColor, const CMfxFont* font,
                     bool textColor, std::uint32_t& supported);
bool SetBackTextItem(int item, const GRAPHITEMPROPS& props, std::uint32_t& backColor,
                     CMfxFont* font, bool textColor, std::uint32_t& supported);

// A channel newly put in a slot shows its stored reading at once when the
// document holds readings: the frame is handed the last part of them.
void ShowStoredReadings(CGraphFrame& frame);

// Puts a frame's window back at its region's place in the frame's remade
// window; hints come again once it is there. False when the frame has no
// window or region, or the region cannot be added.
template <class Wnd> bool RecreateWindow(CGraphFrame& frame, Wnd* wnd, CRegion* region) {
    if (!wnd || !region)
        return false;
    wnd->Recreate(frame, frame.RegionToRect(*region));
    region->SetWnd(wnd->GetWindow());
    if (!frame.AddRegion(region))
        return false;
    frame.m_receivesHints = 1;
    return true;
}

// A frame's window and its region, after the frame's base part, each with
// its class tag. Storing first lays the window out at its present size, so
// that the places kept of its parts never depend on how it was last painted
// (smaller while selected, or not yet since it was resized). Loading takes
// down the window shown before; missing names what is rejected when either
// part is absent.
template <class Wnd>
void SerializeWindow(tvane::CArchive& ar, std::unique_ptr<Wnd>& wnd,
                     std::unique_ptr<CRegion>& region, const char* missing) {
    if (ar.IsStoring()) {
        if (IGaugeWindow* window = wnd ? wnd->GetWindow() : nullptr)
            window->LayOut();
        ar.WriteObject(wnd.get());
        ar.WriteObject(region.get());
        return;
    }
    if (wnd)
        wnd->DestroyWindow();
    wnd = ar.ReadOwnedObject<Wnd>();
    region = ar.ReadOwnedObject<CRegion>();
    if (!wnd || !region)
        Reject(missing);
}

} // namespace gauge
