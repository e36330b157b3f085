// libFuzzer entry: tvane_storage_fuzzer <corpus folder>, seeded with
// tests/platform/storage/data/malformed.
#include "../StorageFuzzBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tvane::test::ExerciseStorageFile(data, size);
    return 0;
}
