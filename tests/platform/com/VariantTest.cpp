#include <cmath>

#include <gtest/gtest.h>

#include "platform/com/ComException.h"
#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

using namespace tvane;

namespace {

TEST(VariantTest, ChangeTypeFollowsTheAutomationRules) {
    struct Case {
        const char* name;
        Variant from;
        VARTYPE to;
        HRESULT hr;
        std::string text; // the result as text when hr is S_OK
    };
    const Case cases[] = {
        {"I2 to I4", Variant(SHORT(-5)), VT_I4, S_OK, "-5"},
        {"I4 too big for I2", Variant(LONG(40000)), VT_I2, DISP_E_OVERFLOW, ""},
        {"R8 half rounds to even (down)", Variant(2.5), VT_I4, S_OK, "2"},
        {"R8 half rounds to even (up)", Variant(3.5), VT_I2, S_OK, "4"},
        {"R8 negative half", Variant(-2.5), VT_I4, S_OK, "-2"},
        {"R8 overflow", Variant(1e12), VT_I4, DISP_E_OVERFLOW, ""},
        {"NaN", Variant(std::nan("")), VT_I4, DISP_E_OVERFLOW, ""},
        {"text to I2", Variant(" 12 "), VT_I2, S_OK, "12"},
        {"decimal text to I4", Variant("12.5"), VT_I4, S_OK, "12"},
        {"text to R8", Variant("1.5E+3"), VT_R8, S_OK, "1500"},
        {"text not a number", Variant("abc"), VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"empty text", Variant(""), VT_I4, DISP_E_TYPEMISMATCH, ""},
        {"text to BOOL", Variant("True"), VT_BOOL, S_OK, "True"},
        {"zero to BOOL", Variant(0.0), VT_BOOL, S_OK, "False"},
        {"empty to I4", Variant(), VT_I4, S_OK, "0"},
        {"empty to BSTR", Variant(), VT_BSTR, S_OK, ""},
        {"R8 to BSTR", Variant(0.1), VT_BSTR, S_OK, "0.1"},
        {"big R8 to BSTR", Variant(1e20), VT_BSTR, S_OK, "1E+20"},
        {"error to I4", Variant::Missing(), VT_I4, DISP_E_TYPEMISMATCH, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Variant out;
        EXPECT_EQ(VariantChangeType(&out, &c.from, 0, c.to), c.hr);
        if (c.hr == S_OK) {
            EXPECT_EQ(out.vt, c.to);
            EXPECT_EQ(out.ToString(), c.text);
        } else {
            EXPECT_EQ(out.vt, VT_EMPTY); // a failed conversion leaves the target alone
        }
    }
    Variant null;
    null.vt = VT_NULL;
    Variant out;
    EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_I4), DISP_E_TYPEMISMATCH);
}

TEST(VariantTest, BoolTextDependsOnTheFlag) {
    Variant yes(true), out;
    ASSERT_EQ(VariantChangeType(&out, &yes, 0, VT_BSTR), S_OK);
    EXPECT_EQ(Utf8FromBstr(out.bstrVal), "-1");
    ASSERT_EQ(VariantChangeType(&out, &yes, VARIANT_ALPHABOOL, VT_BSTR), S_OK);
    EXPECT_EQ(Utf8FromBstr(out.bstrVal), "True");
}

TEST(VariantTest, ByReferenceSourcesAreFollowed) {
    SHORT value = 7;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &value;
    Variant out;
    ASSERT_EQ(VariantChangeType(&out, &ref, 0, VT_BSTR), S_OK);
    EXPECT_EQ(out.ToString(), "7");

    Variant text("inner");
    VARIANT varRef;
    varRef.vt = VT_BYREF | VT_VARIANT;
    varRef.pvarVal = &text;
    Variant copy;
    ASSERT_EQ(VariantCopyInd(&copy, &varRef), S_OK);
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, text.bstrVal); // its own string
    EXPECT_EQ(copy.ToString(), "inner");
}

TEST(VariantTest, ConvertsInPlaceAndOwnsItsValue) {
    Variant v("42");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I4), S_OK); // the old BSTR is freed
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 42);

    Variant a("shared?");
    Variant b = a;
    EXPECT_NE(a.bstrVal, b.bstrVal);
    Variant c = std::move(b);
    EXPECT_EQ(b.vt, VT_EMPTY);
    a = c;
    EXPECT_EQ(a.ToString(), "shared?");
    EXPECT_THROW(c.ToI4(), ComException);
    EXPECT_EQ(Variant("7").ToI2(), 7);
}

} // namespace
