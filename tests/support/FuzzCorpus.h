#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>

namespace tvane::test {

// Runs a fuzzing harness's body over every file of its corpus folder (the seeds
// and every input that ever found a fault), as the regular tests do; returns the
// number of files. A file the body crashes on names itself in the test's output.
int RunFuzzCorpus(const std::filesystem::path& folder,
                  const std::function<void(const std::uint8_t*, std::size_t)>& body);

} // namespace tvane::test
