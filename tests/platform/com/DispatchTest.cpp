#include <gtest/gtest.h>

#include "platform/com/Com.h"
#include "tests/platform/com/server/TestObject.h"

using namespace tvane;

namespace {

class CLocalTestObject final : public CTestObject {
public:
    explicit CLocalTestObject(IUnknown* outer) : CTestObject(outer, nullptr) {}
};

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateComInstance<CLocalTestObject>(nullptr, IID_IDispatch, dispatch.OutVoid()),
                  S_OK);
    }

    // Invoke with arguments in call order (reversed here as Invoke wants them).
    HRESULT Call(DISPID id, WORD flags, std::vector<Variant> args, Variant* result,
                 UINT* argError = nullptr, EXCEPINFO* info = nullptr) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params;
        params.rgvarg = reversed.empty() ? nullptr : reversed.data();
        params.cArgs = static_cast<UINT>(reversed.size());
        EXCEPINFO local;
        UINT err = 0;
        const HRESULT hr = dispatch->Invoke(id, IID_NULL, 0, flags, &params, result,
                                            info ? info : &local, argError ? argError : &err);
        ClearExcepInfo(&local);
        return hr;
    }

    ComPtr<IDispatch> dispatch;
};

TEST_F(DispatchTest, ChecksCountTypesAndMembers) {
    Variant result;
    EXPECT_EQ(Call(kAdd, DISPATCH_METHOD, {Variant(LONG(40)), Variant(SHORT(2))}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 42);

    // Arguments convert to the declared types where they can.
    EXPECT_EQ(Call(kAdd, DISPATCH_METHOD, {Variant("40"), Variant(2.0)}, &result), S_OK);
    EXPECT_EQ(result.lVal, 42);

    struct Case {
        const char* name;
        DISPID id;
        WORD flags;
        std::vector<Variant> args;
        HRESULT hr;
        UINT argError;
    };
    const Case cases[] = {
        {"text that is no number",
         kAdd,
         DISPATCH_METHOD,
         {Variant("x"), Variant(SHORT(1))},
         DISP_E_TYPEMISMATCH,
         1},
        {"second argument too big",
         kAdd,
         DISPATCH_METHOD,
         {Variant(LONG(1)), Variant(LONG(70000))},
         DISP_E_OVERFLOW,
         0},
        {"left out",
         kAdd,
         DISPATCH_METHOD,
         {Variant(LONG(1)), Variant::Missing()},
         DISP_E_PARAMNOTOPTIONAL,
         0},
        {"too few", kAdd, DISPATCH_METHOD, {Variant(LONG(1))}, DISP_E_BADPARAMCOUNT, 99},
        {"unknown DISPID", 99, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND, 99},
        {"by value where a reference is wanted",
         kFill,
         DISPATCH_METHOD,
         {Variant(SHORT(1)), Variant(1.0), Variant(true), Variant()},
         DISP_E_TYPEMISMATCH,
         3},
        {"a property called as a method", kVersion, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UINT argError = 99;
        Variant r;
        EXPECT_EQ(Call(c.id, c.flags, c.args, &r, &argError), c.hr);
        EXPECT_EQ(argError, c.argError);
    }
}

TEST_F(DispatchTest, PropertiesGetAndPut) {
    DispatchDriver driver(dispatch.Get(), false);
    driver.SetProperty(kValue, DispArg::I2(17)); // converted to the property's I4
    LONG value = 0;
    driver.GetProperty(kValue, VT_I4, &value);
    EXPECT_EQ(value, 17);
    std::string version;
    driver.GetProperty(kVersion, VT_BSTR, &version);
    EXPECT_EQ(version, "1.1");
    try {
        driver.SetProperty(kVersion, DispArg::Bstr("2.0"));
        FAIL() << "a read-only property took a value";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), DISP_E_MEMBERNOTFOUND);
    }
}

TEST_F(DispatchTest, DriverPassesReferencesAndTakesResults) {
    DispatchDriver driver;
    driver.AttachDispatch(dispatch.Get(), false);

    LONG sum = 0;
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, {DispArg::I4(1), DispArg::I2(2)});
    EXPECT_EQ(sum, 3);

    std::string echoed;
    const std::string arg = "hello \xC2\xB5";
    driver.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, {DispArg::Bstr(arg)});
    EXPECT_EQ(echoed, "echo: hello \xC2\xB5");

    SHORT count = 0;
    DOUBLE level = 0;
    BOOL flag = FALSE;
    Variant text;
    BOOL ok = FALSE;
    driver.InvokeHelper(kFill, DISPATCH_METHOD, VT_BOOL, &ok,
                        {DispArg::PI2(&count), DispArg::PR8(&level), DispArg::PBool(&flag),
                         DispArg::PVariant(&text)});
    EXPECT_EQ(ok, TRUE);
    EXPECT_EQ(count, 12);
    EXPECT_EQ(level, 2.5);
    EXPECT_EQ(flag, TRUE);
    EXPECT_EQ(text.ToString(), "filled");

    // A result of another type is converted to the one asked for.
    std::string sumText;
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_BSTR, &sumText, {DispArg::I4(5), DispArg::I2(6)});
    EXPECT_EQ(sumText, "11");

    EXPECT_EQ(driver.DetachDispatch(), dispatch.Get());
    EXPECT_THROW(driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum, {}), ComException);
}

