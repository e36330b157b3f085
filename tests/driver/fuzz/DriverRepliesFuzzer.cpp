// libFuzzer entry: the instrument's replies (scripts/fuzz replies).
#include "../DriverRepliesFuzzBody.h"
#include "tests/support/FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvane::test::FuzzHome();
    tvane::driver::test::ExerciseDriverReplies(data, size);
    return 0;
}
