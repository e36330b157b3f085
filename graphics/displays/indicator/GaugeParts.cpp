#include "graphics/displays/indicator/GaugeParts.h"

#include "graphics/CGraphFrame.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/displays/indicator/IndicatorTexts.h"
#include "platform/archive/CArchive.h"
#include "scan/CDisplayRecord.h"
#include "shared/CGraphException.h"
#include "shared/CMfxFont.h"
#include "shared/IView.h"

namespace gauge {

std::unique_ptr<IGaugeWindow> MakeWindow(CGraphFrame& frame, IGaugeWindowClient& client,
                                         const GRect& rect, const char* module, int line) {
    IGaugeWindows* maker = displays::Windows<IGaugeWindows>::Get();
    std::unique_ptr<IGaugeWindow> window;
    if (frame.GetWindow() && maker)
        window = maker->CreateGaugeWindow(*frame.GetWindow(), client, rect);
    if (!window)
        CreateFailed(module, line);
    return window;
}

void CreateFailed(const char* module, int line) {
    throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr, module,
                          line, {});
}

void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

int AlarmStateOfItem(int item) {
    switch (item) {
    case 4:
        return 0; // "No Alarm"
    case 5:
        return 2; // "High Alarm Limit"
    case 6:
        return 1; // "Low Alarm Limit"
    default:
        return -1;
    }
}

std::string AlarmStateName(int state) {
    static const unsigned names[] = {indicatortext::kNoAlarm, indicatortext::kLowAlarm,
                                     indicatortext::kHighAlarm};
    return IndicatorTexts().Load(names[state]);
}

bool GetBackTextItem(int item, GRAPHITEMPROPS& props, std::uint32_t backColor, const CMfxFont* font,
                     bool textColor, std::uint32_t& supported) {
    using P = GRAPHITEMPROPS;
    if (item == P::kBackground) {
        supported |= P::kName | P::kColor;
        if (props.mask & P::kName)
            props.itemName = GraphicsTexts().Load(203);
        if (props.mask & P::kColor)
            props.color = backColor;
        return true;
    }
    if (item != P::kText)
        return false;
    supported |= P::kName | P::kFont | (textColor ? P::kColor : 0u);
    if (props.mask & P::kName)
        props.itemName = GraphicsTexts().Load(205);
    if (textColor && font && (props.mask & P::kColor))
        props.color = font->GetColor();
    if (font && (props.mask & P::kFont))
        props.font = font->GetLogFont();
    return true;
}

bool SetBackTextItem(int item, const GRAPHITEMPROPS& props, std::uint32_t& backColor,
                     CMfxFont* font, bool textColor, std::uint32_t& supported) {
    using P = GRAPHITEMPROPS;
    if (item == P::kBackground) {
        supported |= P::kColor;
        if (props.mask & P::kColor)
            backColor = props.color;
        return true;
    }
    if (item != P::kText)
        return false;
    supported |= P::kFont | (textColor ? P::kColor : 0u);
    if (textColor && font && (props.mask & P::kColor))
        font->SetColor(props.color);
    if (font && (props.mask & P::kFont))
        font->SetLogFont(props.font);
    return true;
}

void ShowStoredReadings(CGraphFrame& frame) {
    if (!frame.GetDocumentHasReadings())
        return;
    CDisplayRecord record;
    record.m_first = 1;
    record.m_second = 1;
    record.m_third = frame.GetDatasetCode();
    frame.OnNewReadings(HintObject(&record));
}

} // namespace gauge
