#include "platform/archive/CObject.h"

#include "platform/archive/CArchive.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>

namespace tvane {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, const CRuntimeClass*, std::less<>> classes;
};

// Built on first use, so registrations from other translation units' static
// initialisers find it ready whatever their order.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// Serial numbers of objects; 0 is never given.
std::atomic<std::uint64_t> g_nextSerial{1};

std::uint64_t NextSerial() {
    return g_nextSerial.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

CObject::CObject() : m_serial(NextSerial()) {}

CObject::CObject(const CObject&) : m_serial(NextSerial()) {}

CObject::~CObject() {
    if (m_loadedBy != nullptr) {
        m_loadedBy->ForgetLoaded(m_loadIndex);
    }
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->GetBaseClass()) {
        if (c == base) {
            return true;
        }
    }
    return false;
}

void CRuntimeClass::Register(const CRuntimeClass* runtimeClass) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.classes.emplace(runtimeClass->m_lpszClassName, runtimeClass);
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    const auto it = registry.classes.find(name);
    return it == registry.classes.end() ? nullptr : it->second;
}

const CRuntimeClass* CObject::GetThisClass() {
    static const CRuntimeClass runtimeClass{"CObject", CRuntimeClass::kNotSerializable, nullptr,
                                            nullptr};
    return &runtimeClass;
}

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return GetThisClass();
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* runtimeClass) const {
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

} // namespace tvane
