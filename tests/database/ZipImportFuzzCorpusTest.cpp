#include <gtest/gtest.h>

#include <filesystem>

#include "tests/database/OdbcTestSupport.h"
#include "tests/database/ZipImportFuzzBody.h"
#include "tests/support/FuzzCorpus.h"

namespace tvane::test {
namespace {

class ZipImportFuzzCorpus : public OdbcTest {};

TEST_F(ZipImportFuzzCorpus, EverySeedAndEveryFaultFoundImportsOrFailsCleanly) {
    EXPECT_GE(
        RunFuzzCorpus(std::filesystem::path(TVANE_TEST_DATA) / "fuzz-zipimport", ExerciseZipImport),
        3);
}

} // namespace
} // namespace tvane::test
