#include "platform/com/Registration.h"

#include "platform/com/Bstr.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Format.h"
#include "platform/registry/Registry.h"

namespace tvane {
namespace {

constexpr RegHive kRoot = RegHive::ClassesRoot;

std::string ClassKey(REFCLSID clsid) {
    return "CLSID\\" + GuidToString(clsid);
}

} // namespace

HRESULT RegisterClassKeys(const ClassRegistration& r) {
    const std::string key = ClassKey(r.clsid);
    const std::string clsidText = GuidToString(r.clsid);
    bool ok = RegSetString(kRoot, key, "", r.description) &&
              RegSetString(kRoot, key + "\\InprocServer32", "", r.modulePath);
    if (ok && !r.threadingModel.empty())
        ok = RegSetString(kRoot, key + "\\InprocServer32", "ThreadingModel", r.threadingModel);
    if (ok && !r.progId.empty())
        ok = RegSetString(kRoot, key + "\\ProgID", "", r.progId) &&
             RegSetString(kRoot, r.progId, "", r.description) &&
             RegSetString(kRoot, r.progId + "\\CLSID", "", clsidText);
    if (ok && r.control)
        ok = RegCreateKeyPath(kRoot, key + "\\Control") &&
             RegSetString(kRoot, key + "\\MiscStatus", "", "0") &&
             RegSetString(kRoot, key + "\\MiscStatus\\1", "", Format("%u", r.miscStatus)) &&
             RegSetString(kRoot, key + "\\ToolboxBitmap32", "",
                          Format("%s, %d", r.modulePath.c_str(), r.toolboxBitmap));
    if (ok && r.insertable)
        ok = RegCreateKeyPath(kRoot, key + "\\Insertable") &&
             (r.progId.empty() || RegCreateKeyPath(kRoot, r.progId + "\\Insertable"));
    if (ok && r.typeLib)
        ok = RegSetString(kRoot, key + "\\TypeLib", "", GuidToString(*r.typeLib)) &&
             RegSetString(kRoot, key + "\\Version", "", r.typeLibVersion);
    return ok ? S_OK : REGDB_E_WRITEREGDB;
}

HRESULT UnregisterClassKeys(REFCLSID clsid, const std::string& progId) {
    const std::string key = ClassKey(clsid);
    if (RegKeyExists(kRoot, key) && !RegDeleteTree(kRoot, key))
        return REGDB_E_WRITEREGDB;
    if (!progId.empty() && RegKeyExists(kRoot, progId) && !RegDeleteTree(kRoot, progId))
        return REGDB_E_WRITEREGDB;
    return S_OK;
}

HRESULT RegisterTypeLib(const TypeLibRegistration& r) {
    const std::string libText = GuidToString(r.libid);
    const std::string version = Format("%x.%x", r.majorVersion, r.minorVersion);
    const std::string key = "TypeLib\\" + libText + "\\" + version;
    bool ok = RegSetString(kRoot, key, "", r.name) &&
              RegSetString(kRoot, key + "\\0\\linux", "", r.path) &&
              RegSetString(kRoot, key + "\\FLAGS", "", "0");
    for (const auto& [iid, name] : r.interfaces) {
        if (!ok)
            break;
        const std::string ikey = "Interface\\" + GuidToString(iid);
        ok = RegSetString(kRoot, ikey, "", name) &&
             RegSetString(kRoot, ikey + "\\TypeLib", "", libText) &&
             RegSetString(kRoot, ikey + "\\TypeLib", "Version", version);
    }
    return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD majorVersion, WORD minorVersion) {
    const std::string libText = GuidToString(libid);
    const std::string libKey = "TypeLib\\" + libText;
    const std::string key = libKey + "\\" + Format("%x.%x", majorVersion, minorVersion);
    if (!RegKeyExists(kRoot, key) || !RegDeleteTree(kRoot, key))
        return TYPE_E_REGISTRYACCESS;
    if (RegSubKeys(kRoot, libKey).empty())
        RegDeleteTree(kRoot, libKey);
    for (const std::string& iid : RegSubKeys(kRoot, "Interface")) {
        const std::string ikey = "Interface\\" + iid;
        const auto lib = RegGetString(kRoot, ikey + "\\TypeLib", "");
        if (lib && EqualsNoCase(*lib, libText))
            RegDeleteTree(kRoot, ikey);
    }
    return S_OK;
}

HRESULT RegisterCategory(REFGUID catid, LCID locale, const std::string& description) {
    // At most 127 characters, as the category manager keeps them.
    std::u16string text = Utf8ToUtf16(description);
    if (text.size() > 127)
        text.resize(127);
    const std::string key = "Component Categories\\" + GuidToString(catid);
    return RegSetString(kRoot, key, Format("%x", locale), Utf16ToUtf8(text)) ? S_OK
                                                                             : REGDB_E_WRITEREGDB;
}

HRESULT RegisterClassImplCategories(REFCLSID clsid, const std::vector<CATID>& catids) {
    const std::string key = ClassKey(clsid) + "\\Implemented Categories\\";
    for (const CATID& c : catids)
        if (!RegCreateKeyPath(kRoot, key + GuidToString(c)))
            return REGDB_E_WRITEREGDB;
    return S_OK;
}

HRESULT UnRegisterClassImplCategories(REFCLSID clsid, const std::vector<CATID>& catids) {
    const std::string implemented = ClassKey(clsid) + "\\Implemented Categories";
    for (const CATID& c : catids) {
        const std::string key = implemented + "\\" + GuidToString(c);
        if (RegKeyExists(kRoot, key) && !RegDeleteTree(kRoot, key))
            return REGDB_E_WRITEREGDB;
    }
    if (RegKeyExists(kRoot, implemented) && RegSubKeys(kRoot, implemented).empty())
        RegDeleteTree(kRoot, implemented);
    return S_OK;
}

std::optional<CLSID> FindClassByDescription(const std::string& name) {
    for (const std::string& sub : RegSubKeys(kRoot, "CLSID")) {
        const auto value = RegGetString(kRoot, "CLSID\\" + sub, "");
        if (!value || !EqualsNoCase(*value, name))
            continue;
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromString(sub, &clsid)))
            return clsid;
    }
    return std::nullopt;
}

} // namespace tvane
