#include "tests/support/FuzzCorpus.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempHome.h"

namespace tvane::test {

int RunFuzzCorpus(const std::filesystem::path& folder,
                  const std::function<void(const std::uint8_t*, std::size_t)>& body) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = ReadFile(file);
        body(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    return static_cast<int>(files.size());
}

} // namespace tvane::test
