#include "driver/ModuleTable.h"

namespace tvane::driver {

namespace {
constexpr ModuleInfo kModules[] = {
    {"QT7101", 0, "KXQT7101", 22}, {"QT7102", 1, "KXQT7102", 16}, {"QT7103", 2, "KXQT7103", 20},
    {"QT7104", 3, "KXQT7104", 32}, {"QT7105", 4, "KXQT7105", 8},  {"QT7106", 5, "KXQT7106", 8},
    {"QT7107", 6, "KXQT7107", 5},  {"QT7108", 7, "KXQT7108", 40},
};
constexpr ModuleInfo kNone = {"", 8, "(None)", 0};
} // namespace

std::span<const ModuleInfo> ModuleTable() {
    return kModules;
}

const ModuleInfo& ParseModuleType(const std::string& text) {
    for (const ModuleInfo& m : kModules)
        if (text.find(m.model) != std::string::npos)
            return m;
    return kNone;
}

} // namespace tvane::driver
