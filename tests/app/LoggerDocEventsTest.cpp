#include <gtest/gtest.h>

#include "app/IEventEditDialog.h"
#include "database/CDatasetEvent.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

using EventLogTest = ScanEngineTest;

// The document is made with the ini file's "MaxEventLogEntries" set to Cap()
// (none: left unset).
class CappedEventLogTest : public ScanEngineTest {
protected:
    virtual const char* Cap() const = 0;
    void SetUp() override {
        if (const char* cap = Cap())
            WritePrivateProfileString("Settings", "MaxEventLogEntries", std::string(cap),
                                      "Tvane.ini");
        ScanEngineTest::SetUp();
    }
    void AddEvents(int n) {
        for (int i = 0; i < n; ++i) {
            CDatasetEvent event(CDatasetEvent::Stop, 0, i, "e");
            doc->AddEvent(event);
        }
    }
};

// (ini value, the cap it gives); a missing, zero, negative or unreadable value
// leaves the log uncapped.
class EventLogCapTest : public CappedEventLogTest,
                        public ::testing::WithParamInterface<std::pair<const char*, int>> {
    const char* Cap() const override { return GetParam().first; }
};
class EventLogOfThreeTest : public CappedEventLogTest {
    const char* Cap() const override { return "3"; }
};
class EventLogOfOneTest : public CappedEventLogTest {
    const char* Cap() const override { return "1"; }
};

std::vector<std::string> StoredTexts(CLoggerDoc& doc) {
    std::vector<std::string> texts;
    for (std::int32_t i = 0; i < doc.GetEventCount(); ++i) {
        CDatasetEvent event;
        EXPECT_TRUE(doc.GetEvent(i, event));
        texts.push_back(event.m_text);
    }
    return texts;
}

TEST_F(EventLogTest, UserEventsArePlacedInTimeOrder) {
    for (double time : {100.0, 200.0, 300.0}) {
        CDatasetEvent event(CDatasetEvent::Start, 0, time, "at " + std::to_string(int(time)));
        doc->AddEvent(event);
    }
    const struct {
        double time;
        const char* text;
    } users[] = {{50.0, "before"}, {250.0, "between"}, {200.0, "same"}, {900.0, "after"}};
    for (const auto& u : users) {
        CDatasetEvent event(CDatasetEvent::User, 0, u.time, u.text);
        doc->AddEvent(event);
    }
    EXPECT_EQ(StoredTexts(*doc), (std::vector<std::string>{"before", "at 100", "at 200", "same",
                                                           "between", "at 300", "after"}));
    // Other kinds go to the end whatever their time.
    CDatasetEvent late(CDatasetEvent::InstrumentError, 0, 10.0, "error");
    doc->AddEvent(late);
    EXPECT_EQ(StoredTexts(*doc).back(), "error");
}