TEST_F(DispatchTest, ArgumentsFromTypeCodes) {
    // As a wrapper generated from a table of parameter types passes them.
    DispatchDriver driver(dispatch.Get(), false);
    SHORT count = 0;
    DOUBLE level = 0;
    BOOL flag = FALSE;
    Variant text;
    const VARTYPE types[] = {VT_BYREF | VT_I2, VT_BYREF | VT_R8, VT_BYREF | VT_BOOL,
                             VT_BYREF | VT_VARIANT};
    const void* values[] = {&count, &level, &flag, &text};
    BOOL ok = FALSE;
    driver.InvokeHelper(kFill, DISPATCH_METHOD, VT_BOOL, &ok,
                        {DispArg::Of(types[0], values[0]), DispArg::Of(types[1], values[1]),
                         DispArg::Of(types[2], values[2]), DispArg::Of(types[3], values[3])});
    EXPECT_EQ(count, 12);
    EXPECT_EQ(flag, TRUE);
    EXPECT_EQ(text.ToString(), "filled");

    const std::string word = "typed";
    std::string echoed;
    driver.InvokeHelper(kEcho, DISPATCH_METHOD, VT_BSTR, &echoed, {DispArg::Of(VT_BSTR, &word)});
    EXPECT_EQ(echoed, "echo: typed");
    const LONG a = 4;
    const SHORT b = 5;
    LONG sum = 0;
    driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum,
                        {DispArg::Of(VT_I4, &a), DispArg::Of(VT_I2, &b)});
    EXPECT_EQ(sum, 9);
    EXPECT_THROW(DispArg::Of(VT_DATE, &level), ComException);
}

TEST_F(DispatchTest, TwoDimensionalTableResult) {
    DispatchDriver driver(dispatch.Get(), false);
    Variant table;
    driver.InvokeHelper(kTable, DISPATCH_METHOD, VT_VARIANT, &table,
                        {DispArg::I4(2), DispArg::I4(3)});
    ASSERT_EQ(table.vt, VT_ARRAY | VT_VARIANT);
    LONG rows = 0, cols = 0;
    SafeArrayGetUBound(table.parray, 1, &rows);
    SafeArrayGetUBound(table.parray, 2, &cols);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(cols, 2);
    const LONG index[2] = {1, 2};
    Variant cell;
    ASSERT_EQ(SafeArrayGetElement(table.parray, index, &cell), S_OK);
    EXPECT_EQ(cell.ToString(), "r1c2");
    // Asking again into the same variant frees the first table.
    driver.InvokeHelper(kTable, DISPATCH_METHOD, VT_VARIANT, &table,
                        {DispArg::I4(1), DispArg::I4(1)});
}

TEST_F(DispatchTest, FailuresBecomeExceptionsWithTheirDetails) {
    EXCEPINFO info;
    Variant r;
    ASSERT_EQ(Call(kFail, DISPATCH_METHOD, {}, &r, nullptr, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.wCode, 7);
    EXPECT_EQ(Utf8FromBstr(info.bstrDescription), "it failed");
    ClearExcepInfo(&info);

    DispatchDriver driver(dispatch.Get(), false);
    try {
        BOOL ok = FALSE;
        driver.InvokeHelper(kFail, DISPATCH_METHOD, VT_BOOL, &ok, {});
        FAIL() << "no exception";
    } catch (const DispatchException& e) {
        EXPECT_EQ(e.WCode(), 7);
        EXPECT_EQ(e.Source(), "ComTest");
        EXPECT_STREQ(e.what(), "it failed");
    }
    try {
        LONG sum = 0;
        driver.InvokeHelper(kAdd, DISPATCH_METHOD, VT_I4, &sum,
                            {DispArg::Bstr("x"), DispArg::I2(1)});
        FAIL() << "no exception";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), DISP_E_TYPEMISMATCH);
        EXPECT_STREQ(e.what(), "Type mismatch.");
    }
}

TEST_F(DispatchTest, ErrorInfoOfAVtableCallReachesTheException) {
    ComPtr<ITestValue> value;
    ASSERT_EQ(dispatch.As(value), S_OK);
    try {
        ThrowIfFailed(value->Check(-1), value.Get(), ITestValue::Iid);
        FAIL() << "no exception";
    } catch (const ComException& e) {
        EXPECT_EQ(e.Code(), E_INVALIDARG);
        EXPECT_EQ(e.Description(), "negative value");
        EXPECT_EQ(e.HelpContext(), 42u);
    }
    // For an interface that does not set it, the (stale) error object is dropped.
    value->Check(-1);
    try {
        ThrowIfFailed(E_FAIL, value.Get(), IID_IDispatch);
    } catch (const ComException& e) {
        EXPECT_EQ(e.Description(), "");
    }
    ComPtr<IErrorInfo> none;
    EXPECT_EQ(GetErrorInfo(0, none.Out()), S_FALSE);
}

TEST(DispatchTableTest, RefusesADispidTwice) {
    auto body = [](CLocalTestObject&, DispatchArgs&, Variant&) {};
    EXPECT_THROW(DispatchTable<CLocalTestObject>()
                     .Method(1, "A", VT_EMPTY, {}, body)
                     .Method(1, "B", VT_EMPTY, {}, body),
                 Exception);
}

TEST(DispatchTableTest, AMemberReadingTheWrongTypeFails) {
    struct Object {};
    const auto table = DispatchTable<Object>().Method(
        1, "Wrong", VT_I2, {VT_I4},
        [](Object&, DispatchArgs& a, Variant& r) { r = Variant(a.I2(0)); });
    Object object;
    Variant arg(LONG(5)), result;
    DISPPARAMS params;
    params.rgvarg = &arg;
    params.cArgs = 1;
    EXPECT_EQ(
        table.Invoke(&object, 1, IID_NULL, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
        DISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTest, NamesMapToDispids) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(u"echo")};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, kEcho);
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"Nothing"), const_cast<LPOLESTR>(u"arg")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, unknown, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], DISPID_UNKNOWN);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
}

} // namespace
