#pragma once
#include <cstdint>
#include <string_view>

namespace tvane {

class CArchive;
class CObject;

// Run-time class record: the name written into archives, the schema, how to
// create an object by name while loading, and the base class.
struct CRuntimeClass {
    // Schema of classes that cannot be written to an archive.
    static constexpr std::uint16_t kNotSerializable = 0xFFFF;

    const char* m_lpszClassName;
    std::uint16_t m_wSchema;
    CObject* (*m_pfnCreateObject)();             // null: not dynamically creatable
    const CRuntimeClass* (*m_pfnGetBaseClass)(); // null: the root

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsSerializable() const { return m_wSchema != kNotSerializable; }
    const CRuntimeClass* GetBaseClass() const {
        return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
    }
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The registry of classes that can be created by name while loading.
    // IMPLEMENT_DYNCREATE and IMPLEMENT_SERIAL register their class; the first
    // registration of a name wins.
    static void Register(const CRuntimeClass* runtimeClass);
    static const CRuntimeClass* FromName(std::string_view name);
};

// Root of the classes that carry a run-time class record and can be written to
// and read from a CArchive.
//
// An archive knows an object by its address together with the serial number
// the object got when it was made: an object made later at a freed address has
// another number, so it is never taken for the one that lived there before. An
// object that a loading archive made tells that archive when it goes, so a
// later reference to it is refused instead of reaching freed memory. Copies get
// a serial number of their own and no archive.
class CObject {
public:
    virtual ~CObject();

    virtual const CRuntimeClass* GetRuntimeClass() const;
    // Writes or reads the object's fields; the root has none.
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* runtimeClass) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static const CRuntimeClass* GetThisClass();

protected:
    CObject();
    CObject(const CObject&);
    // Assignment copies no identity: the object stays the one it was.
    CObject& operator=(const CObject&) { return *this; }

private:
    friend class CArchive;
    std::uint64_t m_serial;
    // The loading archive that made this object and still lists it, and where.
    CArchive* m_loadedBy = nullptr;
    std::uint32_t m_loadIndex = 0;
};

// Registers a class when the translation unit that implements it is linked in.
// A class that is only ever created by loading from an archive lives in a static
// library's object file that nothing else references: refer to it (for example
// RUNTIME_CLASS(CName) in the loading code) so the linker keeps it.
struct CRuntimeClassRegistration {
    explicit CRuntimeClassRegistration(const CRuntimeClass* runtimeClass) {
        CRuntimeClass::Register(runtimeClass);
    }
};

} // namespace tvane

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// In the class body: DECLARE_DYNAMIC (run-time class only), DECLARE_DYNCREATE (also
// created by name), DECLARE_SERIAL (also written to archives with its schema).
#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static const ::tvane::CRuntimeClass* GetThisClass();                                           \
    const ::tvane::CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static ::tvane::CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

// In the class's .cpp, in the class's namespace. class_name is written into
// archives as it is spelled here, so it must be the bare class name.
#define TVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                  \
    const ::tvane::CRuntimeClass* class_name::GetThisClass() {                                     \
        static const ::tvane::CRuntimeClass runtimeClass{#class_name, schema, create,              \
                                                         &base_class_name::GetThisClass};          \
        return &runtimeClass;                                                                      \
    }                                                                                              \
    const ::tvane::CRuntimeClass* class_name::GetRuntimeClass() const {                            \
        return class_name::GetThisClass();                                                         \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    TVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name,                                      \
                                 ::tvane::CRuntimeClass::kNotSerializable, nullptr)

#define TVANE_IMPLEMENT_CREATABLE(class_name, base_class_name, schema)                             \
    ::tvane::CObject* class_name::CreateObject() {                                                 \
        return new class_name;                                                                     \
    }                                                                                              \
    TVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, &class_name::CreateObject)   \
    [[maybe_unused]] static const ::tvane::CRuntimeClassRegistration                               \
        tvaneRuntimeClassRegistration_##class_name{class_name::GetThisClass()};

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    TVANE_IMPLEMENT_CREATABLE(class_name, base_class_name, ::tvane::CRuntimeClass::kNotSerializable)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                      \
    static_assert(static_cast<long long>(schema) >= 0 && static_cast<long long>(schema) < 0xFFFF,  \
                  "schema 0xFFFF means not serialisable");                                         \
    TVANE_IMPLEMENT_CREATABLE(class_name, base_class_name, schema)
