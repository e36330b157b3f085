#pragma once
#include <string>
#include <string_view>

#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// Rich error information that a failing call leaves for its caller on the same
// thread: the caller asks ISupportErrorInfo whether the interface it called sets
// it, then takes it with GetErrorInfo.

class IErrorInfo : public IUnknown {
public:
    TVANE_INTERFACE_IID(IErrorInfo, "{1CF2B120-547D-101B-8E65-08002B2BD119}")

    virtual HRESULT GetGUID(GUID* guid) = 0;
    virtual HRESULT GetSource(BSTR* source) = 0;
    virtual HRESULT GetDescription(BSTR* description) = 0;
    virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* helpContext) = 0;

protected:
    ~IErrorInfo() = default;
};

class ICreateErrorInfo : public IUnknown {
public:
    TVANE_INTERFACE_IID(ICreateErrorInfo, "{22F03340-547D-101B-8E65-08002B2BD119}")

    virtual HRESULT SetGUID(REFGUID guid) = 0;
    virtual HRESULT SetSource(LPCOLESTR source) = 0;
    virtual HRESULT SetDescription(LPCOLESTR description) = 0;
    virtual HRESULT SetHelpFile(LPCOLESTR helpFile) = 0;
    virtual HRESULT SetHelpContext(DWORD helpContext) = 0;

protected:
    ~ICreateErrorInfo() = default;
};

class ISupportErrorInfo : public IUnknown {
public:
    TVANE_INTERFACE_IID(ISupportErrorInfo, "{DF0B3D60-548F-101B-8E65-08002B2BD119}")

    // S_OK when the methods of interface iid set error information, else S_FALSE.
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID iid) = 0;

protected:
    ~ISupportErrorInfo() = default;
};

inline constexpr IID IID_IErrorInfo = IErrorInfo::Iid;
inline constexpr IID IID_ICreateErrorInfo = ICreateErrorInfo::Iid;
inline constexpr IID IID_ISupportErrorInfo = ISupportErrorInfo::Iid;

namespace tvane {

// A new, empty error object (one reference); it offers both interfaces.
HRESULT CreateErrorInfo(ICreateErrorInfo** info);
// Makes info (may be null) the calling thread's error information, replacing the
// previous one. reserved must be 0.
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands the thread's error information to the caller (one reference) and clears
// it; S_FALSE and null when there is none.
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

// Server side in one call: sets the thread's error information and returns hr,
// e.g. return ReportError(IID_IDualComm, hr, "Linkwell", "Port not open");
HRESULT ReportError(REFGUID guid, HRESULT hr, std::string_view source, std::string_view description,
                    DWORD helpContext = 0, std::string_view helpFile = {});

// The plain fields of an error object.
struct ErrorDetails {
    GUID guid;
    std::string source;
    std::string description;
    std::string helpFile;
    DWORD helpContext = 0;
};
ErrorDetails ReadErrorInfo(IErrorInfo* info);

// Client side: the error information left by a failed call on interface iid of
// object, when the object says that interface sets it; the thread's error
// information is cleared in any case, so a stale one is never reported later.
bool TakeErrorInfo(IUnknown* object, REFIID iid, ErrorDetails* details);

} // namespace tvane
