#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "platform/core/CaseInsensitive.h"

namespace tvane::comm {

// Saving and loading a control's properties in its container: each call names one
// property; loading a property that was never stored gives its default.
class IPropertyExchange {
public:
    virtual ~IPropertyExchange() = default;
    virtual bool IsLoading() const = 0;
    virtual void Short(const std::string& name, int16_t& value, int16_t def) = 0;
    virtual void String(const std::string& name, std::string& value, const std::string& def) = 0;
};

// Properties kept as texts by name (names compare ignoring case).
class PropertyBag final : public IPropertyExchange {
public:
    explicit PropertyBag(bool loading) : m_loading(loading) {}
    void SetLoading(bool loading) { m_loading = loading; }
    bool IsLoading() const override { return m_loading; }
    void Short(const std::string& name, int16_t& value, int16_t def) override;
    void String(const std::string& name, std::string& value, const std::string& def) override;

    std::map<std::string, std::string, LessNoCase> values;

private:
    bool m_loading;
};

} // namespace tvane::comm
