#include "platform/core/Folders.h"

#include <cstdlib>

namespace tvane {
namespace {

std::filesystem::path Env(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::filesystem::path(v) : std::filesystem::path();
}

std::filesystem::path Home() {
    auto home = Env("HOME");
    return home.empty() ? std::filesystem::temp_directory_path() : home;
}

std::filesystem::path Ensure(std::filesystem::path dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

} // namespace

std::filesystem::path ConfigDir() {
    if (auto home = Env("TVANE_HOME"); !home.empty())
        return Ensure(home / "config");
    auto base = Env("XDG_CONFIG_HOME");
    if (base.empty())
        base = Home() / ".config";
    return Ensure(base / "tvane");
}

std::filesystem::path DataDir() {
    if (auto home = Env("TVANE_HOME"); !home.empty())
        return Ensure(home / "data");
    auto base = Env("XDG_DATA_HOME");
    if (base.empty())
        base = Home() / ".local" / "share";
    return Ensure(base / "tvane");
}

std::filesystem::path ConfigFile(const std::string& name) {
    std::filesystem::path p(name);
    if (p.has_parent_path())
        return p;
    return ConfigDir() / p;
}

} // namespace tvane
