#include "comm/PropertyExchange.h"

#include <cstdlib>

namespace tvane::comm {

void PropertyBag::Short(const std::string& name, int16_t& value, int16_t def) {
    if (!m_loading) {
        values[name] = std::to_string(value);
        return;
    }
    auto it = values.find(name);
    value = it == values.end() ? def : static_cast<int16_t>(std::atoi(it->second.c_str()));
}

void PropertyBag::String(const std::string& name, std::string& value, const std::string& def) {
    if (!m_loading) {
        values[name] = value;
        return;
    }
    auto it = values.find(name);
    value = it == values.end() ? def : it->second;
}

} // namespace tvane::comm
