#include "platform/com/ComObject.h"

#include <dlfcn.h>

#include <filesystem>
#include <utility>

namespace tvane {

ComObjectRoot::ComObjectRoot(IUnknown* outer, ServerModule* module)
    : m_outer(outer), m_module(module) {
    if (m_module)
        m_module->Lock();
}

ComObjectRoot::~ComObjectRoot() {
    if (m_module)
        m_module->Unlock();
}

HRESULT ComObjectRoot::ExternalQueryInterface(REFIID iid, void** object) {
    return m_outer ? m_outer->QueryInterface(iid, object) : m_inner.QueryInterface(iid, object);
}

ULONG ComObjectRoot::ExternalAddRef() {
    return m_outer ? m_outer->AddRef() : m_inner.AddRef();
}

ULONG ComObjectRoot::ExternalRelease() {
    return m_outer ? m_outer->Release() : m_inner.Release();
}

HRESULT ComObjectRoot::Inner::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    if (IUnknown* p = m_owner.GetInterface(iid)) {
        // Through the interface, so an aggregated object adds its reference to
        // the outer object, which owns the identity.
        p->AddRef();
        *object = p;
        return S_OK;
    }
    if (m_owner.m_aggregate)
        return m_owner.m_aggregate->QueryInterface(iid, object);
    return E_NOINTERFACE;
}

ULONG ComObjectRoot::Inner::AddRef() {
    return ++m_owner.m_refs;
}

ULONG ComObjectRoot::Inner::Release() {
    const ULONG left = --m_owner.m_refs;
    if (left == 0) {
        // Held at one while the object lets go of its parts, so that the
        // reference juggling of FinalRelease cannot reach zero a second time.
        m_owner.m_refs = 1;
        m_owner.FinalRelease();
        if (IUnknown* inner = std::exchange(m_owner.m_aggregate, nullptr))
            inner->Release();
        delete &m_owner;
    }
    return left;
}

void ComObjectRoot::SetAggregate(IUnknown* inner) {
    if (m_aggregate)
        m_aggregate->Release();
    m_aggregate = inner;
}

HRESULT ComObjectRoot::QueryAggregateInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!m_aggregate)
        return E_NOINTERFACE;
    const HRESULT hr = m_aggregate->QueryInterface(iid, object);
    if (SUCCEEDED(hr))
        ControllingUnknown()->Release();
    return hr;
}

void ComObjectRoot::ReleaseAggregateInterface(IUnknown*& cached) {
    if (!cached)
        return;
    ControllingUnknown()->AddRef();
    std::exchange(cached, nullptr)->Release();
}

namespace {

class ClassFactory final : public ComObjectRoot, public IClassFactory {
public:
    ClassFactory(ServerModule& module, ServerModule::CreateFunction create, bool aggregatable)
        : ComObjectRoot(nullptr, &module), m_module(module), m_create(create),
          m_aggregatable(aggregatable) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer && (!m_aggregatable || iid != IID_IUnknown))
            return CLASS_E_NOAGGREGATION;
        return m_create(outer, iid, object);
    }
    HRESULT LockServer(BOOL lock) override {
        if (lock)
            m_module.Lock();
        else
            m_module.Unlock();
        return S_OK;
    }

protected:
    IUnknown* GetInterface(REFIID iid) override {
        return iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
    }

private:
    ServerModule& m_module;
    ServerModule::CreateFunction m_create;
    bool m_aggregatable;
};

} // namespace

void ServerModule::AddClass(ClassRegistration registration, CreateFunction create,
                            bool aggregatable) {
    m_registrations.push_back(std::move(registration));
    m_entries.push_back({create, aggregatable});
}

HRESULT ServerModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (std::size_t i = 0; i < m_registrations.size(); ++i) {
        if (m_registrations[i].clsid != clsid)
            continue;
        ClassFactory* factory = nullptr;
        try {
            factory = new ClassFactory(*this, m_entries[i].create, m_entries[i].aggregatable);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        IUnknown* unknown = factory->InnerUnknown();
        unknown->AddRef();
        const HRESULT hr = unknown->QueryInterface(iid, object);
        unknown->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ServerModule::RegisterServer() {
    for (ClassRegistration reg : m_registrations) {
        if (reg.modulePath.empty())
            reg.modulePath = ModulePath();
        if (FAILED(RegisterClassKeys(reg)))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT ServerModule::UnregisterServer() {
    HRESULT result = S_OK;
    for (const ClassRegistration& reg : m_registrations)
        if (FAILED(UnregisterClassKeys(reg.clsid, reg.progId)))
            result = SELFREG_E_CLASS;
    return result;
}

std::string ServerModule::ModulePath() const {
    const void* address = m_address.load();
    return LibraryPathOf(address ? address : static_cast<const void*>(this));
}

std::string LibraryPathOf(const void* address) {
    // The name the library was loaded by, made absolute: the registry entry must
    // still find it from another working folder.
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code ec;
    const auto path = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : path.lexically_normal().string();
}

} // namespace tvane
