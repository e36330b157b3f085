#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/database/DatasetTestSupport.h"

using namespace dataset_test;

namespace {

constexpr int kChannels = 3;
constexpr int kScansPerRound = 250; // 750 records: more than one buffer's worth
constexpr int kFlushedRounds = 4;

std::vector<ReadingRecord> Round(int round) {
    return MakeScans(kScansPerRound, kChannels, 1 + round * kScansPerRound,
                     round * kScansPerRound * 1000.0);
}

// The child: appends rounds of readings and one event per round, flushes after
// each, and reports each flush on the pipe ('f'). After the last flush it keeps
// writing without a flush until it is killed, and reports ('u') when one whole
// round has gone into the file unflushed.
[[noreturn]] void RunChild(const std::string& path, int report) {
    try {
        CDatasetStore store;
        store.Create(path, kCreateMode, true);
        CDataset dataset;
        dataset.Create(tvane::CTime(1'700'000'000), kChannels, &store, "Z1", 16384);
        dataset.WriteHeader();
        for (int round = 0;; ++round) {
            const auto batch = Round(round);
            for (std::size_t at = 0; at < batch.size(); at += 100) {
                const auto n =
                    static_cast<std::int16_t>(std::min<std::size_t>(100, batch.size() - at));
                dataset.AppendReadings(batch.data() + at, n);
            }
            CDatasetEvent ev(CDatasetEvent::User, -1, round * 10.0,
                             "round " + std::to_string(round));
            dataset.AppendEvent(ev);
            char done = 0;
            if (round < kFlushedRounds) {
                dataset.FlushReadings();
                done = 'f';
            } else if (round == kFlushedRounds) {
                done = 'u';
            }
            if (done && write(report, &done, 1) != 1)
                _exit(2);
        }
    } catch (...) {
        _exit(3);
    }
}

// Runs the child, kills it right after its last flush or after it has written
// a round more without a flush, and checks what the file holds.
void KillAndCheck(const std::string& path, bool afterUnflushedRound) {
    SCOPED_TRACE(afterUnflushedRound ? "killed after unflushed writes" : "killed after a flush");
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        RunChild(path, pipeFds[1]);
    }
    close(pipeFds[1]);
    int flushes = 0;
    char c;
    while (flushes < kFlushedRounds && read(pipeFds[0], &c, 1) == 1)
        ++flushes;
    const bool wroteUnflushed = afterUnflushedRound && read(pipeFds[0], &c, 1) == 1;
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(pipeFds[0]);
    ASSERT_EQ(flushes, kFlushedRounds) << "the child stopped early, status " << status;
    ASSERT_EQ(wroteUnflushed, afterUnflushedRound);
    ASSERT_TRUE(WIFSIGNALED(status));

    CDatasetStore store;
    ASSERT_TRUE(store.Open(path, kOpenMode));
    CDataset dataset;
    ASSERT_TRUE(dataset.Open(&store, "Z1"));
    const std::int32_t flushed = kFlushedRounds * kScansPerRound * kChannels;
    // Nothing written after the last flush was committed, so nothing of it shows.
    ASSERT_EQ(dataset.GetReadingCount(), flushed);
    std::vector<ReadingRecord> back(kScansPerRound * kChannels);
    for (int round = 0; round < kFlushedRounds; ++round) {
        const auto expected = Round(round);
        ASSERT_EQ(dataset.ReadReadings(back.data(), static_cast<std::int16_t>(back.size()),
                                       round * static_cast<std::int32_t>(back.size())),
                  static_cast<std::int16_t>(back.size()));
        for (std::size_t i = 0; i < back.size(); ++i)
            ASSERT_TRUE(SameRecord(back[i], expected[i])) << "round " << round << " record " << i;
    }
    ASSERT_EQ(dataset.GetEventCount(), kFlushedRounds);
    // The header was last written before the first event: the event times are
    // taken from the events themselves.
    EXPECT_EQ(dataset.GetFirstEventTime(), 10.0);
    EXPECT_EQ(dataset.GetLastEventTime(), (kFlushedRounds - 1) * 10.0);
    for (int round = 0; round < kFlushedRounds; ++round) {
        CDatasetEvent ev;
        ASSERT_TRUE(dataset.GetEvent(round, ev));
        EXPECT_EQ(ev.m_time, round * 10.0);
        EXPECT_EQ(ev.m_text, "round " + std::to_string(round));
    }
    EXPECT_EQ(dataset.GetUserEventCount(), kFlushedRounds);
    // The directory lists the run with its counts once the dataset has been opened.
    dataset.Close();
    DatasetDirEntry entry;
    ASSERT_TRUE(store.FindDataset("Z1", &entry));
    EXPECT_EQ(+entry.ScanCount, kFlushedRounds * kScansPerRound);
    EXPECT_EQ(+entry.EventCount, kFlushedRounds);
}

class DatasetCrashTest : public tvane::test::TempHomeTest {};

TEST_F(DatasetCrashTest, AProcessKilledAfterAFlushLeavesEveryFlushedReadingAndEvent) {
    std::filesystem::create_directories(home.Data());
    KillAndCheck((home.Data() / "Yflushed").string(), false);
    KillAndCheck((home.Data() / "Yunflushed").string(), true);
}

} // namespace
