#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/CLoggerDoc.h"
#include "platform/archive/MemoryStream.h"
#include "scan/CFXSetup.h"
#include "tests/app/DocumentLoadFuzzBody.h"
#include "tests/app/LoggerDocFixture.h"
#include "tests/support/FuzzCorpus.h"

namespace tvane::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(TVANE_TEST_DATA) / "fuzz-document";

TEST(DocumentLoadFuzzCorpus, EverySeedAndEveryFaultFoundLoadsOrFailsCleanly) {
    TempHome home;
    EXPECT_GE(RunFuzzCorpus(kCorpus, ExerciseDocumentLoad), 3);
}

class DocumentLoadFuzzSeeds : public LoggerDocTest {
protected:
    void Save(CLoggerDoc& d, const std::string& name) {
        MemoryStream memory;
        {
            CArchive ar(memory, CArchive::store);
            d.Serialize(ar);
        }
        WriteFile(kCorpus / name, std::string(memory.Bytes().begin(), memory.Bytes().end()));
    }
};

// Writes the seed archives again (run with --gtest_also_run_disabled_tests).
TEST_F(DocumentLoadFuzzSeeds, DISABLED_WriteSeeds) {
    app.withFrame = false;
    CLoggerDoc& d = MakeDocument();
    Save(d, "new-document.arc");

    FillSampleDocument(d);
    Save(d, "sample.arc");
    for (std::int32_t i = 0; i < d.GetSetup()->GetSize(); ++i) {
        CFXSetup* row = d.GetSetup()->GetSetup(i);
        row->Alarms = "High/Low";
        row->AlarmHi = "5.5";
        row->AlarmLo = "-1";
        row->AlarmActions = "5;@102;@103;10X1;@301";
    }
    Save(d, "sample-with-alarms.arc");

    // Two pages: two strip charts and a text display, then a strip chart.
    const auto pages = DocumentWithPages([this](CLoggerDoc& doc) { FillSampleDocument(doc); },
                                         {{700, 700, 32817}, {700}});
    WriteFile(kCorpus / "two-pages.arc", std::string(pages.begin(), pages.end()));
    // 3000 empty pages, more than the main window holds: refused at once.
    const auto many = DocumentWithPages([this](CLoggerDoc& doc) { FillSampleDocument(doc); },
                                        std::vector<std::vector<unsigned>>(3000));
    WriteFile(kCorpus / "pages-3000.arc", std::string(many.begin(), many.end()));
}

} // namespace
} // namespace tvane::test
