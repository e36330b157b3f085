#pragma once
#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "platform/com/ComException.h"
#include "platform/com/Registration.h"
#include "platform/com/Unknown.h"

namespace tvane {

class ServerModule;

// Base of every object that implements interfaces: reference counting, the
// non-delegating inner unknown that makes the object aggregatable, and blind
// aggregation of an inner object of its own.
//
// An implementation derives from ComObjectRoot and from its interfaces, forwards
// its IUnknown methods with TVANE_COM_DELEGATING_IUNKNOWN, and answers its own
// interfaces in GetInterface:
//
//   class CFoo : public tvane::ComObjectRoot, public IFoo, public IDispatch {
//   public:
//       explicit CFoo(IUnknown* outer) : ComObjectRoot(outer, &g_module) {}
//       TVANE_COM_DELEGATING_IUNKNOWN
//   protected:
//       IUnknown* GetInterface(REFIID iid) override {
//           if (iid == IID_IFoo) return static_cast<IFoo*>(this);
//           if (iid == IID_IDispatch) return static_cast<IDispatch*>(this);
//           return nullptr;
//       }
//   };
//
// When created inside an aggregate (outer not null), every interface of the
// object delegates QueryInterface, AddRef and Release to the outer object; only
// InnerUnknown() controls the object's own life.
class ComObjectRoot {
public:
    ComObjectRoot(IUnknown* outer, ServerModule* module);
    ComObjectRoot(const ComObjectRoot&) = delete;
    ComObjectRoot& operator=(const ComObjectRoot&) = delete;

    // The non-delegating unknown: the object's own identity and life.
    IUnknown* InnerUnknown() { return &m_inner; }
    // The outer object when aggregated, else the inner unknown.
    IUnknown* ControllingUnknown() { return m_outer ? m_outer : &m_inner; }
    bool IsAggregated() const { return m_outer != nullptr; }

    HRESULT ExternalQueryInterface(REFIID iid, void** object);
    ULONG ExternalAddRef();
    ULONG ExternalRelease();

    // Runs once after construction, with one reference held; a failure destroys
    // the object and is the creation's result (CreateComInstance).
    virtual HRESULT FinalConstruct() { return S_OK; }

protected:
    virtual ~ComObjectRoot();

    // The object's own interface for iid (not IUnknown), or null.
    virtual IUnknown* GetInterface(REFIID iid) = 0;
    // Runs once when the last reference goes, before the destructor, while the
    // object is still whole: release interfaces taken from an inner object here.
    virtual void FinalRelease() {}

    // Makes inner (the non-delegating unknown of an object created with this
    // object's ControllingUnknown() as outer; the reference is taken over) the
    // target of every QueryInterface for an IID this object does not implement.
    // It is released after FinalRelease.
    void SetAggregate(IUnknown* inner);
    IUnknown* Aggregate() const { return m_aggregate; }

    // Queries the aggregated inner object for an interface to keep for the
    // object's life. The inner object hands it out with a reference on this
    // (outer) object; that reference is given back at once so the object can
    // still reach zero. ReleaseAggregateInterface undoes it in FinalRelease.
    HRESULT QueryAggregateInterface(REFIID iid, void** object);
    void ReleaseAggregateInterface(IUnknown*& cached);
    template <class I> void ReleaseAggregateInterface(I*& cached) {
        IUnknown* p = cached;
        cached = nullptr;
        ReleaseAggregateInterface(p);
    }

private:
    class Inner final : public IUnknown {
    public:
        explicit Inner(ComObjectRoot& owner) : m_owner(owner) {}
        HRESULT QueryInterface(REFIID iid, void** object) override;
        ULONG AddRef() override;
        ULONG Release() override;

    private:
        ComObjectRoot& m_owner;
    };

