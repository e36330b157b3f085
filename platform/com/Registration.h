#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/com/Guid.h"

// Self-registration of in-process servers in the registry emulation's
// HKEY_CLASSES_ROOT, in the keys the activation functions read:
//   CLSID\{clsid}                      default = description
//   CLSID\{clsid}\InprocServer32       default = library path, ThreadingModel
//   CLSID\{clsid}\ProgID               default = ProgID
//   <ProgID>                           default = description
//   <ProgID>\CLSID                     default = {clsid}
// and, when given, the type library, control and category keys.

namespace tvane {

struct ClassRegistration {
    CLSID clsid;
    std::string progId;      // may be empty: no ProgID keys
    std::string description; // the class key's default value (the type name)
    std::string modulePath;  // the library file; empty: the registering module's
    std::string threadingModel = "Apartment";
    // A control: the Control, MiscStatus and ToolboxBitmap32 keys; insertable
    // adds Insertable under the class and the ProgID.
    bool control = false;
    bool insertable = false;
    DWORD miscStatus = 0;
    int toolboxBitmap = 0;
    // Type library of the class: CLSID\{clsid}\TypeLib and \Version.
    std::optional<GUID> typeLib;
    std::string typeLibVersion = "1.0";
};

// Writes the keys above (modulePath as given); REGDB_E_WRITEREGDB when the
// registry could not be written.
HRESULT RegisterClassKeys(const ClassRegistration& registration);
// Removes the class key and the ProgID key (either may be missing).
HRESULT UnregisterClassKeys(REFCLSID clsid, const std::string& progId);

struct TypeLibRegistration {
    GUID libid;
    WORD majorVersion = 1;
    WORD minorVersion = 0;
    std::string name;                                    // TypeLib\{libid}\1.0 default value
    std::string path;                                    // the file that describes it (the library)
    std::vector<std::pair<IID, std::string>> interfaces; // Interface\{iid} keys
};
// TypeLib\{libid}\<major>.<minor> with name, 0\linux = path, FLAGS = 0; and one
// Interface\{iid} key per interface, naming the library.
HRESULT RegisterTypeLib(const TypeLibRegistration& registration);
// Removes that version (and the library key when no version is left) and the
// interface keys that name the library; TYPE_E_REGISTRYACCESS when that version
// was never registered.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD majorVersion, WORD minorVersion);

// Component categories: Component Categories\{catid} holds the description per
// locale (value name in hex, "409"), cut to 127 characters; a class lists the
// categories it implements under CLSID\{clsid}\Implemented Categories.
HRESULT RegisterCategory(REFGUID catid, LCID locale, const std::string& description);
HRESULT RegisterClassImplCategories(REFCLSID clsid, const std::vector<CATID>& catids);
HRESULT UnRegisterClassImplCategories(REFCLSID clsid, const std::vector<CATID>& catids);

// The class whose key's default value equals name, ignoring case, walking the
// class keys in the registry's order (the first match wins).
std::optional<CLSID> FindClassByDescription(const std::string& name);

} // namespace tvane
