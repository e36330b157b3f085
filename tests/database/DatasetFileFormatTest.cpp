#include <cstdio>
#include <cstdlib>

#include "tests/database/DatasetTestSupport.h"

using namespace dataset_test;

namespace {

class DatasetFileFormatTest : public DatasetFileTest {};

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

// An independent reader (python3-olefile) sees the storages and streams.
TEST_F(DatasetFileFormatTest, TheFileOpensInOlefile) {
    if (RunCommand("/usr/bin/python3 -c 'import olefile; print(1)' 2>/dev/null") != "1\n")
        GTEST_SKIP() << "python3-olefile is not installed";
    {
        CDataset dataset;
        CreateDataset(dataset, "Z6101010.100", 2);
        Append(dataset, MakeScans(200, 2)); // 10400 bytes: a stream of the normal sectors
        CDatasetEvent ev(CDatasetEvent::Start, -1, 0.0, "Start");
        dataset.AppendEvent(ev);
        ev = CDatasetEvent(CDatasetEvent::User, 101, 1500.25, "note");
        dataset.AppendEvent(ev);
    }
    store.Close();
    const std::string script =
        "import olefile,sys\n"
        "f=olefile.OleFileIO(sys.argv[1])\n"
        "for e in sorted(f.listdir(streams=True,storages=True)):\n"
        "    p='/'.join(e)\n"
        "    print(p, f.get_size(p) if f.get_type(p)==olefile.STGTY_STREAM else 'storage')\n";
    const std::string scriptPath = (home.Path() / "list.py").string();
    tvane::test::WriteFile(scriptPath, script);
    const std::string listing =
        RunCommand("/usr/bin/python3 " + scriptPath + " '" + path + "' 2>&1");
    EXPECT_EQ(listing, "Datasets 56\n"
                       "Z6101010.100 storage\n"
                       "Z6101010.100/Events 32\n"
                       "Z6101010.100/EventsZ6101010.100 storage\n"
                       "Z6101010.100/EventsZ6101010.100/0.0000 7\n"
                       "Z6101010.100/EventsZ6101010.100/1500.2500 6\n"
                       "Z6101010.100/Header 76\n"
                       "Z6101010.100/Readings 10400\n"
                       "Z6101010.100/UserEvents 32\n");
}

} // namespace
