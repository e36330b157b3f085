#pragma once
#include <utility>

#include "platform/com/Unknown.h"

namespace tvane {

// Holds one reference to an interface. Construction from a raw pointer adds a
// reference; Attach takes over one the caller already owns.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    void Attach(T* p) {
        Reset();
        m_p = p;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }
    void Swap(ComPtr& other) noexcept { std::swap(m_p, other.m_p); }

    // Releases what is held and returns the address for an out parameter.
    T** Out() {
        Reset();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // QueryInterface for U into target; the status code of the query.
    template <class U> HRESULT As(ComPtr<U>& target) const {
        if (!m_p) {
            target.Reset();
            return E_POINTER;
        }
        return m_p->QueryInterface(IidOf<U>(), target.OutVoid());
    }

private:
    T* m_p = nullptr;
};

} // namespace tvane
