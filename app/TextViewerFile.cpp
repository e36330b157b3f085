#include "app/TextViewerFile.h"

#include <cstdio>
#include <filesystem>

std::string ReadViewerText(const std::string& path) {
    constexpr std::size_t kBlock = 1000;
    constexpr std::size_t kLimit = 32000;
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        return "File not found";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return "File not found";
    std::string text;
    char block[kBlock];
    while (text.size() < kLimit) {
        const std::size_t got = std::fread(block, 1, kBlock, file);
        text.append(block, got);
        if (got < kBlock)
            break;
    }
    std::fclose(file);
    return text;
}
