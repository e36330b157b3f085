#include "tests/database/DatasetFuzzBody.h"
#include "tests/database/DatasetTestSupport.h"
#include "tests/support/FuzzCorpus.h"

using namespace dataset_test;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(TVANE_TEST_DATA) / "fuzz-dataset";

TEST(DatasetFuzzCorpus, EverySeedAndEveryFaultFoundRunsCleanly) {
    tvane::test::TempHome home;
    EXPECT_GE(tvane::test::RunFuzzCorpus(kCorpus, tvane::test::ExerciseDatasetFile), 3);
}

class DatasetFuzzSeeds : public DatasetFileTest {
protected:
    void Save(const std::string& name) {
        store.Close();
        std::filesystem::copy_file(path, kCorpus / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
};

// Writes the seed files again (run with --gtest_also_run_disabled_tests).
TEST_F(DatasetFuzzSeeds, DISABLED_WriteSeeds) {
    {
        CDataset run;
        CreateDataset(run, "Z6140710.063", 3);
        Append(run, MakeScans(20, 3));
        CDatasetEvent start(CDatasetEvent::Start, -1, 0.0, "Start");
        CDatasetEvent note(CDatasetEvent::User, -1, 1500.0, "note");
        CDatasetEvent alarm(CDatasetEvent::HighLimit, 102, 2000.0, "High");
        CDatasetEvent stop(CDatasetEvent::Stop, -1, 19000.0, "Stop");
        CDatasetEvent download(CDatasetEvent::Download, -1, -1.0, "Download");
        for (CDatasetEvent* e : {&start, &note, &alarm, &stop, &download})
            run.AppendEvent(*e);
        run.WriteHeader();
        CDataset small;
        CreateDataset(small, "Z6140810.063", 1, 52);
        Append(small, MakeScans(5, 1));
    }
    Save("two-runs.dat");

    store.Create(path, kCreateMode, true);
    Save("no-datasets.dat");

    store.Create(path, kCreateMode, true);
    {
        CDataset run;
        CreateDataset(run, "Z1", 2);
        auto records = MakeScans(6, 2);
        const double times[] = {0, 1, 2, 3, 1e300, 5};
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i].Time = times[i / 2];
        Append(run, records);
        run.WriteHeader();
    }
    Save("fault-reading-time-1e300.dat");
}

} // namespace
