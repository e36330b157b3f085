#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shared/IView.h"

class CDatasetEvent;

// The event log window's rules that need no window.
namespace eventlog {

// Key codes carried by the focus-change message: letters are their upper-case
// character, as on the keyboard's legends.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEscape = 27;

// What the frame does with a focus-change message (key, flag).
enum class FocusAction {
    FocusFirstButton,
    FocusLastButton,
    Add,
    Edit,
    Find,
    Delete,
    Print,
    Hide,
    FocusView,
    StayOnBar, // the focus moved to the bar and nothing runs
};
// Key 0 comes from the table's Tab (flag set: Shift was down); any other key
// first puts the focus on the bar. Print is Q, as P is not given to it.
FocusAction FocusChangeAction(int key, long flag);

// The first entry that begins with the text, ignoring case; -1 when none.
int FindEntryByPrefix(const std::vector<std::string>& entries, const std::string& text);

// What the event view does with a document hint.
struct HintAction {
    enum Kind {
        Reset,      // a new list of events
        Redraw,     // take the count and repaint
        StoreEvent, // store the event, refresh the count, repaint
        ShowEvent,  // make the event's row current
        Ignore,
    };
    Kind kind = Ignore;
    CDatasetEvent* event = nullptr;
    std::int32_t index = -1;
};
HintAction ClassifyHint(long hint, const HintObject& object);

} // namespace eventlog
