#include "scan/ComUtilities.h"

#include "platform/com/Activation.h"
#include "platform/com/Registration.h"
#include "scan/ScanTexts.h"

BOOL ProgIDToCLSID(const std::string& name, CLSID& clsid, std::string& keyText) {
    std::optional<CLSID> found = tvane::FindClassByDescription(name);
    if (!found) {
        // Classes whose description is not their ProgID (the driver's "KXQT7100"
        // under "KXQT7100.Drv32") are still found by the name they are created by.
        CLSID byProgId;
        if (SUCCEEDED(tvane::CLSIDFromProgID(name, &byProgId)))
            found = byProgId;
    }
    if (!found)
        return FALSE;
    clsid = *found;
    keyText = tvane::GuidToString(clsid);
    return TRUE;
}

void CreateComObject(REFCLSID clsid, IUnknown** unknown) {
    if (!unknown)
        return;
    *unknown = nullptr;
    void* object = nullptr;
    if (SUCCEEDED(
            tvane::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object)))
        *unknown = static_cast<IUnknown*>(object);
}

const char* GetResourceString(unsigned id) {
    // Texts up to this size keep the buffer where it is, so an earlier result
    // shows the newer text as it always has; a longer one still fits.
    static std::string buffer = [] {
        std::string b;
        b.reserve(512);
        return b;
    }();
    buffer = ScanStrings().Load(id);
    return buffer.c_str();
}

std::string FormatMessageArgs(const std::string& pattern, const std::string& first,
                              const std::string& second) {
    std::string out;
    out.reserve(pattern.size() + first.size() + second.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            out += pattern[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}
