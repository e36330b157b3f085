#include <cstring>

#include "DriverFixture.h"

namespace tvane::driver::test {
namespace {

class ReadingBlock : public DriverTest {
protected:
    // One poll: request, then parse what the instrument answers.
    bool Poll(const std::string& answer, std::int32_t capacity = 100) {
        link.Queue(answer);
        EXPECT_TRUE(drv->InitMeasurement(capacity));
        count = -1;
        return drv->GetReadings(records, capacity, &count);
    }
    std::string Error() {
        std::string text;
        std::int32_t code = 0;
        link.commError = 0;
        drv->GetLastError(text, code);
        return std::to_string(code) + " " + text;
    }
    int ErrorCode() { return std::stoi(Error()); }

    ReadingRecord records[300];
    std::int32_t count = -1;
};

TEST_F(ReadingBlock, ThreeReadingsBecomeExactRecords) {
    std::string block =
        tvane::test::ReadFile(std::string(TVANE_TEST_DATA) + "/reading_block_three_readings.bin");
    ASSERT_EQ(block.substr(0, 5), "#3104");
    ASSERT_TRUE(Poll(block));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(link.Sent(), std::vector<std::string>{"R? 100"});

    struct Expect {
        int scan, channel, alarm;
        double time, value;
    } expected[] = {
        {1, 101, 0, 1250.0, 1.5}, {1, 102, 2, 1500.0, -2.25e-3}, {1, 103, 1, 1500.0, 9.9e37}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(+records[i].ScanNumber, expected[i].scan);
        EXPECT_EQ(+records[i].Channel, expected[i].channel);
        EXPECT_EQ(+records[i].AlarmState, expected[i].alarm);
        EXPECT_DOUBLE_EQ(+records[i].Time, expected[i].time);
        EXPECT_DOUBLE_EQ(+records[i].Value, expected[i].value);
    }
    EXPECT_EQ(Error(), "0 No Error");
}

TEST_F(ReadingBlock, ScanNumbersFollowTheChannelSequenceAcrossPolls) {
    std::string first, second;
    const int channels[] = {101, 102, 103, 101, 102, 103};
    for (int i = 0; i < 6; ++i)
        (i < 4 ? first : second) += (i % 4 ? "," : "") + Reading(i, 1 + i, channels[i], 0);
    std::vector<int> scans;
    ASSERT_TRUE(Poll(Block(first)));
    ASSERT_EQ(count, 4);
    for (int i = 0; i < count; ++i)
        scans.push_back(+records[i].ScanNumber);
    ASSERT_TRUE(Poll(Block(second)));
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; ++i)
        scans.push_back(+records[i].ScanNumber);
    EXPECT_EQ(scans, (std::vector<int>{1, 1, 1, 2, 2, 2}));

