#include "app/eventlog/EventLogRules.h"

#include "database/CDatasetEvent.h"
#include "platform/core/CaseInsensitive.h"
#include "shared/DocumentHints.h"

namespace eventlog {

namespace {
// The view's own repaint request.
constexpr long kHintRedraw = 3348;
} // namespace

FocusAction FocusChangeAction(int key, long flag) {
    if (key == 0)
        return flag != 0 ? FocusAction::FocusLastButton : FocusAction::FocusFirstButton;
    switch (key) {
    case 'A':
        return FocusAction::Add;
    case 'E':
        return FocusAction::Edit;
    case 'F':
        return FocusAction::Find;
    case 'D':
        return FocusAction::Delete;
    case 'Q':
        return FocusAction::Print;
    case kKeyEscape:
        return FocusAction::Hide;
    case kKeyTab:
        return FocusAction::FocusView;
    default:
        return FocusAction::StayOnBar;
    }
}

int FindEntryByPrefix(const std::vector<std::string>& entries, const std::string& text) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].size() >= text.size() &&
            tvane::EqualsNoCase(entries[i].substr(0, text.size()), text))
            return static_cast<int>(i);
    return -1;
}

HintAction ClassifyHint(long hint, const HintObject& object) {
    HintAction action;
    switch (hint) {
    case HINT_NEW_DOCUMENT:
    case HINT_SCAN_STARTING:
        action.kind = HintAction::Reset;
        break;
    case HINT_READING:
        if (CDatasetEvent* event = object.As<CDatasetEvent>()) {
            // Limit events are stored by the scan engine itself.
            if (event->m_type == CDatasetEvent::LowLimit ||
                event->m_type == CDatasetEvent::HighLimit)
                break;
            action.kind = HintAction::StoreEvent;
            action.event = event;
        } else {
            action.kind = HintAction::Redraw;
        }
        break;
    case HINT_SHOW_EVENT:
        if (const std::int32_t* index = object.As<std::int32_t>()) {
            action.kind = HintAction::ShowEvent;
            action.index = *index;
        }
        break;
    case kHintRedraw:
    default:
        // Events may have come or gone with any change: the grid takes the
        // stored count again, which costs nothing when it did not change.
        action.kind = HintAction::Redraw;
        break;
    }
    return action;
}

} // namespace eventlog
