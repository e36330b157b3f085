#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TimerService.h"

#include <gtest/gtest.h>

namespace tvane {
namespace {

TEST(Prompter, ScriptAnswersThenDefaultButton) {
    ScriptedPrompter p;
    SetPrompter(&p);
    p.Script({MsgAnswer::No});
    EXPECT_EQ(ShowMessage("Save?", MsgButtons::YesNoCancel, MsgIcon::Question, 55), MsgAnswer::No);
    EXPECT_EQ(ShowMessage("Again?", MsgButtons::YesNoCancel), MsgAnswer::Yes);
    EXPECT_EQ(ShowMessage("Retry?", MsgButtons::RetryCancel), MsgAnswer::Retry);
    SetPrompter(nullptr);
    ASSERT_EQ(p.asked.size(), 3u);
    EXPECT_EQ(p.asked[0].helpId, 55u);
    EXPECT_EQ(p.Texts()[1], "Again?");
}

struct Sink : ITimerSink {
    std::vector<unsigned> fired;
    void OnTimer(unsigned id) override { fired.push_back(id); }
};

TEST(FakeTimerService, FiresOnlyRunningTimers) {
    FakeTimerService timers;
    Sink sink;
    timers.SetSink(&sink);
    timers.SetTimer(3211, 500);
    timers.SetTimer(3211, 250);
    EXPECT_EQ(timers.Elapse(3211), 250u);
    EXPECT_TRUE(timers.Fire(3211));
    timers.KillTimer(3211);
    EXPECT_FALSE(timers.Fire(3211));
    EXPECT_EQ(sink.fired, std::vector<unsigned>{3211});
}

} // namespace
} // namespace tvane
