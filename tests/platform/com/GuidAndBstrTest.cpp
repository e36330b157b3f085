#include <gtest/gtest.h>

#include "platform/com/Bstr.h"
#include "platform/com/Guid.h"

using namespace tvane;

namespace {

constexpr GUID kDualComm = MakeGuid("{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}");

TEST(GuidTest, FormatsAndParsesTheRegistryForm) {
    EXPECT_EQ(kDualComm.Data1, 0x6F604DC9u);
    EXPECT_EQ(kDualComm.Data2, 0xC58F);
    EXPECT_EQ(kDualComm.Data4[0], 0xA5);
    EXPECT_EQ(kDualComm.Data4[7], 0xE2);
    EXPECT_EQ(GuidToString(kDualComm), "{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}");
    EXPECT_EQ(ParseGuid("{6f604dc9-c58f-4d4b-a54f-c0a1134213e2}"), kDualComm);
    EXPECT_EQ(ParseGuid("6F604DC9-C58F-4D4B-A54F-C0A1134213E2"), kDualComm);
}

TEST(GuidTest, RejectsMalformedTexts) {
    for (const char* bad :
         {"", "{}", "{6F604DC9-C58F-4D4B-A54F-C0A1134213E}",
          "{6F604DC9-C58F-4D4B-A54F-C0A1134213E2", "(6F604DC9-C58F-4D4B-A54F-C0A1134213E2)",
          "{6F604DC9xC58F-4D4B-A54F-C0A1134213E2}", "{6F604DC9-C58F-4D4B-A54F-C0A1134213EG}"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseGuid(bad));
        CLSID clsid = kDualComm;
        EXPECT_EQ(CLSIDFromString(bad, &clsid), CO_E_CLASSSTRING);
        EXPECT_EQ(clsid, GUID_NULL);
    }
    // The class key names always carry braces.
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString("6F604DC9-C58F-4D4B-A54F-C0A1134213E2", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromString("{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}", &clsid), S_OK);
    EXPECT_EQ(clsid, kDualComm);
}

TEST(BstrTest, KeepsLengthPrefixAndEmbeddedZeros) {
    const char16_t text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[3], 0); // zero-terminated after the length
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(Utf8FromBstr(nullptr), "");

    EXPECT_TRUE(SysReAllocString(&s, u"longer text"));
    EXPECT_EQ(Utf8FromBstr(s), "longer text");
    SysFreeString(s);
    SysFreeString(nullptr);

    BSTR bytes = SysAllocStringByteLen("abc", 3);
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(SysStringLen(bytes), 1u);
    SysFreeString(bytes);
}

TEST(BstrTest, ConvertsUtf8BothWays) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"KXQT7100", u"KXQT7100"},
        {"\xC2\xB5V \xE2\x84\xA6", u"\u00B5V \u2126"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
        Bstr b(c.utf8);
        EXPECT_EQ(b.Utf8(), c.utf8);
        EXPECT_EQ(b.Length(), c.utf16.size());
    }
    // Bytes that are not UTF-8 (an ANSI degree sign, a cut sequence) survive as
    // Latin-1 characters instead of vanishing.
    EXPECT_EQ(Utf8ToUtf16("25\xB0"), u"25\u00B0");
    EXPECT_EQ(Utf8ToUtf16("a\xE2\x84"), u"a\u00E2\u0084");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(BstrTest, OwnerCopiesMovesAndHandsOver) {
    Bstr a("text");
    Bstr b = a;
    EXPECT_NE(a.Get(), b.Get());
    Bstr c = std::move(a);
    EXPECT_EQ(a.Get(), nullptr);
    BSTR raw = c.Detach();
    EXPECT_EQ(c.Get(), nullptr);
    Bstr d = Bstr::Attach(raw);
    EXPECT_EQ(d.Utf8(), "text");
    // Out() frees what is held before the callee writes.
    *d.Out() = SysAllocString(u"new");
    EXPECT_EQ(d.Utf8(), "new");
}

} // namespace
