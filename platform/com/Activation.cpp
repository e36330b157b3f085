#include "platform/com/Activation.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "platform/com/Bstr.h"
#include "platform/registry/Registry.h"

namespace tvane {
namespace {

struct LoadedServer {
    void* handle;
    DllGetClassObjectFunction getClassObject;
    DllCanUnloadNowFunction canUnloadNow;
};

// One table for the process (this library is shared by the program and every
// server it loads), keyed by the registered path. Recursive: a library's static
// constructors and destructors (run inside dlopen and dlclose) may come back here.
std::recursive_mutex g_mutex;
std::map<std::string, LoadedServer>& Servers() {
    static std::map<std::string, LoadedServer> servers;
    return servers;
}
thread_local std::string t_loadError;

std::string DlError() {
    const char* e = dlerror();
    return e ? e : "";
}

HRESULT ServerFor(const std::string& path, DllGetClassObjectFunction* entry) {
    std::lock_guard lock(g_mutex);
    auto& servers = Servers();
    if (auto it = servers.find(path); it != servers.end()) {
        *entry = it->second.getClassObject;
        return S_OK;
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        t_loadError = DlError();
        return CO_E_DLLNOTFOUND;
    }
    auto get = reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
    if (!get) {
        t_loadError = DlError();
        dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    auto canUnload = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"));
    servers[path] = {handle, get, canUnload};
    *entry = get;
    return S_OK;
}

} // namespace

HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) {
    if (!clsid)
        return E_INVALIDARG;
    *clsid = GUID_NULL;
    if (progId.empty())
        return CO_E_CLASSSTRING;
    const auto text = RegGetString(RegHive::ClassesRoot, std::string(progId) + "\\CLSID", "");
    if (!text || FAILED(CLSIDFromString(*text, clsid)))
        return CO_E_CLASSSTRING;
    return S_OK;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* progId) {
    if (!progId)
        return E_INVALIDARG;
    const auto text =
        RegGetString(RegHive::ClassesRoot, "CLSID\\" + GuidToString(clsid) + "\\ProgID", "");
    if (!text)
        return REGDB_E_CLASSNOTREG;
    *progId = *text;
    return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    const auto path = RegGetString(RegHive::ClassesRoot,
                                   "CLSID\\" + GuidToString(clsid) + "\\InprocServer32", "");
    if (!path || path->empty())
        return REGDB_E_CLASSNOTREG;
    DllGetClassObjectFunction entry = nullptr;
    const HRESULT hr = ServerFor(*path, &entry);
    if (FAILED(hr))
        return hr;
    return entry(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    return hr;
}

void CoFreeUnusedLibraries() {
    std::vector<void*> unused;
    {
        std::lock_guard lock(g_mutex);
        auto& servers = Servers();
        for (auto it = servers.begin(); it != servers.end();) {
            if (it->second.canUnloadNow && it->second.canUnloadNow() == S_OK) {
                unused.push_back(it->second.handle);
                it = servers.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Outside the table: a library's destructors may call back into it.
    for (void* handle : unused)
        dlclose(handle);
}

std::vector<std::string> LoadedServerLibraries() {
    std::lock_guard lock(g_mutex);
    std::vector<std::string> paths;
    for (const auto& [path, server] : Servers())
        paths.push_back(path);
    return paths;
}

std::string LastLoadErrorText() {
    return t_loadError;
}

bool DynamicLibrary::Load(const std::string& path) {
    Free();
    dlerror();
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    m_error = m_handle ? std::string() : DlError();
    return m_handle != nullptr;
}

void DynamicLibrary::Free() {
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) {
    if (!m_handle) {
        m_error = "library not loaded";
        return nullptr;
    }
    dlerror();
    void* p = dlsym(m_handle, name);
    m_error = p ? std::string() : DlError();
    return p;
}

} // namespace tvane