    Inner m_inner{*this};
    std::atomic<ULONG> m_refs{0};
    IUnknown* m_outer;
    ServerModule* m_module;
    IUnknown* m_aggregate = nullptr;
};

// The three IUnknown methods of an implementation class, forwarding to the root.
#define TVANE_COM_DELEGATING_IUNKNOWN                                                              \
    HRESULT QueryInterface(REFIID iid, void** object) override {                                   \
        return ExternalQueryInterface(iid, object);                                                \
    }                                                                                              \
    ULONG AddRef() override {                                                                      \
        return ExternalAddRef();                                                                   \
    }                                                                                              \
    ULONG Release() override {                                                                     \
        return ExternalRelease();                                                                  \
    }

// Creates a T (constructor T(IUnknown* outer)), runs FinalConstruct and queries
// it for iid: the body of a class factory's CreateInstance. With an outer object
// iid must be IID_IUnknown and the result is the inner unknown. An exception of
// the constructor or of FinalConstruct becomes the result (a ComException's code,
// E_OUTOFMEMORY, else E_FAIL); a failed FinalConstruct destroys the object.
template <class T> HRESULT CreateComInstance(IUnknown* outer, REFIID iid, void** object);

// What a server library keeps: its classes, the count of its live objects and
// locks (DllCanUnloadNow), and its own file path for registration. Each server
// library defines exactly one, as a static object of the library itself.
class ServerModule {
public:
    using CreateFunction = HRESULT (*)(IUnknown* outer, REFIID iid, void** object);

    ServerModule() = default;
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;

    // Adds a class: how it is registered and how it is created. modulePath of
    // the registration may be left empty (this module's file is used).
    void AddClass(ClassRegistration registration, CreateFunction create, bool aggregatable = true);
    const std::vector<ClassRegistration>& Classes() const { return m_registrations; }

    // Live objects (ComObjectRoot with this module), class factories and
    // LockServer locks.
    void Lock() { ++m_locks; }
    void Unlock() { --m_locks; }
    LONG LockCount() const { return m_locks.load(); }

    // The exports' bodies.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
    HRESULT CanUnloadNow() const { return m_locks.load() == 0 ? S_OK : S_FALSE; }
    // Writes (or removes) the registration of every class; SELFREG_E_CLASS on a
    // registry failure.
    HRESULT RegisterServer();
    HRESULT UnregisterServer();

    // The library file to register: the one that contains the address given to
    // SetModuleAddress (TVANE_COM_SERVER_EXPORTS gives its own DllGetClassObject),
    // else the one that holds this object. A module object that lives in a shared
    // library of its own must be told, from the server library's exports:
    //   module.SetModuleAddress(reinterpret_cast<const void*>(&DllRegisterServer));
    void SetModuleAddress(const void* addressInLibrary) { m_address = addressInLibrary; }
    std::string ModulePath() const;

private:
    struct Entry {
        CreateFunction create;
        bool aggregatable;
    };
    std::vector<ClassRegistration> m_registrations;
    std::vector<Entry> m_entries;
    std::atomic<LONG> m_locks{0};
    std::atomic<const void*> m_address{nullptr};
};

// The absolute path of the loaded library (or program) that contains address.
std::string LibraryPathOf(const void* address);

// Defines the four exported entry points of a server library over its module,
// and tells the module which library it registers.
#define TVANE_COM_SERVER_EXPORTS(module)                                                           \
    extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(                   \
        REFCLSID clsid, REFIID iid, void** object) {                                               \
        return (module).GetClassObject(clsid, iid, object);                                        \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {                  \
        return (module).CanUnloadNow();                                                            \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {                \
        (module).SetModuleAddress(reinterpret_cast<const void*>(&DllGetClassObject));              \
        return (module).RegisterServer();                                                          \
    }                                                                                              \
    extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {              \
        return (module).UnregisterServer();                                                        \
    }

template <class T> HRESULT CreateComInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer && iid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;
    T* created = nullptr;
    try {
        created = new T(outer);
    } catch (const ComException& e) {
        return e.Code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    IUnknown* inner = created->InnerUnknown();
    inner->AddRef();
    HRESULT hr = E_FAIL;
    try {
        hr = created->FinalConstruct();
    } catch (const ComException& e) {
        hr = e.Code();
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    } catch (...) {
        hr = E_FAIL;
    }
    if (SUCCEEDED(hr))
        hr = inner->QueryInterface(iid, object);
    inner->Release();
    return hr;
}

} // namespace tvane
