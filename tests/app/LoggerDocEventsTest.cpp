#include <gtest/gtest.h>

#include "database/CDatasetEvent.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

using EventLogTest = ScanEngineTest;

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

TEST_F(EventLogTest, TheCapIsReportedOnceUntilTheLogShrinks) {
    doc->m_eventLogLimit = 3;
    for (int i = 0; i < 3; ++i) {
        CDatasetEvent event(CDatasetEvent::Stop, 0, i, "e");
        doc->AddEvent(event);
    }
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

TEST_F(EventLogTest, JournalEventsStopAtTheCap) {
    doc->m_eventLogLimit = 1;
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

} // namespace
} // namespace tvane::test
