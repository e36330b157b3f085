#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/CMfxFile.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

class MfxFileTest : public TempHomeTest {
protected:
    std::string Path(const char* name) const { return (home.Path() / name).string(); }
    // Stores the file into an archive followed by a marker, and returns the bytes.
    std::vector<std::uint8_t> Store(const std::string& path) {
        MemoryStream memory;
        {
            CArchive ar(memory, CArchive::store);
            CMfxFile file;
            file.SetFileName(path);
            file.Serialize(ar);
            ar << std::uint32_t{0xC0FFEE};
        }
        return memory.Bytes();
    }
    // Loads the bytes into path; the marker after them must read back.
    void Load(const std::vector<std::uint8_t>& bytes, const std::string& path) {
        MemoryStream memory(bytes);
        CArchive ar(memory, CArchive::load);
        CMfxFile file;
        file.SetFileName(path);
        file.Serialize(ar);
        file.Close();
        std::uint32_t marker = 0;
        ar >> marker;
        EXPECT_EQ(marker, 0xC0FFEEu);
    }
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard{SetPrompter, &prompter};
};

TEST_F(MfxFileTest, CarriesAWholeFileThroughAnArchive) {
    for (std::size_t size : {std::size_t{0}, std::size_t{50000}, std::size_t{120000}}) {
        SCOPED_TRACE(size);
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(i * 7 % 251);
        WriteFile(Path("chart.xrt"), content);
        const auto bytes = Store(Path("chart.xrt"));
        ASSERT_EQ(bytes.size(), 4 + size + 4);
        EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24, int(size));
        Load(bytes, Path("copy.xrt"));
        EXPECT_EQ(ReadFile(Path("copy.xrt")), content);
    }
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(MfxFileTest, OpenCloseAndFailures) {
    CMfxFile unnamed;
    EXPECT_EQ(unnamed.Open(CMfxFile::modeRead), FileException::fileNotFound);
    EXPECT_FALSE(unnamed.IsOpen());
    EXPECT_THROW(CMfxFile(Path("missing"), CMfxFile::modeRead), FileException);
    EXPECT_EQ(unnamed.WriteBlock("x", 1), 0); // not open: nothing written

    // A file that cannot be written back still lets the archive read on.
    WriteFile(Path("chart.xrt"), "state");
    Load(Store(Path("chart.xrt")), Path("no/such/folder/copy.xrt"));

    // Out of memory: the message, and an empty file in the archive.
    CMfxFile::s_allocate = [](std::size_t) -> void* { return nullptr; };
    const auto bytes = Store(Path("chart.xrt"));
    CMfxFile::s_allocate = [](std::size_t size) { return std::calloc(size, 1); };
    EXPECT_EQ(bytes.size(), 8u);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, CMfxFile::kLowMemory);
    EXPECT_EQ(prompter.asked[0].helpId, CMfxFile::kLowMemoryHelp);
}

} // namespace
} // namespace tvane::test
