#include "graphics/GraphFactory.h"

#include <map>

#include "graphics/CGraphFrame.h"
#include "graphics/CTextFrame.h"
#include "graphics/GraphicsTexts.h"
#include "platform/ui/Prompter.h"

namespace graphfactory {

namespace {

std::map<std::string, FrameMaker>& Makers() {
    // The displays of this library; the other families register theirs.
    static std::map<std::string, FrameMaker> makers{
        {"CTextFrame", [] { return std::make_unique<CTextFrame>(); }},
    };
    return makers;
}

} // namespace

const std::vector<DisplayCommand>& DisplayCommands() {
    static const std::vector<DisplayCommand> commands{
        {700, "Inserts a strip chart\nStrip Chart", "CXrtOverlayFrame", 1},
        {702, "Inserts an XY plot\nXY Plot", "CXYFrame", 4},
        {703, "Inserts a histogram\nHistogram", "CHistogramFrame", 5},
        {32874, "Inserts a bar meter\nBar Meter", "CBarFrame", 3},
        {701, "Inserts a digital readout\nReadout", "CReadOutFrame", 2},
        {32818, "Inserts an alarm light panel\nAlarm Light Panel", "CLEDFrame", 7},
        {32885, "Inserts a data light panel\nData Light Panel", "CDataLEDFrame", 11},
        {32851, "Inserts a switch control\nSwitch Control", "CSwitchFrame", 8},
        {32883, "Inserts a push button control\nPush Button Control", "CPushButtonFrame", 9},
        {32884, "Inserts a slider control\nSlider Control", "CSliderFrame", 10},
        {32808, "Inserts a data grid\nData Grid", "CGridFrame", 0},
        {32817, "Inserts a text box\nText", "CTextFrame", 6},
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

void RegisterFrameMaker(const std::string& frameClass, FrameMaker maker) {
    Makers()[frameClass] = std::move(maker);
}

const std::vector<PageInfo>& PageTable() {
    static const std::vector<PageInfo> pages{
        {200, "Appearance", "CGraphAppearancePage", 140},
        {201, "Channels", "CGraphChannelPage", 160},
        {305, "Channels", "CSwitchChannelPage", 240},
        {146, "Channels", "CXYChannelPage", 178},
        {147, "Advanced", "CXYAdvancedPage", 163},
        {151, "Channels", "CHistogramChannelPage", 173},
        {152, "Advanced", "CHistogramAdvancedPage", 172},
        {217, "Channels", "CBarChannelPage", 191},
        {153, "Advanced", "CBarAdvancedPage", 168},
        {141, "Advanced", "COverAdvancedPage", 175},
        {156, "Advanced", "CReadoutPage", 176},
        {134, "Advanced", "CUpdateScanPage", 177},
        {142, "Advanced", "CDataLEDAdvancedPage", 192},
        {143, "Advanced", "CSliderAdvancedPage", 195},
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
        const auto it = Makers().find(command->frameClass);
        if (it != Makers().end())
            frame = it->second();
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
