// libFuzzer entry: setup export files through the import (scripts/fuzz zipimport).
#include <fstream>
#include <string>

#include "../ZipImportFuzzBody.h"
#include "tests/support/FuzzHome.h"

namespace {

// The workspace's ODBC driver, registered in the private home as the system has it.
void RegisterDriver() {
    std::ifstream in("/etc/odbcinst.ini");
    std::string line, section;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[')
            inside = line.rfind("[SQLite3]", 0) == 0;
        if (inside)
            section += line + "\n";
    }
    std::ofstream(tvane::test::FuzzHome() / "odbcinst.ini") << section;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (RegisterDriver(), true);
    (void)registered;
    tvane::test::ExerciseZipImport(data, size);
    return 0;
}
