#include "platform/core/FrameworkExceptions.h"
#include "tests/database/DatasetTestSupport.h"

using namespace dataset_test;

namespace {

class DatasetEventsTest : public DatasetFileTest {
protected:
    void SetUp() override {
        DatasetFileTest::SetUp();
        CreateDataset(dataset, "Z6101010.100", 1);
    }

    std::int32_t Add(std::uint32_t type, double time, const std::string& text = "t") {
        CDatasetEvent ev(type, -1, time, text);
        return dataset.AppendEvent(ev);
    }

    std::vector<double> Times() {
        std::vector<double> times;
        CDatasetEvent ev;
        for (std::int32_t i = 0; i < dataset.GetEventCount(); ++i) {
            EXPECT_TRUE(dataset.GetEvent(i, ev));
            times.push_back(ev.m_time);
        }
        return times;
    }

    std::vector<double> UserTimes() {
        std::vector<std::unique_ptr<CDatasetEvent>> out;
        dataset.GetUserEvents(0.0, 1e12, 0xFFFFFFFF, out);
        std::vector<double> times;
        for (const auto& ev : out)
            times.push_back(ev->m_time);
        return times;
    }

    CDataset dataset;
};

TEST_F(DatasetEventsTest, SameTimesAreStoredApartWithTheirOwnTextStreams) {
    CDatasetEvent a(CDatasetEvent::User, 101, 1000.0, "first");
    CDatasetEvent b(CDatasetEvent::User, 102, 1000.0, "second");
    EXPECT_EQ(dataset.AppendEvent(a), 1);
    EXPECT_EQ(dataset.AppendEvent(b), 2);
    EXPECT_EQ(a.m_time, 1000.0);
    EXPECT_EQ(b.m_time, 1000.001);
    EXPECT_EQ(CDataset::EventTextName(a.m_time), "1000.0000");
    EXPECT_EQ(CDataset::EventTextName(b.m_time), "1000.0010");
    EXPECT_EQ(CDataset::EventTextName(-3.0), "-3.0000");
    EXPECT_EQ(CDataset::EventTextName(1234.567), "1234.5670");

    CDatasetEvent back;
    ASSERT_TRUE(dataset.GetEvent(1, back));
    EXPECT_EQ(back.m_text, "second");
    EXPECT_EQ(back.m_channel, 102);
    EXPECT_EQ(back.m_time, 1000.001);
    EXPECT_EQ(UserTimes(), (std::vector<double>{1000.0, 1000.001}));

    dataset.Close();
    store.Close();
    const auto text = StreamBytes(path, {"Z6101010.100", "EventsZ6101010.100", "1000.0010"});
    ASSERT_EQ(text.size(), 2u + 6u);
    EXPECT_EQ(At<std::uint16_t>(text, 0), 6);
    EXPECT_EQ(std::string(text.begin() + 2, text.end()), "second");
    const auto events = StreamBytes(path, {"Z6101010.100", "Events"});
    ASSERT_EQ(events.size(), 32u);
    EXPECT_EQ(At<double>(events, 16), 1000.001);
    EXPECT_EQ(At<std::uint32_t>(events, 24), CDatasetEvent::User);
    EXPECT_EQ(At<std::int32_t>(events, 28), 102);
}

TEST_F(DatasetEventsTest, ATimeTakenForAllTriesIsRefusedNamingTheLastName) {
    for (int i = 0; i < CDataset::kMaxTextNameTries; ++i)
        Add(CDatasetEvent::LowLimit, 50.0);
    EXPECT_EQ(dataset.GetEventCount(), 256);
    CDatasetEvent again(CDatasetEvent::LowLimit, -1, 50.0, "x");
    try {
        dataset.AppendEvent(again);
        ADD_FAILURE() << "no exception";
    } catch (const tvane::FileException& e) {
        EXPECT_EQ(e.FileName(), "50.2550");
    }
    EXPECT_EQ(dataset.GetEventCount(), 256);
    EXPECT_THROW(dataset.InsertEvent(0, again), tvane::FileException);
    EXPECT_EQ(dataset.GetEventCount(), 256) << "a refused insert leaves the list as it was";
}

TEST_F(DatasetEventsTest, OnlyStartAndUserEventsOfTheRunAreIndexed) {
    Add(CDatasetEvent::Start, 0.0);
    Add(CDatasetEvent::LowLimit, 10.0);
    Add(CDatasetEvent::User, 20.0);
    Add(CDatasetEvent::Stop, 30.0);
    Add(CDatasetEvent::User, -5.0);
    EXPECT_EQ(dataset.GetEventCount(), 5);
    EXPECT_EQ(dataset.GetUserEventCount(), 2);
    EXPECT_EQ(UserTimes(), (std::vector<double>{0.0, 20.0}));
    EXPECT_EQ(dataset.GetFirstEventTime(), 10.0) << "a time of 0 does not set the first";
    EXPECT_EQ(dataset.GetLastEventTime(), 30.0);

    EXPECT_TRUE(dataset.DeleteEvent(3)); // Stop
    EXPECT_EQ(dataset.GetUserEventCount(), 2);
    EXPECT_TRUE(dataset.DeleteEvent(0)); // Start
    EXPECT_EQ(UserTimes(), (std::vector<double>{20.0}));
    EXPECT_EQ(Times(), (std::vector<double>{10.0, 20.0, -5.0}));
    EXPECT_FALSE(dataset.DeleteEvent(3));
    EXPECT_FALSE(dataset.DeleteEvent(-1));
    EXPECT_EQ(dataset.GetEventCount(), 3);
    // the freed name can be taken again
    CDatasetEvent again(CDatasetEvent::User, -1, 30.0, "again");
    dataset.AppendEvent(again);
    EXPECT_EQ(again.m_time, 30.0);
}

TEST_F(DatasetEventsTest, DeletingAnEventMissingFromTheIndexLeavesItsNeighbours) {
    Add(CDatasetEvent::User, 10.0);
    Add(CDatasetEvent::LowLimit, 20.0);
    Add(CDatasetEvent::User, 30.0);
    // made a User event after the fact: the index does not list it
    ASSERT_TRUE(dataset.SetEvent(1, CDatasetEvent(CDatasetEvent::User, -1, 20.0, "now user")));
    ASSERT_TRUE(dataset.DeleteEvent(1));
    EXPECT_EQ(UserTimes(), (std::vector<double>{10.0, 30.0}));
    EXPECT_EQ(Times(), (std::vector<double>{10.0, 30.0}));
}

TEST_F(DatasetEventsTest, FindEventIndexAnswersAtOrAfter) {
    for (double t : {10.0, 20.0, 20.0, 30.0, -1.0, -2.0})
        Add(CDatasetEvent::InputOperation, t);
    struct Case {
        double time;
        bool lastOfEqual;
        std::int32_t expected;
    };
    const Case cases[] = {
        {20.0, true, 2},  {20.0, false, 1}, {15.0, false, 1}, {25.0, false, 3},
        {10.0, false, 0}, {5.0, false, 0},  {30.0, false, 3}, {35.0, false, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataset.FindEventIndex(c.time, c.lastOfEqual), c.expected) << c.time;

    CDatasetEvent pattern(CDatasetEvent::InputOperation, -1, 21.0), found;
    EXPECT_EQ(dataset.FindEvent(pattern, found), 3);
    EXPECT_EQ(found.m_time, 30.0);
    pattern.m_type = CDatasetEvent::User;
    EXPECT_EQ(dataset.FindEvent(pattern, found), -1);
}

TEST_F(DatasetEventsTest, EventsOfARunGoBeforeThoseLoggedOutsideIt) {
    // A download logged before the run, the run's events, an error logged after it.
    Add(CDatasetEvent::Download, -1.0, "download");
    Add(CDatasetEvent::Start, 0.0, "start");
    Add(CDatasetEvent::User, 1500.0, "note");
    Add(CDatasetEvent::HighLimit, 2000.0, "alarm");
    Add(CDatasetEvent::Stop, 5000.0, "stop");
    Add(CDatasetEvent::InstrumentError, -2.0, "error");
    EXPECT_EQ(Times(), (std::vector<double>{0.0, 1500.0, 2000.0, 5000.0, -1.0, -2.0}));
    EXPECT_EQ(dataset.GetRunEventCount(), 4);
    CDatasetEvent ev;
    ASSERT_TRUE(dataset.GetEvent(4, ev));
    EXPECT_EQ(ev.m_text, "download");

    // The searches by time.
    struct Case {
        double time;
        std::int32_t expected;
    };
    for (const Case& c : {Case{0.0, 0}, Case{10.0, 1}, Case{1500.0, 1}, Case{1800.0, 2},
                          Case{2000.0, 2}, Case{4000.0, 3}, Case{5000.0, 3}})
        EXPECT_EQ(dataset.FindEventIndex(c.time, false), c.expected) << c.time;
    CDatasetEvent pattern(CDatasetEvent::HighLimit | CDatasetEvent::Stop, -1, 100.0), found;
    EXPECT_EQ(dataset.FindEvent(pattern, found), 2);
    EXPECT_EQ(found.m_text, "alarm");
    pattern = CDatasetEvent(CDatasetEvent::Download, -1, -1.0);
    EXPECT_EQ(dataset.FindEvent(pattern, found), 4);
    EXPECT_EQ(UserTimes(), (std::vector<double>{0.0, 1500.0}));
    EXPECT_EQ(dataset.GetFirstEventTime(), 1500.0);
    EXPECT_EQ(dataset.GetLastEventTime(), 5000.0);
}

TEST_F(DatasetEventsTest, FindEventIndexOfAnEmptyOrSingleList) {
    EXPECT_EQ(dataset.FindEventIndex(5.0, false), -1);
    Add(CDatasetEvent::User, 10.0);
    EXPECT_EQ(dataset.FindEventIndex(5.0, false), 0);
    EXPECT_EQ(dataset.FindEventIndex(10.0, true), 0);
    EXPECT_EQ(dataset.FindEventIndex(15.0, false), 1);
}

TEST_F(DatasetEventsTest, InsertInTheMiddleOfALongListMovesTheTail) {
    const int count = 1500; // the tail spans several move blocks
    for (int i = 0; i < count; ++i)
        Add(i % 2 ? CDatasetEvent::User : CDatasetEvent::HighLimit, i * 10.0,
            "e" + std::to_string(i));
    CDatasetEvent inserted(CDatasetEvent::User, 7, 4005.0, "inserted");
    const std::int32_t at = dataset.FindEventIndex(inserted.m_time, false);
    EXPECT_EQ(at, 401);
    ASSERT_TRUE(dataset.InsertEvent(at, inserted));
    ASSERT_EQ(dataset.GetEventCount(), count + 1);

    const auto times = Times();
    for (int i = 0; i <= count; ++i) {
        const double expected = i < 401 ? i * 10.0 : i == 401 ? 4005.0 : (i - 1) * 10.0;
        ASSERT_EQ(times[i], expected) << i;
    }
    CDatasetEvent ev;
    ASSERT_TRUE(dataset.GetEvent(1500, ev));
    EXPECT_EQ(ev.m_text, "e1499");
    ASSERT_TRUE(dataset.GetEvent(401, ev));
    EXPECT_EQ(ev.m_text, "inserted");
    EXPECT_EQ(ev.m_channel, 7);
    const auto user = UserTimes();
    ASSERT_EQ(user.size(), 751u);
    EXPECT_EQ(user[199], 3990.0);
    EXPECT_EQ(user[200], 4005.0);
    EXPECT_EQ(user[201], 4010.0);

    EXPECT_FALSE(dataset.InsertEvent(count + 5, inserted));
    ASSERT_TRUE(dataset.InsertEvent(0, inserted)); // 4005.0 is taken: stored later
    EXPECT_EQ(inserted.m_time, 4005.001);
}

TEST_F(DatasetEventsTest, GetUserEventsStopsAtTheWholeMillisecondOfTheEnd) {
    Add(CDatasetEvent::Start, 0.0);
    Add(CDatasetEvent::User, 40.0);
    Add(CDatasetEvent::User, 100.9);
    Add(CDatasetEvent::User, 101.0);
    std::vector<std::unique_ptr<CDatasetEvent>> out;
    EXPECT_EQ(dataset.GetUserEvents(0.0, 100.7, CDatasetEvent::User, out), 2);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]->m_time, 40.0);
    EXPECT_EQ(out[1]->m_time, 100.9);
    EXPECT_TRUE(out[1]->m_text.empty());

