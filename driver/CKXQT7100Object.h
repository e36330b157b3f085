#pragma once
#include "driver/CInstDriverObject.h"
#include "driver/CKXQT7100.h"
#include "platform/com/DispatchTable.h"

namespace tvane::driver {

// The QT7100 driver object ("KXQT7100.Drv32"): the 73 dispatch methods
// (DISPIDs 1-73) and IInstDriverData over one CKXQT7100, with the control
// aggregated as in CInstDriverObject.
class CKXQT7100Object final : public CInstDriverObject, public IInstDriverData {
public:
    explicit CKXQT7100Object(IUnknown* outer);

    TVANE_COM_DELEGATING_IUNKNOWN

    CKXQT7100& Kx() { return static_cast<CKXQT7100&>(Driver()); }

    // IInstDriver / IInstDriverData
    IDispatch* GetIDispatch() override { return CInstDriverObject::GetIDispatch(); }
    BOOL GetReadings(ReadingRecord* buffer, LONG capacity, LONG* count) override;
    BOOL FetchReadings(ReadingRecord* buffer, LONG requested, LONG* count) override;
    BOOL DownloadChannelConfig(CChannelConfig* config) override;
    CChannelConfig* UploadChannelConfig(SHORT channel, const char* moduleText, LONG* ok) override;
    BOOL ShowSettings(void* parent) override;

    // IDispatch
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    // The dispatch members, by DISPID.
    static const DispatchTable<CKXQT7100Object>& Table();

protected:
    IUnknown* GetInterface(REFIID iid) override;
};

} // namespace tvane::driver
