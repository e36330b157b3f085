#pragma once
// The communications control's identifiers and its dual interface IDualComm, which
// the instrument driver and the main program call by vtable slot.

#include "platform/com/Dispatch.h"
#include "platform/com/Guid.h"
#include "platform/com/Variant.h"

// The control class "LinkwellCtrl" and what its type library "QMComm" declares.
inline constexpr CLSID CLSID_LinkwellCtrl =
    tvane::MakeGuid("{3B83C793-68D3-4D15-A064-FFC42718CBFD}");
inline constexpr IID DIID__DLinkwell = tvane::MakeGuid("{3B83C791-68D3-4D15-A064-FFC42718CBFD}");
inline constexpr IID DIID__DLinkwellEvents =
    tvane::MakeGuid("{3B83C792-68D3-4D15-A064-FFC42718CBFD}");
inline constexpr GUID LIBID_QMComm = tvane::MakeGuid("{3B83C790-68D3-4D15-A064-FFC42718CBFD}");
inline constexpr CLSID CLSID_LinkwellPropPage =
    tvane::MakeGuid("{3B83C794-68D3-4D15-A064-FFC42718CBFD}");
inline constexpr const char* kLinkwellProgId = "LinkwellCtrl";

// Interface type numbers the control, the driver and the main program share.
enum LinkwellInterfaceType : short {
    kLinkwellSimulated = 0,
    kLinkwellWenxGpibDefault = 1,
    kLinkwellGpib32 = 2,
    kLinkwellRs232 = 3,
    kLinkwellWenx = 4,
    kLinkwellWenxLan = 5,
    kLinkwellModem = 6,
};

// The dual interface. Its virtual functions stand in the control's slot order
// (IUnknown 0-2, IDispatch 3-6, then 7-44); do not reorder.
//
// Results: the HRESULT slots return S_OK or a failure with the thread's error
// information set (ISupportErrorInfo answers S_OK for IDualComm). The "direct"
// slots (26, 28, 30, 32, 38-43) return their value itself and set no error info;
// their failures are read with GetCommError.
//
// Strings: BSTRs handed in stay the caller's. An out BSTR of slots 9, 11, 16 and 43
// is reallocated in place: the caller passes null or a BSTR of its own, and frees
// what it gets back; slots 17 and 44 store a new BSTR without freeing the old one.
// Out VARIANTs are written by the callee and freed by the caller (VariantClear).
// The ANSI texts are UTF-8.
class IDualComm : public IDispatch {
public:
    TVANE_INTERFACE_IID(IDualComm, "{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}")

