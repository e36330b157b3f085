// The whole program on the simulated instrument at its fastest scan (no
// interval: one scan of 20 channels every poll of the main window's scan
// timer), run live on the system clock for a while, offscreen:
//   Baseline: the scan with an empty graphics page showing.
//   EveryDisplay: the same with the page of one display of every type the
//                 Graphics menu makes.
// Each prints the process's CPU time over the run (from /proc/self/stat) as a
// share of the wall time, and the readings stored per second.
// TVANE_CPU_SECONDS sets the length of each run (60 by default);
// TVANE_CPU_ONLY=<Graphics menu command> puts that display alone on the page.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/records/ReadingRecord.h"
#include "tests/app/frame/RunFromWindow.h"
#include "tests/app/frame/WholeProgram.h"

namespace tvane::test {
namespace {

// User and system CPU seconds of this process so far.
double CpuSeconds() {
    std::ifstream in("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The fields after the command name (which may hold blanks) in brackets.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

constexpr int kChannels = 20;

// The number of the newest scan the document holds (every scan reads every
// channel).
std::int32_t NewestScan(CLoggerDoc& doc) {
    std::vector<ReadingRecord*> readings;
    doc.GetChannelReadings(101, readings);
    return readings.empty() ? 0 : readings.back()->ScanNumber;
}

int RunSeconds() {
    const char* text = std::getenv("TVANE_CPU_SECONDS");
    const int seconds = text ? std::atoi(text) : 60;
    return seconds > 0 ? seconds : 60;
}

void MeasureRun(bool everyDisplay) {
    WholeProgram whole;
    whole.Start({QSize(1200, 900), {}});
    if (::testing::Test::HasFatalFailure())
        return;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    whole.ScanEverySecond(kChannels);
    if (::testing::Test::HasFatalFailure())
        return;
    // The fastest scan: no interval between scans.
    ASSERT_TRUE(whole.program.Binding().SetScanInterval(0.0));
    whole.Doc().GetScan()->m_scanInterval = 0.0;
    CGraphViewWnd* page = whole.wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    whole.frame.Pages()->setCurrentWidget(page);
    const char* only = std::getenv("TVANE_CPU_ONLY");
    int made = 0;
    if (everyDisplay)
        for (const graphfactory::DisplayCommand& command : graphfactory::DisplayCommands())
            if (!graphfactory::FrameClassOf(command.commandId).empty() &&
                (!only || std::atoi(only) == static_cast<int>(command.commandId))) {
                whole.frame.OnCmdMsg(command.commandId);
                ++made;
            }
    // Live: the program's clock follows the system's, and the main window's
    // own scan timer polls.
    SystemClock system;
    QTimer follow;
    std::uint32_t lastTick = system.TickCount();
    QObject::connect(&follow, &QTimer::timeout, [&] {
        const std::uint32_t now = system.TickCount();
        whole.program.clock.Advance(now - lastTick);
        lastTick = now;
    });
    follow.start(10);
    StartRunFromWindow(whole.frame);
    QTest::qWait(2000);
    ASSERT_EQ(whole.Doc().IsScanning(), 1);

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    const std::int32_t scansStart = NewestScan(whole.Doc());
    QTest::qWait(RunSeconds() * 1000);
    const double cpu = CpuSeconds() - cpuStart;
    const std::int64_t readings =
        static_cast<std::int64_t>(NewestScan(whole.Doc()) - scansStart) * kChannels;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    StopRunFromWindow(whole.frame);
    QTest::qWait(200);

    const double cpuShare = 100.0 * cpu / wall;
    const double perSecond = static_cast<double>(readings) / wall;
    std::printf("%s: %d displays, %.1f s, CPU %.1f%% of one core, %.0f readings/s, "
                "%.2f%% CPU per 1,000 readings/s\n",
                everyDisplay ? "Every display" : "Empty page", made, wall, cpuShare, perSecond,
                perSecond > 0 ? cpuShare * 1000.0 / perSecond : 0.0);
    std::fflush(stdout);
    EXPECT_GT(readings, 0);
    whole.wiring.reset();
}

TEST(PageCpu, Baseline) {
    MeasureRun(false);
}

TEST(PageCpu, EveryDisplay) {
    MeasureRun(true);
}

} // namespace
} // namespace tvane::test
