// libFuzzer entry: ini files (scripts/fuzz profile).
#include "../ProfileFuzzBody.h"
#include "tests/support/FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvane::test::FuzzHome();
    tvane::test::ExerciseIniFile(data, size);
    return 0;
}
