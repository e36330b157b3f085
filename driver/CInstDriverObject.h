#pragma once
#include <memory>

#include "comm/IDualComm.h"
#include "driver/CInstDriver.h"
#include "driver/DualCommLink.h"
#include "driver/IInstDriverData.h"
#include "platform/com/ComObject.h"
#include "platform/com/Dispatch.h"

namespace tvane::driver {

// The generic driver object ("InstDriver.Drv32"): it aggregates the
// communications control, so a QueryInterface for any interface it does not
// implement (IDualComm, the control's dispatch interface, ISupportErrorInfo)
// reaches the control. Its dispatch interface has no members.
class CInstDriverObject : public ComObjectRoot, public IInstDriver, public IDispatch {
public:
    explicit CInstDriverObject(IUnknown* outer);

    TVANE_COM_DELEGATING_IUNKNOWN

    HRESULT FinalConstruct() override;

    // IInstDriver
    IDispatch* GetIDispatch() override;

    // IDispatch
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                          DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

    CInstDriver& Driver() { return *m_driver; }
    IDualComm* Comm() const { return m_comm; }

protected:
    CInstDriverObject(IUnknown* outer, std::unique_ptr<CInstDriver> driver);
    ~CInstDriverObject() override;

    IUnknown* GetInterface(REFIID iid) override;
    void FinalRelease() override;

private:
    std::unique_ptr<CInstDriver> m_driver;
    DualCommLink m_link;
    IDualComm* m_comm = nullptr;
};

} // namespace tvane::driver
