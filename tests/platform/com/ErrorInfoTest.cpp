#include <thread>

#include <gtest/gtest.h>

#include "platform/com/ComPtr.h"
#include "platform/com/ErrorInfo.h"

using namespace tvane;

namespace {

TEST(ErrorInfoTest, BelongsToOneThreadAndIsTakenOnce) {
    const GUID guid = MakeGuid("{6F604DC9-C58F-4D4B-A54F-C0A1134213E2}");
    EXPECT_EQ(ReportError(guid, E_FAIL, "Linkwell", "Port not open", 1007, "comm.hlp"), E_FAIL);

    bool otherThreadSawIt = true;
    std::thread([&] {
        ComPtr<IErrorInfo> info;
        otherThreadSawIt = GetErrorInfo(0, info.Out()) == S_OK;
    }).join();
    EXPECT_FALSE(otherThreadSawIt);

    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Out()), S_OK);
    const ErrorDetails d = ReadErrorInfo(info.Get());
    EXPECT_EQ(d.guid, guid);
    EXPECT_EQ(d.source, "Linkwell");
    EXPECT_EQ(d.description, "Port not open");
    EXPECT_EQ(d.helpFile, "comm.hlp");
    EXPECT_EQ(d.helpContext, 1007u);

    ComPtr<IErrorInfo> again;
    EXPECT_EQ(GetErrorInfo(0, again.Out()), S_FALSE);
    EXPECT_FALSE(again);
}

TEST(ErrorInfoTest, SettingReplacesAndNullClears) {
    ReportError(GUID_NULL, E_FAIL, "a", "first");
    ReportError(GUID_NULL, E_FAIL, "b", "second");
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Out()), S_OK);
    EXPECT_EQ(ReadErrorInfo(info.Get()).description, "second");

    SetErrorInfo(0, info.Get());
    SetErrorInfo(0, nullptr);
    EXPECT_EQ(GetErrorInfo(0, info.Out()), S_FALSE);
    // A stale error object is not offered for an object that does not support it.
    ReportError(GUID_NULL, E_FAIL, "c", "stale");
    EXPECT_FALSE(TakeErrorInfo(nullptr, IID_IUnknown, nullptr));
    EXPECT_EQ(GetErrorInfo(0, info.Out()), S_FALSE);
}

} // namespace
