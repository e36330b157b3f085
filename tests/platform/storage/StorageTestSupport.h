#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/storage/Storage.h"

namespace tvane::test {

inline constexpr StorageMode kRw = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
inline constexpr StorageMode kRo = STGM_READ | STGM_SHARE_EXCLUSIVE;

// Recognisable contents: byte i of a stream made with seed s.
inline std::vector<std::uint8_t> Pattern(std::size_t size, unsigned seed) {
    std::vector<std::uint8_t> v(size);
    for (std::size_t i = 0; i < size; ++i) {
        v[i] = static_cast<std::uint8_t>((i * 7 + seed) % 251);
    }
    return v;
}

inline std::uint32_t Fnv(const std::vector<std::uint8_t>& data) {
    std::uint32_t h = 0x811C9DC5;
    for (std::uint8_t b : data) {
        h = (h ^ b) * 0x01000193;
    }
    return h;
}

inline std::vector<std::uint8_t> ReadAll(Stream& s) {
    std::vector<std::uint8_t> v(static_cast<std::size_t>(s.Size()));
    s.Seek(0, STREAM_SEEK_SET);
    EXPECT_EQ(s.Read(v.data(), v.size()), v.size());
    return v;
}

inline void WriteAll(Stream& s, const std::vector<std::uint8_t>& data) {
    s.Write(data.data(), data.size());
}
inline void WriteAll(Stream&& s, const std::vector<std::uint8_t>& data) {
    s.Write(data.data(), data.size());
}

// Output of a command, and its exit status.
inline std::pair<std::string, int> RunCommand(const std::string& command) {
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) {
        return {"", -1};
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) {
        out.append(buffer, n);
    }
    int status = ::pclose(p);
    return {out, status};
}

// Lists a file with Debian's olefile (see data/olecheck.py).
inline std::string OleCheck(const std::filesystem::path& file) {
    auto [out, status] =
        RunCommand("/usr/bin/python3 " TVANE_TEST_DATA "/olecheck.py '" + file.string() + "'");
    EXPECT_EQ(status, 0) << out;
    return out;
}

inline std::string StreamLine(const std::string& path, const std::vector<std::uint8_t>& data) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, " %zu %08x", data.size(), Fnv(data));
    return "S " + path + buffer;
}

} // namespace tvane::test
