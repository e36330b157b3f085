#include "ProfileFuzzBody.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "platform/core/CaseInsensitive.h"
#include "platform/core/Folders.h"
#include "platform/profile/Profile.h"

namespace tvane::test {

namespace {

constexpr const char* kFile = "fuzz.ini";
constexpr const char* kSection = "Fuzz Section";
constexpr const char* kKey = "Fuzz Key";
// Enough to cover what a file holds without making one input slow.
constexpr std::size_t kMostSections = 32;
constexpr std::size_t kMostKeys = 32;

using Values = std::map<std::pair<std::string, std::string>, std::string>;

Values ReadAll() {
    Values values;
    std::size_t sections = 0;
    for (const std::string& section : GetPrivateProfileSectionNames(kFile)) {
        if (++sections > kMostSections)
            break;
        std::size_t keys = 0;
        for (const std::string& key : GetPrivateProfileKeys(section, kFile)) {
            if (++keys > kMostKeys)
                break;
            // Names compare ignoring case: the first of equal names is the one read.
            const auto name = std::make_pair(ToUpperAscii(section), ToUpperAscii(key));
            const std::string value = GetPrivateProfileString(section, key, "", kFile);
            values.emplace(name, value);
            GetPrivateProfileString(section, key, "", kFile, 5);
            GetPrivateProfileInt(section, key, -1, kFile);
        }
    }
    return values;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "ini fuzzing: %s\n", what);
        std::abort();
    }
}

} // namespace

void ExerciseIniFile(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(ConfigFile(kFile), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const Values before = ReadAll();
    const bool written = WritePrivateProfileString(kSection, kKey, std::string("written"), kFile);
    Check(written, "the write failed");
    Check(GetPrivateProfileString(kSection, kKey, "", kFile) == "written",
          "the written value does not read back");
    const Values after = ReadAll();
    for (const auto& [name, value] : before) {
        if (name == std::make_pair(ToUpperAscii(kSection), ToUpperAscii(kKey)))
            continue;
        const auto it = after.find(name);
        // A name past the read limits may have moved out of view; it is not lost.
        if (it != after.end())
            Check(it->second == value, "a write changed another value");
    }
    DeletePrivateProfileSection(kSection, kFile);
    std::remove(ConfigFile(kFile).c_str());
}

} // namespace tvane::test
