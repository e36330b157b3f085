#include "graphics/GraphFactory.h"

#include <map>

#include "graphics/CGraphFrame.h"
#include "graphics/GraphicsTexts.h"
#include "platform/ui/Prompter.h"

namespace graphfactory {

namespace {

struct RegisteredFrame {
    std::string frameClass;
    FrameMaker maker;
};

// The families' frames by command id, filled while the program starts.
std::map<unsigned, RegisteredFrame>& Frames() {
    static std::map<unsigned, RegisteredFrame> frames;
    return frames;
}

} // namespace

const std::vector<DisplayCommand>& DisplayCommands() {
    static const std::vector<DisplayCommand> commands{
        {700, "Inserts a strip chart\nStrip Chart", 1},
        {702, "Inserts an XY plot\nXY Plot", 4},
        {703, "Inserts a histogram\nHistogram", 5},
        {32874, "Inserts a bar meter\nBar Meter", 3},
        {701, "Inserts a digital readout\nReadout", 2},
        {32818, "Inserts an alarm light panel\nAlarm Light Panel", 7},
        {32885, "Inserts a data light panel\nData Light Panel", 11},
        {32851, "Inserts a switch control\nSwitch Control", 8},
        {32883, "Inserts a push button control\nPush Button Control", 9},
        {32884, "Inserts a slider control\nSlider Control", 10},
        {32808, "Inserts a data grid displaying the most recent value and timestamp\nData Grid", 0},
        {32817, "Inserts a text box\nText", 6},
    };
    return commands;
}

const DisplayCommand* FindCommand(unsigned commandId) {
    for (const DisplayCommand& c : DisplayCommands())
        if (c.commandId == commandId)
            return &c;
    return nullptr;
}

std::string TitleOf(const DisplayCommand& command) {
    const std::string prompt = command.prompt;
    const auto nl = prompt.find('\n');
    return nl == std::string::npos ? std::string{} : prompt.substr(nl + 1);
}

void RegisterFrameMaker(const std::string& frameClass, unsigned commandId, FrameMaker maker) {
    Frames()[commandId] = {frameClass, std::move(maker)};
}

std::string FrameClassOf(unsigned commandId) {
    const auto it = Frames().find(commandId);
    return it == Frames().end() ? std::string{} : it->second.frameClass;
}

const std::vector<PageInfo>& PageTable() {
    static const std::vector<PageInfo> pages{
        {200, "Appearance", 140}, {201, "Channels", 160}, {305, "Channels", 240},
        {146, "Channels", 178},   {147, "Advanced", 163}, {151, "Channels", 173},
        {152, "Advanced", 172},   {217, "Channels", 191}, {153, "Advanced", 168},
        {141, "Advanced", 175},   {156, "Advanced", 176}, {134, "Advanced", 177},
        {142, "Advanced", 192},   {143, "Advanced", 195},
    };
    return pages;
}

const PageInfo* FindPage(int pageId) {
    for (const PageInfo& p : PageTable())
        if (p.pageId == pageId)
            return &p;
    return nullptr;
}

const SheetInfo* FindSheet(int displayType) {
    static const std::vector<SheetInfo> sheets{
        {CGraphFrame::kText, {200}, 114},
        {CGraphFrame::kStripChart, {201, 200, 141}, 204},
        {CGraphFrame::kBarMeter, {217, 200, 153}, 123},
        {CGraphFrame::kHistogram, {151, 200, 152}, 122},
        {CGraphFrame::kXYPlot, {146, 200, 147}, 120},
        {CGraphFrame::kAlarmLight, {201, 200, 134}, 111},
        {CGraphFrame::kDataGrid, {201, 200, 134}, 113},
        {CGraphFrame::kReadout, {201, 200, 156}, 116},
        {CGraphFrame::kSlider, {201, 200, 143}, 126},
        {CGraphFrame::kSwitchBank, {305, 200}, 121},
        {CGraphFrame::kPushButton, {305, 200}, 124},
        {CGraphFrame::kDataLight, {305, 200, 142}, 125},
    };
    for (const SheetInfo& s : sheets)
        if (s.displayType == displayType)
            return &s;
    return nullptr;
}

} // namespace graphfactory

std::unique_ptr<CGraphFrame> CreateGraphFrame(unsigned commandId) {
    using namespace graphfactory;
    const DisplayCommand* command = FindCommand(commandId);
    std::unique_ptr<CGraphFrame> frame;
    if (command) {
        const auto it = Frames().find(commandId);
        if (it != Frames().end() && it->second.maker)
            frame = it->second.maker();
    }
    if (!frame) {
        tvane::ShowMessage(GraphicsTexts().Load(401), tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Information);
        return nullptr;
    }
    frame->SetTitleText(TitleOf(*command));
    return frame;
}

namespace {
IGraphSheetRunner* g_sheetRunner = nullptr;
}

IGraphSheetRunner* GraphSheetRunner() {
    return g_sheetRunner;
}

void SetGraphSheetRunner(IGraphSheetRunner* runner) {
    g_sheetRunner = runner;
}

bool EditGraphProperties(CGraphFrame& frame, const std::vector<int>& pageIds, unsigned captionId) {
    IGraphSheetRunner* runner = GraphSheetRunner();
    if (!runner)
        return false;
    int active = frame.GetLastSheetPage();
    if (!runner->Run(frame, pageIds, captionId, frame.GetLastSheetPage(), active))
        return false;
    frame.SetLastSheetPage(active);
    return true;
}
