#include <gtest/gtest.h>

#include "ProfileFuzzBody.h"
#include "tests/support/FuzzCorpus.h"
#include "tests/support/TempHome.h"

namespace tvane::test {

TEST(ProfileFuzzCorpus, EverySeedAndEveryFaultFoundReadsAndWritesCleanly) {
    TempHome home;
    EXPECT_GE(RunFuzzCorpus(std::filesystem::path(TVANE_TEST_DATA) / "fuzz", ExerciseIniFile), 4);
}

} // namespace tvane::test
