// libFuzzer entry: a setup file's document archive (scripts/fuzz document).
#include "../DocumentLoadFuzzBody.h"
#include "tests/support/FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvane::test::FuzzHome();
    tvane::test::ExerciseDocumentLoad(data, size);
    return 0;
}
