#include <gtest/gtest.h>

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"

using namespace tvane;

namespace {

TEST(SafeArrayTest, TwoDimensionalVariantArrayKeepsEveryCell) {
    const SAFEARRAYBOUND bounds[2] = {{3, 0}, {5, 1}}; // rows 0..2, columns 1..5
    SafeArrayHolder array(SafeArrayCreate(VT_VARIANT, 2, bounds));
    ASSERT_TRUE(array.Get());
    EXPECT_EQ(SafeArrayGetDim(array.Get()), 2u);
    LONG lo = 0, hi = 0;
    EXPECT_EQ(SafeArrayGetLBound(array.Get(), 2, &lo), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array.Get(), 2, &hi), S_OK);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 5);
    EXPECT_EQ(SafeArrayGetUBound(array.Get(), 3, &hi), DISP_E_BADINDEX);

    for (LONG r = 0; r < 3; ++r) {
        for (LONG c = 1; c <= 5; ++c) {
            const LONG index[2] = {r, c};
            Variant cell =
                (c == 1) ? Variant(LONG(r)) : Variant("cell " + std::to_string(r * 10 + c));
            ASSERT_EQ(SafeArrayPutElement(array.Get(), index, &cell), S_OK);
        }
    }
    // Overwriting a cell frees the string it held.
    const LONG again[2] = {2, 5};
    Variant replacement(2.5);
    EXPECT_EQ(SafeArrayPutElement(array.Get(), again, &replacement), S_OK);

    for (LONG r = 0; r < 3; ++r) {
        for (LONG c = 1; c <= 5; ++c) {
            const LONG index[2] = {r, c};
            Variant cell;
            ASSERT_EQ(SafeArrayGetElement(array.Get(), index, &cell), S_OK);
            if (c == 1)
                EXPECT_EQ(cell.lVal, r);
            else if (r == 2 && c == 5)
                EXPECT_EQ(cell.dblVal, 2.5);
            else
                EXPECT_EQ(cell.ToString(), "cell " + std::to_string(r * 10 + c));
        }
    }
    // The first index varies fastest in memory.
    VARIANT* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array.Get(), reinterpret_cast<void**>(&data)), S_OK);
    EXPECT_EQ(data[1].lVal, 1);
    EXPECT_EQ(SafeArrayUnaccessData(array.Get()), S_OK);

    const LONG outside[2][2] = {{3, 1}, {0, 0}};
    for (const auto& index : outside) {
        Variant cell;
        EXPECT_EQ(SafeArrayGetElement(array.Get(), index, &cell), DISP_E_BADINDEX);
    }
}

TEST(SafeArrayTest, CopiesDeepAndRefusesToDestroyWhileLocked) {
    SafeArrayHolder strings(SafeArrayCreateVector(VT_BSTR, 0, 2));
    const LONG first = 0;
    Bstr text("first");
    ASSERT_EQ(SafeArrayPutElement(strings.Get(), &first, text.Get()), S_OK);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(strings.Get(), &copy), S_OK);
    SafeArrayHolder copyHolder(copy);
    BSTR a = nullptr, b = nullptr;
    ASSERT_EQ(SafeArrayGetElement(strings.Get(), &first, &a), S_OK);
    ASSERT_EQ(SafeArrayGetElement(copy, &first, &b), S_OK);
    EXPECT_NE(a, b);
    EXPECT_EQ(Utf8FromBstr(b), "first");
    SysFreeString(a);
    SysFreeString(b);

    ASSERT_EQ(SafeArrayLock(copy), S_OK);
    EXPECT_EQ(SafeArrayDestroy(copy), DISP_E_ARRAYISLOCKED);
    ASSERT_EQ(SafeArrayUnlock(copy), S_OK);
    EXPECT_EQ(SafeArrayUnlock(copy), E_UNEXPECTED);

    // A variant that holds the array frees it with everything in it.
    Variant holder;
    holder.vt = VT_ARRAY | VT_BSTR;
    holder.parray = strings.Detach();
    Variant duplicate = holder;
    EXPECT_NE(duplicate.parray, holder.parray);
}

TEST(SafeArrayTest, RejectsUnsupportedTypesAndShapes) {
    const SAFEARRAYBOUND bound{2, 0};
    EXPECT_EQ(SafeArrayCreate(VT_EMPTY, 1, &bound), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &bound), nullptr);
    SafeArrayHolder empty(SafeArrayCreateVector(VT_R8, 0, 0));
    ASSERT_TRUE(empty.Get());
    LONG hi = 0;
    EXPECT_EQ(SafeArrayGetUBound(empty.Get(), 1, &hi), S_OK);
    EXPECT_EQ(hi, -1);
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(empty.Get(), &vt), S_OK);
    EXPECT_EQ(vt, VT_R8);
}

} // namespace
