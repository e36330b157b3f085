#include <gtest/gtest.h>

#include "app/eventlog/EventLogRules.h"
#include "database/CDatasetEvent.h"
#include "shared/DocumentHints.h"

namespace eventlog {
namespace {

TEST(EventLogRules, FocusChangeKeys) {
    const struct {
        int key;
        long flag;
        FocusAction action;
    } cases[] = {
        {0, 0, FocusAction::FocusFirstButton},
        {0, 1, FocusAction::FocusLastButton},
        {'A', 0, FocusAction::Add},
        {'E', 0, FocusAction::Edit},
        {'F', 0, FocusAction::Find},
        {'D', 0, FocusAction::Delete},
        {'Q', 0, FocusAction::Print},
        {'P', 0, FocusAction::StayOnBar},
        {kKeyEscape, 0, FocusAction::Hide},
        {kKeyTab, 0, FocusAction::FocusView},
        {'a', 0, FocusAction::StayOnBar},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FocusChangeAction(c.key, c.flag), c.action) << c.key << " " << c.flag;
}

TEST(EventLogRules, ChannelEntriesMatchByPrefixIgnoringCase) {
    const std::vector<std::string> entries{"(none)", "<101>Oven", "<1011>Spare", "<102>oven"};
    EXPECT_EQ(FindEntryByPrefix(entries, "<101>"), 1);
    EXPECT_EQ(FindEntryByPrefix(entries, "<102>OVEN"), 3);
    EXPECT_EQ(FindEntryByPrefix(entries, "(NONE)"), 0);
    EXPECT_EQ(FindEntryByPrefix(entries, "<0>"), -1);
    EXPECT_EQ(FindEntryByPrefix(entries, "<101>Oven and more"), -1);
}

TEST(EventLogRules, Hints) {
    CDatasetEvent user(CDatasetEvent::User, 0, 1.0, "note");
    CDatasetEvent high(CDatasetEvent::HighLimit, 101, 1.0, "high");
    CDatasetEvent low(CDatasetEvent::LowLimit, 101, 1.0, "low");
    std::int32_t index = 7;

    HintAction a = ClassifyHint(HINT_READING, &user);
    EXPECT_EQ(a.kind, HintAction::StoreEvent);
    EXPECT_EQ(a.event, &user);
    EXPECT_EQ(ClassifyHint(HINT_READING, &high).kind, HintAction::Ignore);
    EXPECT_EQ(ClassifyHint(HINT_READING, &low).kind, HintAction::Ignore);
    EXPECT_EQ(ClassifyHint(HINT_READING, {}).kind, HintAction::Redraw);
    a = ClassifyHint(HINT_SHOW_EVENT, &index);
    EXPECT_EQ(a.kind, HintAction::ShowEvent);
    EXPECT_EQ(a.index, 7);
    EXPECT_EQ(ClassifyHint(HINT_SHOW_EVENT, &user).kind, HintAction::Ignore);
    EXPECT_EQ(ClassifyHint(HINT_NEW_DOCUMENT, {}).kind, HintAction::Reset);
    EXPECT_EQ(ClassifyHint(HINT_SCAN_STARTING, {}).kind, HintAction::Reset);
    EXPECT_EQ(ClassifyHint(3348, {}).kind, HintAction::Redraw);
    EXPECT_EQ(ClassifyHint(HINT_EVENTS_CHANGED, &user).kind, HintAction::Redraw);
}

} // namespace
} // namespace eventlog
