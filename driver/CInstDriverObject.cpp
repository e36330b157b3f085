#include "driver/CInstDriverObject.h"

#include "driver/DriverServer.h"
#include "platform/com/Activation.h"

namespace tvane::driver {

namespace {
ControlCreator& Creator() {
    static ControlCreator creator;
    return creator;
}
ISettingsPresenter*& Presenter() {
    static ISettingsPresenter* presenter = nullptr;
    return presenter;
}
} // namespace

ControlCreator SetControlCreator(ControlCreator creator) {
    ControlCreator previous = std::move(Creator());
    Creator() = std::move(creator);
    return previous;
}

void SetSettingsPresenter(ISettingsPresenter* presenter) {
    Presenter() = presenter;
}
ISettingsPresenter* SettingsPresenter() {
    return Presenter();
}

CInstDriverObject::CInstDriverObject(IUnknown* outer)
    : CInstDriverObject(outer, std::make_unique<CInstDriver>()) {}

CInstDriverObject::CInstDriverObject(IUnknown* outer, std::unique_ptr<CInstDriver> driver)
    : ComObjectRoot(outer, &DriverServerModule()), m_driver(std::move(driver)) {}

CInstDriverObject::~CInstDriverObject() = default;

HRESULT CInstDriverObject::FinalConstruct() {
    IUnknown* inner = nullptr;
    HRESULT hr =
        Creator() ? Creator()(ControllingUnknown(), &inner)
                  : CoCreateInstance(CLSID_LinkwellCtrl, ControllingUnknown(), CLSCTX_INPROC_SERVER,
                                     IID_IUnknown, reinterpret_cast<void**>(&inner));
    if (FAILED(hr) || !inner) {
        m_driver->SetError(1001);
        return FAILED(hr) ? hr : E_FAIL;
    }
    SetAggregate(inner);
    IUnknown* comm = nullptr;
    hr = QueryAggregateInterface(IID_IDualComm, reinterpret_cast<void**>(&comm));
    if (FAILED(hr) || !comm) {
        m_driver->SetError(1002);
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    m_comm = static_cast<IDualComm*>(comm);
    m_link.SetComm(m_comm);
    m_driver->SetLink(&m_link);
    m_driver->ClearError();
    return S_OK;
}

void CInstDriverObject::FinalRelease() {
    m_driver->SetLink(nullptr);
    m_link.SetComm(nullptr);
    IUnknown* comm = m_comm;
    m_comm = nullptr;
    if (comm)
        ReleaseAggregateInterface(comm);
}

IUnknown* CInstDriverObject::GetInterface(REFIID iid) {
    if (iid == IID_IInstDriver)
        return static_cast<IInstDriver*>(this);
    if (iid == IID_IDispatch)
        return static_cast<IDispatch*>(this);
    return nullptr;
}

IDispatch* CInstDriverObject::GetIDispatch() {
    IDispatch* dispatch = static_cast<IDispatch*>(this);
    dispatch->AddRef();
    return dispatch;
}

HRESULT CInstDriverObject::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CInstDriverObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CInstDriverObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT i = 0; ids && i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT CInstDriverObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

} // namespace tvane::driver
