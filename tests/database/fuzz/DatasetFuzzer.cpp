// libFuzzer entry: dataset storage files (scripts/fuzz dataset).
#include "../DatasetFuzzBody.h"
#include "tests/support/FuzzHome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvane::test::FuzzHome();
    tvane::test::ExerciseDatasetFile(data, size);
    return 0;
}
