// libFuzzer entry: setup export files through the import (scripts/fuzz zipimport).
#include <fstream>

#include "../ZipImportFuzzBody.h"
#include "tests/database/SystemDriverSection.h"
#include "tests/support/FuzzHome.h"

namespace {

// The workspace's ODBC driver, registered in the private home as the system has it.
void RegisterDriver() {
    std::ofstream(tvane::test::FuzzHome() / "odbcinst.ini") << tvane::test::SystemDriverSection();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (RegisterDriver(), true);
    (void)registered;
    tvane::test::ExerciseZipImport(data, size);
    return 0;
}
