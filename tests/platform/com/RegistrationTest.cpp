#include <gtest/gtest.h>

#include "platform/com/Registration.h"
#include "platform/registry/Registry.h"
#include "tests/support/TempHome.h"

using namespace tvane;

namespace {

constexpr RegHive kRoot = RegHive::ClassesRoot;
constexpr GUID kLib = MakeGuid("{3B83C790-68D3-4D15-A064-FFC42718CBFD}");
constexpr GUID kClass = MakeGuid("{3B83C793-68D3-4D15-A064-FFC42718CBFD}");
constexpr GUID kDual = MakeGuid("{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}");
constexpr GUID kScriptable = MakeGuid("{7DD95801-9882-11CF-9FA9-00AA006C42C4}");
constexpr GUID kInitializable = MakeGuid("{7DD95802-9882-11CF-9FA9-00AA006C42C4}");

using RegistrationTest = test::TempHomeTest;

TEST_F(RegistrationTest, ControlClassKeys) {
    ClassRegistration reg;
    reg.clsid = kClass;
    reg.progId = "LinkwellCtrl";
    reg.description = "QMComm Control";
    reg.modulePath = "/opt/tvane/Linkwell.so";
    reg.control = true;
    reg.insertable = true;
    reg.miscStatus = 0x20491;
    reg.toolboxBitmap = 1;
    reg.typeLib = kLib;
    ASSERT_EQ(RegisterClassKeys(reg), S_OK);
    const std::string key = "CLSID\\{3B83C793-68D3-4D15-A064-FFC42718CBFD}";
    EXPECT_EQ(RegGetString(kRoot, key + "\\MiscStatus\\1", ""), "132241");
    EXPECT_EQ(RegGetString(kRoot, key + "\\ToolboxBitmap32", ""), "/opt/tvane/Linkwell.so, 1");
    EXPECT_EQ(RegGetString(kRoot, key + "\\TypeLib", ""), "{3B83C790-68D3-4D15-A064-FFC42718CBFD}");
    EXPECT_EQ(RegGetString(kRoot, key + "\\Version", ""), "1.0");
    EXPECT_TRUE(RegKeyExists(kRoot, key + "\\Control"));
    EXPECT_TRUE(RegKeyExists(kRoot, "LinkwellCtrl\\Insertable"));

    ASSERT_EQ(RegisterClassImplCategories(kClass, {kScriptable, kInitializable}), S_OK);
    EXPECT_TRUE(
        RegKeyExists(kRoot, key + "\\Implemented Categories\\" + GuidToString(kScriptable)));
    ASSERT_EQ(UnRegisterClassImplCategories(kClass, {kScriptable, kInitializable}), S_OK);
    EXPECT_FALSE(RegKeyExists(kRoot, key + "\\Implemented Categories"));

    ASSERT_EQ(UnregisterClassKeys(kClass, "LinkwellCtrl"), S_OK);
    EXPECT_FALSE(RegKeyExists(kRoot, key));
    EXPECT_FALSE(RegKeyExists(kRoot, "LinkwellCtrl"));
    EXPECT_EQ(UnregisterClassKeys(kClass, "LinkwellCtrl"), S_OK); // already gone
}

TEST_F(RegistrationTest, TypeLibraryRoundTrip) {
    EXPECT_EQ(UnRegisterTypeLib(kLib, 1, 0), TYPE_E_REGISTRYACCESS); // never registered

    TypeLibRegistration lib;
    lib.libid = kLib;
    lib.name = "QMComm";
    lib.path = "/opt/tvane/Linkwell.so";
    lib.interfaces = {{kDual, "IDualComm"}};
    ASSERT_EQ(RegisterTypeLib(lib), S_OK);
    const std::string key = "TypeLib\\" + GuidToString(kLib) + "\\1.0";
    EXPECT_EQ(RegGetString(kRoot, key, ""), "QMComm");
    EXPECT_EQ(RegGetString(kRoot, key + "\\0\\linux", ""), "/opt/tvane/Linkwell.so");
    EXPECT_EQ(RegGetString(kRoot, "Interface\\" + GuidToString(kDual) + "\\TypeLib", ""),
              GuidToString(kLib));

    ASSERT_EQ(UnRegisterTypeLib(kLib, 1, 0), S_OK);
    EXPECT_FALSE(RegKeyExists(kRoot, "TypeLib\\" + GuidToString(kLib)));
    EXPECT_FALSE(RegKeyExists(kRoot, "Interface\\" + GuidToString(kDual)));
    EXPECT_EQ(UnRegisterTypeLib(kLib, 1, 0), TYPE_E_REGISTRYACCESS);
}

TEST_F(RegistrationTest, CategoryDescriptionIsCut) {
    const std::string longText(200, 'x');
    ASSERT_EQ(RegisterCategory(kScriptable, 0x409, longText), S_OK);
    const auto stored =
        RegGetString(kRoot, "Component Categories\\" + GuidToString(kScriptable), "409");
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, std::string(127, 'x'));
}

TEST_F(RegistrationTest, ClassFoundByDescriptionFirstMatchWins) {
    const GUID a = MakeGuid("{00000000-0000-0000-0000-00000000000A}");
    const GUID b = MakeGuid("{00000000-0000-0000-0000-00000000000B}");
    RegSetString(kRoot, "CLSID\\" + GuidToString(b), "", "KXQT7100.DRV32");
    RegSetString(kRoot, "CLSID\\" + GuidToString(a), "", "kxqt7100.drv32");
    RegSetString(kRoot, "CLSID\\not a guid", "", "Other");
    EXPECT_EQ(FindClassByDescription("KXQT7100.Drv32"), a);
    EXPECT_FALSE(FindClassByDescription("Other"));
    EXPECT_FALSE(FindClassByDescription("Missing"));
}

} // namespace