    // A single channel repeated numbers one scan per reading.
    drv->InitInstrument();
    ASSERT_TRUE(Poll(
        Block(Reading(1, 1, 101, 0) + "," + Reading(2, 2, 101, 0) + "," + Reading(3, 3, 101, 0))));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(+records[0].ScanNumber, 1);
    EXPECT_EQ(+records[1].ScanNumber, 2);
    EXPECT_EQ(+records[2].ScanNumber, 3);
}

TEST_F(ReadingBlock, WithoutARequestNothingIsRead) {
    link.Queue(Block(Reading(1, 1, 101, 0)));
    EXPECT_TRUE(drv->GetReadings(records, 100, &count));
    EXPECT_EQ(count, 0);
    ASSERT_TRUE(Poll(Block(Reading(1, 1, 101, 0))));
    EXPECT_EQ(count, 1);
    // The answer is consumed: a second call without a new request reads nothing.
    EXPECT_TRUE(drv->GetReadings(records, 100, &count));
    EXPECT_EQ(count, 0);
}

TEST_F(ReadingBlock, RejectedReadingsAndBrokenBlocks) {
    const std::string r1 = Reading(1, 1, 101, 0), r2 = Reading(2, 2, 102, 0);
    struct Case {
        const char* name;
        std::string answer;
        bool result;
        int stored;
        int error;
    } cases[] = {
        {"time runs backwards", Block(r2 + "," + r1 + "," + Reading(3, 3, 103, 0)), false, 2, 1036},
        {"time zero", Block(Reading(1, 0, 101, 0) + "," + r2), false, 1, 1036},
        {"channel below 101", Block(r1 + "," + Reading(2, 2, 99, 0)), false, 1, 1037},
        {"channel above 340", Block(r1 + "," + Reading(2, 2, 341, 0)), false, 1, 1037},
        {"alarm digit 3", Block(r1 + "," + Reading(2, 2, 102, 3)), false, 1, 1038},
        {"no hash", "X3104" + r1, false, 0, 1032},
        {"header longer than the text", "#3104" + r1 + "," + r2, false, 0, 1040},
        {"residual bytes", Block(r1 + "," + r2 + ",12"), false, 2, 777},
        {"four bytes", "#10x", true, 0, 0},
        {"empty block", "#10", true, 0, 0},
        {"digit count past the data", "#9123", true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drv->InitInstrument();
        EXPECT_EQ(Poll(c.answer), c.result);
        EXPECT_EQ(count, c.stored);
        EXPECT_EQ(ErrorCode(), c.error);
    }
}

TEST_F(ReadingBlock, ErrorTextsOfRejectedBlocks) {
    Poll("X3104");
    EXPECT_EQ(Error(), "1032 Invalid header in detected.  Definite block missing '#' character.");
    Poll(Block(Reading(1, 0, 101, 0)));
    EXPECT_EQ(Error(), "1036 !!!! *** Invalid timestamp detected in data stream.");
    // A block cut short is logged and named by its length mismatch.
    Poll("#3104" + Reading(1, 1, 101, 0) + "," + Reading(1, 2, 102, 0));
    EXPECT_EQ(Error(), "1040 Byte count mismatch occurred in GetReadings function. Expected "
                       "number of bytes from block header: 104. Actual number of bytes in recv "
                       "buffer: 69");
    std::string log = tvane::test::ReadFile(home.Data() / "qt7100.log");
    EXPECT_NE(log.find("!!!! *** Byte count mismatch occurred in GetReadings function.\nExpected "
                       "number of bytes from block header: 104\nActual number of bytes in recv "
                       "buffer: 69\n"),
              std::string::npos);
}

// A glitch that cuts a block short leaves no readings and no step in the scan
// numbering, in the poll and in the fetch after the run.
TEST_F(ReadingBlock, ABlockCutShortIsDiscardedWhole) {
    const std::string scan1 = Reading(1, 1000, 101, 0) + "," + Reading(2, 1000, 102, 0);
    const std::string scan2 = Reading(3, 2000, 101, 0) + "," + Reading(4, 2000, 102, 0);
    ASSERT_TRUE(Poll(Block(scan1)));
    ASSERT_EQ(count, 2);
    // The header promises both scans; only the first reading of the second came.
    const std::string whole = Block(scan2 + "," + scan2);
    EXPECT_FALSE(Poll(whole.substr(0, whole.size() - 70)));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ErrorCode(), 1040);
    ASSERT_TRUE(Poll(Block(scan2)));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(+records[0].ScanNumber, 2);
    EXPECT_EQ(+records[1].ScanNumber, 2);

    const std::string scan3 = Reading(5, 3000, 101, 0) + "," + Reading(6, 3000, 102, 0);
    link.On("R? 4", Block(scan3).substr(0, 40));
    EXPECT_FALSE(drv->FetchReadings(records, 4, &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ErrorCode(), 1040);
    link.On("R? 4", Block(scan3));
    EXPECT_TRUE(drv->FetchReadings(records, 4, &count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(+records[0].ScanNumber, 3);
}

TEST_F(ReadingBlock, ShortFailedReceiveIsError1039) {
    link.receiveResult = false;
    EXPECT_FALSE(Poll("#215" + std::string(15, '1')));
    EXPECT_EQ(Error(), "1039 Not enough bytes in data buffer to create a reading.");
}

TEST_F(ReadingBlock, ANoAnswerIsAFailureWithTheControlsError) {
    // The instrument never answers the request: the control's time-out, which
    // reading it clears there, is what the driver reports.
    EXPECT_TRUE(drv->InitMeasurement(10));
    EXPECT_FALSE(drv->GetReadings(records, 10, &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(Error(), "1052 time-out");
    // A failed receive the control has no error for is the driver's own.
    link.Queue("");
    link.receiveResult = false;
    EXPECT_FALSE(Poll(""));
    EXPECT_EQ(ErrorCode(), 1039);
    // An empty block answered in time is no readings, and no error.
    link.receiveResult = true;
    EXPECT_TRUE(Poll("#10"));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(Error(), "0 No Error");
}

TEST_F(ReadingBlock, AnAnswerLongerThanTheBufferIsClearedFromTheInstrument) {
    std::string text;
    for (int n = 0; text.size() < 10000; ++n)
        text += (n ? "," : "") + Reading(n, 1 + n, 101 + n % 3, 0);
    link.On("SYST:ERR?", "+0,\"No error\"");
    std::int16_t code = -1;
    bool has = false;

    EXPECT_FALSE(Poll(Block(text), 300));
    EXPECT_EQ(link.clears, 1);
    // The next answer is the next command's, not the block's tail.
    EXPECT_EQ(drv->GetInstrumentError(&code, &has), "No error");
    EXPECT_EQ(code, 0);

    link.On("R? 231", Block(text));
    drv->FetchReadings(records, 231, &count);
    EXPECT_EQ(link.clears, 2);
    EXPECT_EQ(drv->GetInstrumentError(&code, &has), "No error");

    // A block that fits is left alone.
    EXPECT_TRUE(Poll(Block(Reading(1, 1, 101, 0))));
    EXPECT_EQ(link.clears, 2);
}

TEST_F(ReadingBlock, NeverWritesPastTheCallersBuffer) {
    std::string text;
    for (int i = 0; i < 5; ++i)
        text += (i ? "," : "") + Reading(i, 1 + i, 101 + i, 0);
    std::memset(static_cast<void*>(records), 0x5A, sizeof records);
    EXPECT_FALSE(Poll(Block(text), 3));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(+records[3].ScanNumber, 0x5A5A5A5A); // untouched
    EXPECT_EQ(ErrorCode(), 776);
}

TEST_F(ReadingBlock, AFullBufferWithoutTerminatorStaysInBounds) {
    // 8400 bytes of readings, no room for the transport's zero byte.
    std::string text;
    int n = 0;
    while (text.size() + 35 + 6 <= 8400)
        text += (n ? "," : "") + Reading(n, 1 + n, 101 + n % 3, 0), ++n;
    std::string block = Block(text);
    block += std::string(8400 - block.size(), '9');
    ASSERT_EQ(block.size(), 8400u);
    Poll(block, 300);
    EXPECT_LE(count, n);
    EXPECT_GE(count, 1);
}

TEST_F(ReadingBlock, FetchReadingsCollectsStoredReadings) {
    link.On("R? 2", Block(Reading(1, 1, 101, 0) + "," + Reading(2, 1, 102, 0)));
    EXPECT_TRUE(drv->FetchReadings(records, 2, &count));
    EXPECT_EQ(count, 2);
    link.On("R? 231", "#10");
    EXPECT_TRUE(drv->FetchReadings(records, 500, &count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(link.Sent(), (std::vector<std::string>{"R? 2", "R? 231"}));
}

TEST_F(ReadingBlock, FormatChangesTheReadingLayout) {
    ASSERT_TRUE(drv->SetReadingFormat(false, true, false, false, true));
    EXPECT_EQ(link.Sent(),
              (std::vector<std::string>{"FORM:READ:ALAR 0", "FORM:READ:CHAN 1", "FORM:READ:TIME 0",
                                        "FORM:READ:TIME:TYPE ABS", "FORM:READ:UNIT 1"}));
    EXPECT_EQ(drv->Format().ReadingLength(), 15 + 3 + 3 + 3);
    ASSERT_TRUE(Poll(Block(Format("%+15.8E,VDC,101", 4.5) + "," + Format("%+15.8E,OHM,102", 7.0))));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::string(records[1].Unit, 3), "OHM");
    EXPECT_EQ(+records[1].Time, 0.0);
    EXPECT_EQ(+records[1].AlarmState, 0);

    // A failed command keeps the old format.
    link.failSend.insert("FORM:READ:CHAN 0");
    EXPECT_FALSE(drv->SetReadingFormat(true, false, true, true, false));
    EXPECT_EQ(drv->Format().ReadingLength(), 24);
}

} // namespace
} // namespace tvane::driver::test
