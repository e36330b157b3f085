#pragma once
#include <utility>

namespace tvane {

// Installs a service for the lifetime of a scope (tests), restoring the default
// on exit: ScopedService guard(SetClock, &fakeClock);
template <typename T> class ScopedService {
public:
    using Setter = void (*)(T*);
    ScopedService(Setter set, T* service) : m_set(set) { m_set(service); }
    ~ScopedService() { m_set(nullptr); }
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

private:
    Setter m_set;
};

} // namespace tvane
