#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Unknown.h"

// Creating objects of in-process servers registered in the registry emulation:
// the class's InprocServer32 names a shared library, which is loaded once with
// dlopen and asked for the class factory through its DllGetClassObject export.
// Libraries stay loaded until CoFreeUnusedLibraries finds that their
// DllCanUnloadNow answers S_OK.

namespace tvane {

// The ProgID's CLSID (HKEY_CLASSES_ROOT\<ProgID>\CLSID); CO_E_CLASSSTRING when
// it is not registered.
HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid);
HRESULT ProgIDFromCLSID(REFCLSID clsid, std::string* progId);

// context must include CLSCTX_INPROC_SERVER. REGDB_E_CLASSNOTREG when the class
// has no InprocServer32; CO_E_DLLNOTFOUND when the library does not load;
// CO_E_ERRORINDLL when it lacks DllGetClassObject; else the factory's result.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object);

// Unloads every loaded server library whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
// The paths of the server libraries loaded now.
std::vector<std::string> LoadedServerLibraries();
// The system's text (dlerror) of the calling thread's last failed library load.
std::string LastLoadErrorText();

// A shared library loaded by path, for calling its exports by name (the
// registration of a server file); unloaded with the object.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(const std::string& path) { Load(path); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    ~DynamicLibrary() { Free(); }

    // False with ErrorText() on failure.
    bool Load(const std::string& path);
    void Free();
    bool IsLoaded() const { return m_handle != nullptr; }
    // Null (with ErrorText()) when the library has no such export.
    void* Symbol(const char* name);
    const std::string& ErrorText() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// Signatures of the exports of a server library.
using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();

} // namespace tvane
