#pragma once
#include "comm/CCommCtrl.h"
#include "comm/IDualComm.h"
#include "platform/com/ComObject.h"
#include "platform/com/DispatchTable.h"
#include "platform/com/ErrorInfo.h"

namespace tvane::comm {

// The control as a COM object: IDualComm, the dispatch interface _DLinkwell
// (DISPIDs 1-21, also reached through IDualComm's Invoke) and ISupportErrorInfo,
// over one CCommCtrl. Aggregatable: the instrument driver creates it as its inner
// object.
class CCommCtrlObject final : public ComObjectRoot, public IDualComm, public ISupportErrorInfo {
public:
    explicit CCommCtrlObject(IUnknown* outer);

    TVANE_COM_DELEGATING_IUNKNOWN

    CCommCtrl& Control() { return m_ctrl; }

    // IDispatch
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // IDualComm
    HRESULT put_InterfaceType(SHORT type) override;
    HRESULT get_InterfaceType(SHORT* type) override;
    HRESULT get_InterfaceName(BSTR* name) override;
    HRESULT put_ControllerName(BSTR name) override;
    HRESULT get_ControllerName(BSTR* name) override;
    HRESULT put_Address(SHORT address) override;
    HRESULT get_Address(SHORT* address) override;
    HRESULT put_Exclusive(SHORT exclusive) override;
    HRESULT get_Exclusive(SHORT* exclusive) override;
    HRESULT get_InstID(BSTR* id) override;
    HRESULT get_Version(BSTR* version) override;
    HRESULT put_CommTimeout(LONG ms) override;
    HRESULT get_CommTimeout(LONG* ms) override;
    HRESULT put_LanTimeout(LONG ms) override;
    HRESULT get_LanTimeout(LONG* ms) override;
    HRESULT put_PollTimeout(LONG ms) override;
    HRESULT get_PollTimeout(LONG* ms) override;
    HRESULT Properties() override;
    HRESULT Close(SHORT* result) override;
    VARIANT* SearchInterface(VARIANT* result, const char* pattern, LONG flag) override;
    HRESULT Search(VARIANT* result) override;
    BOOL OpenInterface(const char* name, const char* address, SHORT exclusive) override;
    HRESULT Open(VARIANT name, VARIANT address, VARIANT exclusive, SHORT* result) override;
    BOOL SendRawMsg(const char* command) override;
    HRESULT SendMsg(BSTR message) override;
    BOOL RecvRawMsg(char* buffer, LONG size, LONG* count) override;
    HRESULT get_RecvMsg(VARIANT* message) override;
    HRESULT SendQuery(BSTR query, VARIANT* answer) override;
    HRESULT IsMsgAvailable(SHORT* available) override;
    HRESULT ClearInstrument(SHORT* result) override;
    HRESULT IsValidInterface(SHORT* valid) override;
    SHORT GetInterfaceTypeValue() override;
    BOOL GetCommError(VARIANT* text, LONG* code) override;
    BOOL GoToLocal() override;
    BOOL GoToRemote() override;
    BOOL IsInstrumentResponding() override;
    BOOL GetSerialSettings(BSTR* baud, BSTR* parity, BSTR* handshake) override;
    HRESULT get_Files(BSTR* files) override;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override;

    // The source named in the control's error information.
    static constexpr const char* kErrorSource = "Orvanta Quillmark Communications";

protected:
    IUnknown* GetInterface(REFIID iid) override;

private:
    // The dispatch interface's members, by DISPID.
    Variant DispSearch();
    Variant DispOpen(const VARIANT& name, const VARIANT& address, const VARIANT& exclusive);
    static const DispatchTable<CCommCtrlObject>& Table();

    CCommCtrl m_ctrl;
};

// A VARIANT of the search result: VT_ARRAY | VT_VARIANT of 1 row and 4 columns
// (type, address text, instrument id, interface name); VT_EMPTY for no selection.
VARIANT MakeSearchResult(const std::optional<SearchSelection>& selection);

} // namespace tvane::comm
