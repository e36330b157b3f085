#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace tvane::test {

// Runs a fuzzing harness's body over every file of its corpus folder (the seeds
// and every input that ever found a fault), as the regular tests do; returns the
// number of files. A file the body crashes on names itself in the test's output.
int RunFuzzCorpus(const std::filesystem::path& folder,
                  const std::function<void(const std::uint8_t*, std::size_t)>& body);

// Where two byte strings a harness expects to be the same part: the index of
// the first byte that differs, or the shorter one's size.
inline std::size_t FirstDifference(const std::vector<std::uint8_t>& a,
                                   const std::vector<std::uint8_t>& b) {
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first -
                                    a.begin());
}

} // namespace tvane::test
