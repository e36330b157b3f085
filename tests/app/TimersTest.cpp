#include "app/CAppTimer.h"
#include "app/CIntervalTimer.h"
#include "app/CWndTimer.h"
#include "platform/core/Services.h"
#include "shared/MainWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CIntervalTimer, KeepsItsPhaseAndCatchesUpOneIntervalPerCall) {
    CIntervalTimer timer;
    timer.Set(155, 1000);
    EXPECT_TRUE(timer.IsDue(1310));
    EXPECT_EQ(timer.StartTick(), 1155u);
    EXPECT_TRUE(timer.IsDue(1310));
    EXPECT_EQ(timer.StartTick(), 1310u);
    EXPECT_FALSE(timer.IsDue(1310));
    EXPECT_FALSE(timer.IsDue(1464));
    EXPECT_EQ(timer.StartTick(), 1310u);
    EXPECT_TRUE(timer.IsDue(1470));
    EXPECT_EQ(timer.StartTick(), 1465u); // not 1470: the phase stays
}

TEST(CIntervalTimer, MeasuresAcrossTheTickWrap) {
    CIntervalTimer timer;
    timer.Set(1000, 0xFFFFFE00u);      // 512 ms before the wrap
    EXPECT_FALSE(timer.IsDue(0x100u)); // 768 ms elapsed
    EXPECT_TRUE(timer.IsDue(0x200u));  // 1024 ms elapsed
    EXPECT_EQ(timer.StartTick(), 0xFFFFFE00u + 1000u);
    EXPECT_EQ(timer.StartTick(), 488u);
}

TEST(CIntervalTimer, AfterResetIsDueOnceTheTickPassesTheInterval) {
    CIntervalTimer timer;
    timer.Set(8600, 50000);
    timer.Reset();
    EXPECT_EQ(timer.Interval(), 8600u);
    EXPECT_FALSE(timer.IsDue(8599));
    EXPECT_TRUE(timer.IsDue(8600));
}

TEST(CWndTimer, StartRestartsAndStopOfAStoppedTimerCallsNothing) {
    tvane::FakeTimerService frame;
    CWndTimer timer;
    timer.SetId(3211);
    EXPECT_FALSE(timer.Start(155)) << "no window yet";
    EXPECT_FALSE(timer.IsRunning());

    timer.SetWindow(&frame);
    EXPECT_TRUE(timer.Stop());
    EXPECT_EQ(frame.setCount, 0);

    EXPECT_TRUE(timer.Start(155));
    EXPECT_TRUE(frame.IsActive(3211));
    EXPECT_TRUE(timer.Start(1000));
    EXPECT_EQ(frame.Elapse(3211), 1000u);
    EXPECT_EQ(frame.setCount, 2);

    EXPECT_TRUE(timer.Stop());
    EXPECT_FALSE(frame.IsActive(3211));
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_TRUE(timer.Stop());

    // A new main frame: the timer moves, it does not run on both.
    tvane::FakeTimerService newFrame;
    EXPECT_TRUE(timer.Start(155));
    timer.SetWindow(&newFrame);
    EXPECT_TRUE(timer.Start(155));
    EXPECT_FALSE(frame.IsActive(3211));
    EXPECT_TRUE(newFrame.IsActive(3211));
}

struct RecordingSink : tvane::ITimerSink {
    void OnTimer(unsigned id) override { ids.push_back(id); }
    std::vector<unsigned> ids;
};

struct RecordingWindow : tvane::IMainWindow, tvane::ICommandTarget {
    void SendCommand(unsigned id) override { sent.push_back(id); }
    void PostClose() override { ++closes; }
    bool OnCmdMsg(unsigned id, int code) override {
        routed.push_back(id);
        EXPECT_EQ(code, 0);
        return true;
    }
    std::vector<unsigned> sent, routed;
    int closes = 0;
};

class AppTimerTest : public ::testing::Test {
protected:
    AppTimerTest() { CAppTimer::SetService(&service); }
    ~AppTimerTest() override { CAppTimer::SetService(nullptr); }
    tvane::FakeTimerService service;
};

TEST_F(AppTimerTest, ExpiriesReachTheirOwnTimerUntilStopped) {
    RecordingSink window;
    CMsgTimer a(&window), b(&window);
    EXPECT_TRUE(a.Stop()) << "stop of a stopped timer";
    EXPECT_EQ(service.setCount, 0);
    ASSERT_TRUE(a.Start(100));
    ASSERT_TRUE(b.Start(200));
    EXPECT_NE(a.TimerId(), b.TimerId());
    EXPECT_TRUE(service.Fire(b.TimerId()));
    EXPECT_EQ(window.ids, std::vector<unsigned>{b.TimerId()});

    const unsigned oldId = a.TimerId();
    ASSERT_TRUE(a.Stop());
    EXPECT_EQ(a.TimerId(), 0u);
    CAppTimer::Dispatch(oldId, 5); // an expiry racing with Stop is ignored
    EXPECT_EQ(window.ids.size(), 1u);

    a.SetWindow(nullptr, 0);
    ASSERT_TRUE(a.Start(100));
    EXPECT_TRUE(service.Fire(a.TimerId()));
    EXPECT_EQ(window.ids.size(), 1u);
}

TEST_F(AppTimerTest, CommandTimerRoutesThroughTargetElseMainWindowElseNothing) {
    RecordingWindow window;
    CCmdTimer timer(800, nullptr);
    ASSERT_TRUE(timer.Start(10));
    service.Fire(timer.TimerId()); // no target, no main window: nothing
    {
        tvane::ScopedService<tvane::IMainWindow> main(tvane::SetMainWindow, &window);
        service.Fire(timer.TimerId());
        timer.SetTarget(&window, 0);
        EXPECT_NE(timer.TimerId(), 0u) << "a zero flag keeps it running";
        service.Fire(timer.TimerId());
    }
    EXPECT_EQ(window.sent, std::vector<unsigned>{800});
    EXPECT_EQ(window.routed, std::vector<unsigned>{800});
    timer.SetCommandId(801, 1);
    EXPECT_EQ(timer.TimerId(), 0u) << "a non-zero flag stops it first";
}

std::vector<std::uint32_t> g_procTicks;
void Proc(void* window, unsigned message, unsigned, std::uint32_t tick) {
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(message, WM_TIMER);
    g_procTicks.push_back(tick);
}

TEST_F(AppTimerTest, ProcTimerPassesTheTickOfTheExpiryAndDestructorStops) {
    g_procTicks.clear();
    unsigned id = 0;
    {
        CProcTimer timer(&Proc);
        ASSERT_TRUE(timer.Start(50));
        id = timer.TimerId();
        CAppTimer::Dispatch(id, 1234);
        EXPECT_EQ(timer.TickTime(), 1234u);
    }
    EXPECT_FALSE(service.IsActive(id));
    CAppTimer::Dispatch(id, 99);
    EXPECT_EQ(g_procTicks, std::vector<std::uint32_t>{1234});
}

} // namespace