TEST_P(EventLogCapTest, TheCapComesFromTheIniFile) {
    const int cap = GetParam().second;
    AddEvents(cap > 0 ? cap - 1 : 5);
    EXPECT_FALSE(doc->IsEventLogFull());
    if (cap > 0) {
        AddEvents(1);
        EXPECT_TRUE(doc->IsEventLogFull());
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, EventLogCapTest,
                         ::testing::Values(std::pair<const char*, int>{nullptr, 0},
                                           std::pair<const char*, int>{"500", 500},
                                           std::pair<const char*, int>{"7", 7},
                                           std::pair<const char*, int>{"0", 0},
                                           std::pair<const char*, int>{"x", 0},
                                           std::pair<const char*, int>{"-1", 0}));

TEST_F(EventLogOfThreeTest, TheCapIsReportedOnceUntilTheLogShrinks) {
    AddEvents(3);
    doc->LogEvent();
    EXPECT_EQ(app.frame.panes[3], "Events 3+");
    EXPECT_EQ(prompter.beeps.size(), 1u);
    EXPECT_EQ(doc->GetEventCount(), 4);
    EXPECT_EQ(StoredTexts(*doc).back(), "Too many alarms to log...");
    doc->LogEvent();
    EXPECT_EQ(doc->GetEventCount(), 4);
    EXPECT_EQ(prompter.beeps.size(), 1u);

    doc->DeleteEvent(3);
    doc->DeleteEvent(2);
    doc->LogEvent();
    EXPECT_EQ(app.frame.panes[3], "Events 2");
    EXPECT_FALSE(CLoggerDoc::s_eventLogFullReported);
}

TEST_F(EventLogOfOneTest, JournalEventsStopAtTheCap) {
    CFXSetup* row = doc->FindSetupRow(101);
    row->Alarms = "High Only";
    row->AlarmActions = "4;;;;;";
    doc->OnStartScan();
    instrument.batches.push_back({Reading(1, 101, 9.0, ReadingAlarmHigh),
                                  Reading(2, 101, 9.0, ReadingAlarmHigh),
                                  Reading(3, 101, 9.0, ReadingAlarmHigh)});
    Poll();
    EXPECT_EQ(StoredTexts(*doc),
              (std::vector<std::string>{"Scan = 1 , Value = 9", "Too many alarms to log..."}));
}

TEST_F(EventLogTest, TypeTextsAndCells) {
    EXPECT_EQ(CLoggerDoc::GetEventTypeText(CDatasetEvent::OutputOperation), "Output Operation");
    EXPECT_EQ(CLoggerDoc::GetEventTypeText(0), "");
    std::int32_t type = 0;
    CLoggerDoc::GetEventTypeFromText("user", type);
    EXPECT_EQ(type, -1);
    CLoggerDoc::GetEventTypeFromText("Upload", type);
    EXPECT_EQ(type, 512);

    CDatasetEvent event(0, 7, 0.0, "note");
    doc->AddEvent(event);
    std::string text;
    EXPECT_TRUE(doc->GetEventCellText(0, 0, text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(doc->GetEventCellText(0, 1, text));
    EXPECT_EQ(text, "7");
    EXPECT_TRUE(doc->GetEventCellText(0, 3, text));
    EXPECT_EQ(text, "note");
    EXPECT_FALSE(doc->GetEventCellText(0, 4, text));
    EXPECT_FALSE(doc->GetEventCellText(5, 0, text));

    view.updates.clear();
    EXPECT_TRUE(doc->DeleteEvent(0));
    ASSERT_EQ(view.Hints(), std::vector<long>{HINT_EVENTS_CHANGED});
}

// Records what the dialog was given and answers as told.
class FakeEventDialog final : public IEventEditDialog {
public:
    bool ok = true;
    std::int32_t chosenChannel = 102;
    std::vector<CEventEditFields> shown;
    bool Run(CLoggerDoc&, CEventEditFields& fields) override {
        shown.push_back(fields);
        fields.channel = chosenChannel;
        fields.description = "note";
        return ok;
    }
};

TEST_F(EventLogTest, AddEventPreparesTheDialogAndBroadcastsTheNote) {
    FakeEventDialog dialog;
    services.eventEditDialog = &dialog;
    Wire();
    std::vector<CDatasetEvent> added;
    view.onUpdate = [&](long hint, const HintObject& object) {
        if (hint == HINT_READING && object.Is<CDatasetEvent>())
            added.push_back(*object.As<CDatasetEvent>());
    };

    // Before any reading: the times count down from -1, one per event.
    doc->AddUserEvent();
    ASSERT_EQ(dialog.shown.size(), 1u);
    const CEventEditFields& f = dialog.shown[0];
    EXPECT_TRUE(f.addMode);
    EXPECT_EQ(f.type, 4u);
    EXPECT_EQ(f.typeText, "User");
    EXPECT_EQ(f.channel, 0);
    EXPECT_EQ(f.description, doc->FormatNow());
    EXPECT_EQ(f.time, -1.0);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].m_type, 4u);
    EXPECT_EQ(added[0].m_channel, 102);
    EXPECT_EQ(added[0].m_text, "note");
    EXPECT_EQ(added[0].m_time, -1.0);
    doc->AddUserEvent();
    EXPECT_EQ(dialog.shown.back().time, -2.0);

    // Cancel: nothing is told.
    dialog.ok = false;
    doc->AddUserEvent();
    EXPECT_EQ(added.size(), 2u);

    // After a run with readings the note goes to the run's start.
    dialog.ok = true;
    ReadingRecord reading = Reading(1, 101, 1.0);
    ASSERT_TRUE(doc->GetDataset()->AppendReadings(&reading, 1));
    doc->GetDataset()->SetFirstTick(4242.0);
    doc->GetDataset()->WriteHeader();
    doc->AddUserEvent();
    EXPECT_EQ(dialog.shown.back().time, 4242.0);
    // Other events of that time stay after the run, counting down from its end.
    EXPECT_EQ(doc->GetElapsedRunTime(), CLoggerDoc::kAfterScan);
    EXPECT_EQ(doc->GetElapsedRunTime(), CLoggerDoc::kAfterScan - 1.0);

    services.eventEditDialog = nullptr;

    Wire();
    doc->AddUserEvent(); // no dialog, no note
    EXPECT_EQ(added.size(), 3u);
}

TEST_F(EventLogTest, ShowEventInLogFindsTheFirstMatchFromTheTimeOn) {
    const struct {
        std::uint32_t type;
        std::int32_t channel;
        double time;
    } stored[] = {{CDatasetEvent::HighLimit, 101, 100.0},
                  {CDatasetEvent::LowLimit, 102, 200.0},
                  {CDatasetEvent::HighLimit, 102, 300.0}};
    for (const auto& e : stored) {
        CDatasetEvent event(e.type, e.channel, e.time, "alarm");
        doc->AddEvent(event);
    }
    std::vector<std::int32_t> shown;
    view.onUpdate = [&](long hint, const HintObject& object) {
        if (hint == HINT_SHOW_EVENT && object.Is<std::int32_t>())
            shown.push_back(*object.As<std::int32_t>());
    };
    const struct {
        std::uint32_t mask;
        std::int32_t channel;
        double time;
        std::int32_t index; // -1: not found
    } cases[] = {
        {CDatasetEvent::HighLimit | CDatasetEvent::LowLimit, -1, 0.0, 0},
        {CDatasetEvent::HighLimit | CDatasetEvent::LowLimit, -1, 150.0, 1},
        {CDatasetEvent::HighLimit, 102, 0.0, 2},
        {CDatasetEvent::User, -1, 0.0, -1},
        {CDatasetEvent::HighLimit, 101, 150.0, -1},
    };
    for (const auto& c : cases) {
        shown.clear();
        prompter.asked.clear();
        const int before = app.frame.eventLogShown;
        doc->ShowEventInLog(CDatasetEvent(c.mask, c.channel, c.time));
        EXPECT_EQ(app.frame.eventLogShown, before + 1);
        if (c.index >= 0) {
            EXPECT_EQ(shown, std::vector<std::int32_t>{c.index});
            EXPECT_TRUE(prompter.asked.empty());
        } else {
            EXPECT_TRUE(shown.empty());
            ASSERT_EQ(prompter.asked.size(), 1u);
            EXPECT_EQ(prompter.asked[0].text, "Event not found in event log");
            EXPECT_EQ(prompter.asked[0].helpId, 13199u);
        }
    }
}

} // namespace
} // namespace tvane::test
