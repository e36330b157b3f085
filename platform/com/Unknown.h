#pragma once
#include <type_traits>

#include "platform/com/Guid.h"
#include "platform/com/Types.h"

// Declares an interface class's identifier inside the class:
//   class IFoo : public IUnknown { public: TVANE_INTERFACE_IID(IFoo, "{...}") ... };
// tvane::IidOf<IFoo>() then finds it (and refuses an interface that did not
// declare its own).
#define TVANE_INTERFACE_IID(Interface, text)                                                       \
    static constexpr IID Iid = tvane::MakeGuid(text);                                              \
    using IidOwner = Interface;

// The root interface. Interfaces are abstract classes whose virtual functions
// stand in slot order; an interface derives from exactly one other interface, so
// a pointer to it is also a pointer to its IUnknown. Objects are never deleted
// through an interface pointer: the last Release deletes them.
class IUnknown {
public:
    TVANE_INTERFACE_IID(IUnknown, "{00000000-0000-0000-C000-000000000046}")

    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    TVANE_INTERFACE_IID(IClassFactory, "{00000001-0000-0000-C000-000000000046}")

    // outer non-null creates the object as an inner part of that aggregate; the
    // interface asked for must then be IID_IUnknown.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::Iid;
inline constexpr IID IID_IClassFactory = IClassFactory::Iid;

namespace tvane {

// The IID of an interface class, as TVANE_INTERFACE_IID declared it.
template <class T> constexpr const IID& IidOf() {
    static_assert(std::is_same_v<typename T::IidOwner, T>,
                  "the interface does not declare its IID with TVANE_INTERFACE_IID");
    return T::Iid;
}

} // namespace tvane
