// libFuzzer entry: a display on the clipboard and in the drag file (scripts/fuzz paste).
#include "../PasteFuzzBody.h"
#include "tests/support/FuzzHome.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The drag file lies in the fuzzing home's own runtime folder.
    static const bool runtime = [] {
        const auto folder = tvane::test::FuzzHome() / "run";
        std::filesystem::create_directories(folder);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        return true;
    }();
    (void)runtime;
    graphicstest::ExercisePaste(data, size);
    return 0;
}
