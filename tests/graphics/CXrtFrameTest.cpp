#include <gtest/gtest.h>

#include <stdexcept>

#include "GraphFakes.h"
#include "GraphicsTestSupport.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtFrame.h"
#include "graphics/CXrtGraph.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/ChartPageChange.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/core/Exception.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"

namespace {

using namespace graphicstest;

// The display frame base's part: one DWORD, or a failure on demand.
class TestFrame : public CXrtFrame {
public:
    bool CreateBaseFrame(CGraphView*) override { return canCreate; }
    bool RecreateBaseFrame(CGraphView*, int id) override {
        recreatedId = id;
        return canCreate;
    }
    void SerializeBaseFrame(tvane::CArchive& ar) override {
        if (baseFails)
            throw tvane::CArchiveException(tvane::CArchiveException::endOfFile, "base part");
        if (userStops)
            throw tvane::UserException();
        if (ar.IsStoring())
            ar << std::uint32_t{0xBA5E};
        else
            ar >> basePart;
    }
    bool GetNoReadingsFlag() const override { return noReadings; }
    void RequestRefresh() override { ++refreshes; }

    bool canCreate = true;
    bool baseFails = false;
    bool userStops = false;
    bool noReadings = false;
    int recreatedId = 0;
    int refreshes = 0;
    std::uint32_t basePart = 0;
};

class CXrtFrameTest : public ::testing::Test {
protected:
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
};

TEST_F(CXrtFrameTest, CreationIsTheBaseFramesCreation) {
    TestFrame frame;
    EXPECT_TRUE(frame.CreateFrame(nullptr));
    EXPECT_TRUE(frame.RecreateFrame(nullptr, 42));
    EXPECT_EQ(frame.recreatedId, 42);
    frame.canCreate = false;
    EXPECT_FALSE(frame.CreateFrame(nullptr));
    EXPECT_EQ(frame.GetReadingData(), nullptr);
}

TEST_F(CXrtFrameTest, TheReadingBufferIsStoredOnlyWhileTheDocumentHoldsReadings) {
    TestFrame frame;
    auto data = std::make_unique<CXrtGraphData>(2, 1, 4);
    data->GetData()->Append(0, 1.0, 2.0);
    frame.SetReadingData(std::move(data));

    frame.noReadings = true;
    const Bytes without = Store([&](tvane::CArchive& ar) { frame.Serialize(ar); });
    EXPECT_EQ(without, ByteWriter().U32(0xBA5E).bytes);
    TestFrame loaded;
    loaded.noReadings = true;
    Load(without, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetReadingData(), nullptr);

    frame.noReadings = false;
    const Bytes with = Store([&](tvane::CArchive& ar) { frame.Serialize(ar); });
    // The base part, then the object with its class tag (new class, schema 0).
    EXPECT_EQ(U32At(with, 0), 0xBA5Eu);
    EXPECT_EQ(with[4], 0xFF);
    EXPECT_EQ(with[5], 0xFF);
    EXPECT_EQ(std::string(with.begin() + 10, with.begin() + 23), "CXrtGraphData");
    TestFrame reloaded;
    Load(with, [&](tvane::CArchive& ar) { reloaded.Serialize(ar); });
    ASSERT_NE(reloaded.GetReadingData(), nullptr);
    EXPECT_EQ(reloaded.GetReadingData()->GetSeriesY(0, 0), 2.0);
    EXPECT_EQ(reloaded.GetReadingHandle(), nullptr); // the display sets it on re-creation
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CXrtFrameTest, AFailureIsReportedAndPassedOn) {
    TestFrame frame;
    frame.baseFails = true;
    EXPECT_THROW(Store([&](tvane::CArchive& ar) { frame.Serialize(ar); }),
                 tvane::CArchiveException);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].text.find("Xrtfrm"), std::string::npos);

    // A damaged reading buffer fails the load the same way.
    TestFrame loaded;
    const Bytes damaged = ByteWriter().U32(0xBA5E).U32(0x0000FFFF).bytes;
    EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_EQ(prompter.asked.size(), 2u);
}

TEST_F(CXrtFrameTest, AStopTheUserWasToldOfPassesQuietly) {
    TestFrame frame;
    frame.userStops = true;
    EXPECT_THROW(Store([&](tvane::CArchive& ar) { frame.Serialize(ar); }), tvane::UserException);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CXrtFrameTest, PageChangesHoldTheChartAndRefreshTheFrameOnceWhenSomethingChanged) {
    FakeChartParent parent;
    CXrtGraph graph;
    graph.Create(parent, {0, 0, 100, 100});
    TestFrame frame;
    {
        ChartPageChange change(graph, frame);
        EXPECT_FALSE(graph.GetRepaint());
        {
            ChartPageChange inner(graph, frame);
            inner.Note(false);
        }
        EXPECT_FALSE(graph.GetRepaint());
        EXPECT_EQ(frame.refreshes, 0);
        graph.SetBackgroundColor(0);
        change.Note(true);
        change.Note(false);
    }
    EXPECT_TRUE(graph.GetRepaint());
    EXPECT_EQ(frame.refreshes, 1);
}

// A chart frame on a page: its document says whether it shows stored readings.
class GatedFrame : public CXrtFrame {
public:
    explicit GatedFrame(CGraphView* view) { m_parent = view; }
};

TEST_F(CXrtFrameTest, TheUpdateRateGatesDrawingDuringARunOnly) {
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view{&window, &doc};
    GatedFrame frame(&view);
    frame.SetUpdateRate(5);
    // During a run: four single scans wait, the fifth draws; a batch of six
    // at once draws and starts over.
    for (int scan = 1; scan <= 4; ++scan)
        EXPECT_FALSE(frame.TakeScans(1)) << scan;
    EXPECT_TRUE(frame.TakeScans(1));
    EXPECT_EQ(frame.m_pendingScans, 0);
    EXPECT_TRUE(frame.TakeScans(6));
    EXPECT_FALSE(frame.TakeScans(0));
    // Stored readings draw at once.
    doc.readings = 10;
    EXPECT_TRUE(frame.TakeScans(1));
    EXPECT_EQ(frame.m_pendingScans, 0);
    // The count saturates instead of overflowing.
    doc.readings = 0;
    frame.SetUpdateRate(5000);
    frame.m_pendingScans = INT32_MAX - 1;
    EXPECT_TRUE(frame.TakeScans(100));
}

} // namespace
