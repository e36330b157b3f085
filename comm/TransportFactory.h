#pragma once
#include <functional>
#include <memory>
#include <string_view>

#include "comm/CCommInterface.h"

namespace tvane::comm {

// Makes the transport of an interface type; null when the type has none or the
// transport cannot be made. The caller owns the result.
std::unique_ptr<CCommInterface> CreateTransportByType(int32_t type);
// The transport of the type a name stands for (NameToType).
std::unique_ptr<CCommInterface> CreateTransport(std::string_view name);

// What the factory runs for one interface type. Each transport registers its line in
// the factory's table; tests put a scripted transport in place of a real one.
using TransportCreator = std::function<std::unique_ptr<CCommInterface>(int32_t type)>;

// Replaces the creator of a type and returns the one in place before; an empty
// creator gives the type no transport.
TransportCreator SetTransportCreator(int32_t type, TransportCreator creator);

// Puts a creator in place for a scope and restores the previous one.
class ScopedTransportCreator {
public:
    ScopedTransportCreator(int32_t type, TransportCreator creator)
        : m_type(type), m_previous(SetTransportCreator(type, std::move(creator))) {}
    ~ScopedTransportCreator() { SetTransportCreator(m_type, std::move(m_previous)); }
    ScopedTransportCreator(const ScopedTransportCreator&) = delete;
    ScopedTransportCreator& operator=(const ScopedTransportCreator&) = delete;

private:
    int32_t m_type;
    TransportCreator m_previous;
};

} // namespace tvane::comm
