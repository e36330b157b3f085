#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tvane::driver {

// One plug-in module model as the instrument names it.
struct ModuleInfo {
    const char* model;       // text searched for in a module answer
    std::int16_t type;       // module type code 0-7, 8 none
    const char* displayName; // "KX" + model
    int channels;
};

// The module models in search order; the one place that maps module answers
// to module types and names.
std::span<const ModuleInfo> ModuleTable();

// The first model found in text, or the "(None)" entry (type 8, no channels).
const ModuleInfo& ParseModuleType(const std::string& text);

} // namespace tvane::driver