    out.clear();
    EXPECT_EQ(dataset.GetUserEvents(0.0, 100.7, CDatasetEvent::Start | CDatasetEvent::User, out),
              3);
    out.clear();
    EXPECT_EQ(dataset.GetUserEvents(41.0, 200.0, CDatasetEvent::User, out), 2);
    EXPECT_EQ(out[0]->m_time, 100.9) << "an event before the start of the range is left out";
    out.clear();
    EXPECT_EQ(dataset.GetUserEvents(102.0, 200.0, CDatasetEvent::User, out), 0);
}

TEST_F(DatasetEventsTest, SetUpdateAndEmptyTexts) {
    Add(CDatasetEvent::User, 10.0, "");
    Add(CDatasetEvent::Download, 20.0, "download");
    CDatasetEvent ev;
    ASSERT_TRUE(dataset.GetEvent(0, ev));
    EXPECT_EQ(ev.m_text, "");

    CDatasetEvent changed(CDatasetEvent::Upload, 205, 20.0, "up");
    ASSERT_TRUE(dataset.SetEvent(1, changed));
    ASSERT_TRUE(dataset.GetEvent(1, ev));
    EXPECT_EQ(ev.m_type, CDatasetEvent::Upload);
    EXPECT_EQ(ev.m_channel, 205);
    EXPECT_EQ(ev.m_text, "up");

    changed.m_channel = 301;
    changed.m_text = std::string(70000, 'x'); // longer than the length field holds
    EXPECT_TRUE(dataset.UpdateEventField(1, 1, changed));
    EXPECT_TRUE(dataset.UpdateEventField(1, 3, changed));
    EXPECT_FALSE(dataset.UpdateEventField(1, 2, changed));
    ASSERT_TRUE(dataset.GetEvent(1, ev));
    EXPECT_EQ(ev.m_channel, 301);
    EXPECT_EQ(ev.m_text.size(), 65535u);

    // a text stream that does not exist is reported, and the record is left alone
    CDatasetEvent stray(CDatasetEvent::User, 1, 99.0, "stray");
    EXPECT_THROW(dataset.SetEvent(0, stray), tvane::FileException);
    ASSERT_TRUE(dataset.GetEvent(0, ev));
    EXPECT_EQ(ev.m_time, 10.0);
}

TEST_F(DatasetEventsTest, EventsAndTheirTimesSurviveReopening) {
    Add(CDatasetEvent::Start, 5.0, "start");
    Add(CDatasetEvent::User, 50.0, "note");
    Add(CDatasetEvent::User, -1.0, "outside");
    dataset.Close();
    ASSERT_TRUE(dataset.Open(&store, "Z6101010.100"));
    EXPECT_EQ(dataset.GetEventCount(), 3);
    EXPECT_EQ(dataset.GetUserEventCount(), 2);
    EXPECT_EQ(dataset.GetFirstEventTime(), 5.0);
    EXPECT_EQ(dataset.GetLastEventTime(), 50.0);
    CDatasetEvent ev;
    ASSERT_TRUE(dataset.GetEvent(2, ev));
    EXPECT_EQ(ev.m_text, "outside");
    EXPECT_EQ(ev.m_time, -1.0);
}

} // namespace