    virtual HRESULT put_InterfaceType(SHORT type) = 0;   // 7
    virtual HRESULT get_InterfaceType(SHORT* type) = 0;  // 8
    virtual HRESULT get_InterfaceName(BSTR* name) = 0;   // 9
    virtual HRESULT put_ControllerName(BSTR name) = 0;   // 10
    virtual HRESULT get_ControllerName(BSTR* name) = 0;  // 11
    virtual HRESULT put_Address(SHORT address) = 0;      // 12
    virtual HRESULT get_Address(SHORT* address) = 0;     // 13
    virtual HRESULT put_Exclusive(SHORT exclusive) = 0;  // 14
    virtual HRESULT get_Exclusive(SHORT* exclusive) = 0; // 15
    virtual HRESULT get_InstID(BSTR* id) = 0;            // 16
    virtual HRESULT get_Version(BSTR* version) = 0;      // 17: new BSTR "1.1"
    // 18-23: applied to the open transport; without one nothing happens (a get leaves
    // the caller's value).
    virtual HRESULT put_CommTimeout(LONG ms) = 0;  // 18
    virtual HRESULT get_CommTimeout(LONG* ms) = 0; // 19
    virtual HRESULT put_LanTimeout(LONG ms) = 0;   // 20
    virtual HRESULT get_LanTimeout(LONG* ms) = 0;  // 21
    virtual HRESULT put_PollTimeout(LONG ms) = 0;  // 22
    virtual HRESULT get_PollTimeout(LONG* ms) = 0; // 23
    virtual HRESULT Properties() = 0;              // 24
    virtual HRESULT Close(SHORT* result) = 0;      // 25
    // 26: the interactive search for the current InterfaceType; flag not 0 offers the
    // simulated interface. Writes *result (VT_ARRAY | VT_VARIANT, 1 x 4: type, address
    // text, instrument id, interface name; VT_EMPTY when nothing was selected) and
    // returns result.
    virtual VARIANT* SearchInterface(VARIANT* result, const char* pattern, LONG flag) = 0;
    virtual HRESULT Search(VARIANT* result) = 0; // 27
    // 28: name "any" tries every bus with address as the identity pattern; empty
    // texts and exclusive -1 mean the current properties.
    virtual BOOL OpenInterface(const char* name, const char* address, SHORT exclusive) = 0;
    virtual HRESULT Open(VARIANT name, VARIANT address, VARIANT exclusive,
                         SHORT* result) = 0;          // 29
    virtual BOOL SendRawMsg(const char* command) = 0; // 30
    virtual HRESULT SendMsg(BSTR message) = 0;        // 31: S_FALSE if not sent
    // 32: one answer into the caller's buffer, always left a zero-terminated text
    // within size; *count (bytes received) is untouched when no link is open.
    virtual BOOL RecvRawMsg(char* buffer, LONG size, LONG* count) = 0;
    virtual HRESULT get_RecvMsg(VARIANT* message) = 0;          // 33
    virtual HRESULT SendQuery(BSTR query, VARIANT* answer) = 0; // 34
    virtual HRESULT IsMsgAvailable(SHORT* available) = 0;       // 35
    virtual HRESULT ClearInstrument(SHORT* result) = 0;         // 36
    virtual HRESULT IsValidInterface(SHORT* valid) = 0;         // 37
    virtual SHORT GetInterfaceTypeValue() = 0;                  // 38: 0 = simulated
    // 39: the open transport's last error (then cleared), else the control's own;
    // FALSE when there is none. *text becomes a VT_BSTR VARIANT the caller clears.
    virtual BOOL GetCommError(VARIANT* text, LONG* code) = 0;
    virtual BOOL GoToLocal() = 0;              // 40
    virtual BOOL GoToRemote() = 0;             // 41
    virtual BOOL IsInstrumentResponding() = 0; // 42
    // 43: each out BSTR is replaced only when the transport has a text for it.
    virtual BOOL GetSerialSettings(BSTR* baud, BSTR* parity, BSTR* handshake) = 0;
    virtual HRESULT get_Files(BSTR* files) = 0; // 44: "Linkwell.ocx"

protected:
    ~IDualComm() = default;
};

inline constexpr IID IID_IDualComm = IDualComm::Iid;

// DISPIDs of the dispatch interface _DLinkwell.
enum LinkwellDispId : DISPID {
    DISPID_LW_InstID = 1,
    DISPID_LW_InterfaceType = 2,
    DISPID_LW_ControllerName = 3,
    DISPID_LW_Address = 4,
    DISPID_LW_Exclusive = 5,
    DISPID_LW_InterfaceName = 6,
    DISPID_LW_Version = 7,
    DISPID_LW_CommTimeout = 8,
    DISPID_LW_LanTimeout = 9,
    DISPID_LW_PollTimeout = 10,
    DISPID_LW_Files = 11,
    DISPID_LW_Properties = 12,
    DISPID_LW_Close = 13,
    DISPID_LW_SendMsg = 14,
    DISPID_LW_RecvMsg = 15,
    DISPID_LW_IsMsgAvailable = 16,
    DISPID_LW_Search = 17,
    DISPID_LW_ClearInstrument = 18,
    DISPID_LW_Open = 19,
    DISPID_LW_SendQuery = 20,
    DISPID_LW_IsValidInterface = 21,
};
