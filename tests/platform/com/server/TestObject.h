#pragma once
#include "platform/com/Com.h"
#include "platform/core/Format.h"

// A small automation object for the tests: a custom interface, a dispatch
// interface over a DispatchTable, and error information for the custom one.

class ITestValue : public IUnknown {
public:
    TVANE_INTERFACE_IID(ITestValue, "{0B5E3F64-7C1A-4B0E-9A2D-3C9F1E6A7B01}")
    virtual LONG GetValue() = 0;
    virtual void SetValue(LONG value) = 0;
    // Fails with error information for negative values.
    virtual HRESULT Check(LONG value) = 0;

protected:
    ~ITestValue() = default;
};

inline constexpr CLSID CLSID_TestObject = tvane::MakeGuid("{0B5E3F64-7C1A-4B0E-9A2D-3C9F1E6A7B02}");
inline constexpr const char* kTestProgId = "Tvane.ComTest.1";
inline constexpr IID IID_Unrelated = tvane::MakeGuid("{0B5E3F64-7C1A-4B0E-9A2D-3C9F1E6A7B0F}");

// DISPIDs of the dispatch interface.
enum TestDispid : DISPID {
    kAdd = 1,     // Add(I4, I2) -> I4
    kValue = 2,   // property I4
    kEcho = 3,    // Echo(BSTR) -> BSTR
    kFail = 4,    // Fail() raises a dispatch exception
    kFill = 5,    // Fill(PI2, PR8, PBOOL, PVARIANT) -> BOOL
    kTable = 6,   // Table(I4 rows, I4 columns) -> VARIANT (2-D SAFEARRAY of VARIANT)
    kVersion = 7, // read-only property BSTR
};

class CTestObject : public tvane::ComObjectRoot,
                    public ITestValue,
                    public IDispatch,
                    public ISupportErrorInfo {
public:
    CTestObject(IUnknown* outer, tvane::ServerModule* module) : ComObjectRoot(outer, module) {}
    TVANE_COM_DELEGATING_IUNKNOWN

    LONG GetValue() override { return m_value; }
    void SetValue(LONG value) override { m_value = value; }
    HRESULT Check(LONG value) override {
        if (value >= 0)
            return S_OK;
        return tvane::ReportError(ITestValue::Iid, E_INVALIDARG, "ComTest", "negative value", 42,
                                  "test.hlp");
    }

    HRESULT InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == ITestValue::Iid ? S_OK : S_FALSE;
    }

    HRESULT GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return Table().GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError) override {
        return Table().Invoke(this, id, iid, flags, params, result, exception, argError);
    }

protected:
    IUnknown* GetInterface(REFIID iid) override {
        if (iid == ITestValue::Iid)
            return static_cast<ITestValue*>(this);
        if (iid == IID_IDispatch)
            return static_cast<IDispatch*>(this);
        if (iid == IID_ISupportErrorInfo)
            return static_cast<ISupportErrorInfo*>(this);
        return nullptr;
    }

private:
    static const tvane::DispatchTable<CTestObject>& Table() {
        using tvane::DispatchArgs;
        using tvane::Variant;
        static const auto table =
            tvane::DispatchTable<CTestObject>()
                .Method(kAdd, "Add", VT_I4, {VT_I4, VT_I2},
                        [](CTestObject&, DispatchArgs& a, Variant& r) {
                            r = Variant(static_cast<LONG>(a.I4(0) + a.I2(1)));
                        })
                .Property(
                    kValue, "Value", VT_I4,
                    [](CTestObject& o, Variant& r) { r = Variant(o.m_value); },
                    [](CTestObject& o, const VARIANT& v) { o.m_value = v.lVal; })
                .Method(kEcho, "Echo", VT_BSTR, {VT_BSTR},
                        [](CTestObject&, DispatchArgs& a, Variant& r) {
                            r = Variant("echo: " + a.Str(0));
                        })
                .Method(kFail, "Fail", VT_BOOL, {},
                        [](CTestObject&, DispatchArgs&, Variant&) {
                            throw tvane::DispatchException("it failed", 7, 0, "ComTest");
                        })
                .Method(
                    kFill, "Fill", VT_BOOL,
                    {VT_BYREF | VT_I2, VT_BYREF | VT_R8, VT_BYREF | VT_BOOL, VT_BYREF | VT_VARIANT},
                    [](CTestObject&, DispatchArgs& a, Variant& r) {
                        a.RefI2(0) = 12;
                        a.RefR8(1) = 2.5;
                        a.RefBool(2) = VARIANT_TRUE;
                        Variant text("filled");
                        VARIANT& out = a.RefVariant(3);
                        tvane::VariantClear(&out);
                        out = text.Detach();
                        r = Variant(true);
                    })
                .Method(kTable, "Table", VT_VARIANT, {VT_I4, VT_I4},
                        [](CTestObject&, DispatchArgs& a, Variant& r) {
                            const SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(a.I4(0)), 0},
                                                              {static_cast<ULONG>(a.I4(1)), 0}};
                            tvane::SafeArrayHolder array(
                                tvane::SafeArrayCreate(VT_VARIANT, 2, bounds));
                            for (LONG row = 0; row < a.I4(0); ++row) {
                                for (LONG col = 0; col < a.I4(1); ++col) {
                                    const LONG index[2] = {row, col};
                                    Variant cell(tvane::Format("r%dc%d", row, col));
                                    tvane::SafeArrayPutElement(array.Get(), index, &cell);
                                }
                            }
                            r.Clear();
                            r.vt = VT_ARRAY | VT_VARIANT;
                            r.parray = array.Detach();
                        })
                .Property(kVersion, "Version", VT_BSTR,
                          [](CTestObject&, Variant& r) { r = Variant("1.1"); });
        return table;
    }

    LONG m_value = 0;
};
