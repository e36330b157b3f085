#pragma once
// For the libFuzzer entries only: one private home for the whole fuzzing process,
// set up before the first input and removed at exit.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tvane::test {

inline const std::filesystem::path& FuzzHome() {
    static const std::filesystem::path home = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "tvane-fuzz-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            std::abort();
        std::filesystem::path path = templ;
        std::filesystem::create_directories(path / "config");
        std::filesystem::create_directories(path / "data");
        setenv("TVANE_HOME", path.c_str(), 1);
        setenv("ODBCINI", (path / "odbc.ini").c_str(), 1);
        setenv("ODBCSYSINI", path.c_str(), 1);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(FuzzHome(), ec);
        });
        return path;
    }();
    return home;
}

} // namespace tvane::test
