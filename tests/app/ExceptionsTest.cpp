#include "database/CMfxFileException.h"
#include "database/DBException.h"
#include "platform/archive/CArchiveException.h"
#include "platform/com/ComException.h"
#include "platform/core/Services.h"
#include "platform/storage/StorageError.h"
#include "platform/ui/Prompter.h"
#include "shared/CGraphException.h"
#include "shared/ExceptionReport.h"
#include "shared/MainWindow.h"

#include <gtest/gtest.h>

#include <new>

namespace {

struct ClosingWindow : tvane::IMainWindow {
    void SendCommand(unsigned) override {}
    void PostClose() override { ++closes; }
    int closes = 0;
};

struct Tracked {
    explicit Tracked(bool* deleted) : m_deleted(deleted) {}
    ~Tracked() { *m_deleted = true; }
    bool* m_deleted;
};

class ExceptionTest : public ::testing::Test {
protected:
    tvane::ScriptedPrompter prompter;
    ClosingWindow window;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    tvane::ScopedService<tvane::IMainWindow> windowGuard{tvane::SetMainWindow, &window};
};

TEST_F(ExceptionTest, GraphWarningReportsInTheFixedFormatAndDeletesItsObject) {
    bool deleted = false;
    try {
        throw CGraphException(CGraphException::SerializationFailed, CMfxException::Warning,
                              std::make_shared<Tracked>(&deleted), "/src/graphics/Strip.cpp", 412,
                              "Tue May 14 12:16:20 2002");
    } catch (CMfxException& e) {
        EXPECT_EQ(e.GetReportText(),
                  "ERROR: Severity = Warning\nFile: /src/graphics/Strip.cpp, Line: 412, "
                  "Last Modified: Tue May 14 12:16:20 2002\nCause: Serialization Failed\n"
                  "Action To Take: Save Your Work");
        EXPECT_EQ(e.GetReportText(14), "ERROR: Severit");
        EXPECT_FALSE(deleted);
        e.Handle();
        EXPECT_TRUE(deleted);
    }
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text.rfind("ERROR: Severity = Warning\nFile: /src/", 0), 0u);
    EXPECT_EQ(prompter.asked[0].icon, tvane::MsgIcon::Warning);
    EXPECT_EQ(prompter.asked[0].buttons, tvane::MsgButtons::Ok);
    EXPECT_EQ(window.closes, 0);
}

TEST_F(ExceptionTest, FatalClosesAfterTheReportOtherSeveritiesAreWarnings) {
    CGraphException fatal(CGraphException::CreateFailed, CMfxException::Fatal, nullptr,
                          MFX_THROW_SITE);
    EXPECT_NE(fatal.GetReportText().find("Severity = Fatal\n"), std::string::npos);
    EXPECT_NE(fatal.GetReportText().find("Cause: Create Failed\n"), std::string::npos);
    fatal.Handle();
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(prompter.asked.size(), 1u) << "one report";
    CGraphException longReport(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                               std::string(400, 'f'), 1, "t");
    longReport.ShowReport();
    EXPECT_EQ(prompter.asked.back().text.size(), 255u) << "cut, never overrun";

    CGraphException odd(7, 2, nullptr, "f.cpp", 1, "t");
    EXPECT_EQ(odd.GetReportText(),
              "ERROR: Severity = \nFile: f.cpp, Line: 1, Last Modified: t\nCause: \n"
              "Action To Take: ");
    odd.Handle();
    EXPECT_EQ(window.closes, 1) << "an unknown severity is a warning";
    EXPECT_EQ(std::string(odd.what()), odd.GetReportText());
}

TEST_F(ExceptionTest, FileExceptionAppendsItsExtraText) {
    CMfxFileException bare(tvane::FileException::fileNotFound, -1, "/d/a.stg", nullptr);
    CMfxFileException extra(tvane::FileException::fileNotFound, -1, "/d/a.stg", "Setup1");
    EXPECT_EQ(bare.GetErrorMessage(), bare.tvane::FileException::GetErrorMessage());
    EXPECT_EQ(extra.GetErrorMessage(), bare.GetErrorMessage() + " Setup1");
    EXPECT_EQ(std::string(extra.what()), extra.GetErrorMessage());
    EXPECT_NE(bare.GetErrorMessage().find("/d/a.stg"), std::string::npos);
    EXPECT_EQ(extra.GetErrorMessage(5), extra.GetErrorMessage().substr(0, 5));
    EXPECT_THROW(ThrowMfxFileException(5, -1, "x", "y"), CMfxFileException);
    try {
        ThrowStorageException(tvane::STG_E_ACCESSDENIED, "/d/a.stg");
    } catch (const CMfxFileException& e) {
        EXPECT_EQ(e.Cause(), tvane::FileException::accessDenied);
        EXPECT_EQ(e.OsError(), -1);
        EXPECT_EQ(e.FileName(), "/d/a.stg");
        EXPECT_EQ(e.ExtraText(), "");
    }
    EXPECT_THROW(ThrowStorageException(tvane::STG_E_FILENOTFOUND, "a"), CMfxFileException);
    try {
        ThrowStorageException(tvane::STG_E_INVALIDHANDLE, "a");
        ADD_FAILURE();
    } catch (const tvane::ComException& e) {
        EXPECT_EQ(e.Code(), tvane::STG_E_INVALIDHANDLE);
    }
}

TEST(ExceptionHelp, MapsEachClassAndCauseToItsContext) {
    struct Case {
        std::exception_ptr e;
        unsigned id;
    };
    const Case cases[] = {
        {std::make_exception_ptr(std::bad_alloc()), 13000},
        {std::make_exception_ptr(tvane::NotSupportedException()), 13020},
        {std::make_exception_ptr(tvane::CArchiveException(tvane::CArchiveException::generic, "")),
         13005},
        {std::make_exception_ptr(tvane::CArchiveException(tvane::CArchiveException::readOnly, "")),
         13002},
        {std::make_exception_ptr(tvane::CArchiveException(tvane::CArchiveException::writeOnly, "")),
         13003},
        {std::make_exception_ptr(tvane::CArchiveException(tvane::CArchiveException::badSchema, "")),
         13008},
        {std::make_exception_ptr(tvane::CArchiveException(tvane::CArchiveException::none, "")),
         13001},
        {std::make_exception_ptr(tvane::FileException(1, -1, "f")), 13161},
        {std::make_exception_ptr(CMfxFileException(14, -1, "f", "x")), 13174},
        {std::make_exception_ptr(tvane::FileException(0, -1, "f")), 13160},
        {std::make_exception_ptr(tvane::FileException(15, -1, "f")), 13160},
        {std::make_exception_ptr(tvane::ResourceException()), 13040},
        {std::make_exception_ptr(tvane::StorageException(tvane::STG_E_FILENOTFOUND, "f")), 13162},
        {std::make_exception_ptr(tvane::StorageException(tvane::STG_E_INVALIDHANDLE, "f")), 13080},
        {std::make_exception_ptr(tvane::ComException(-1)), 13080},
        {std::make_exception_ptr(tvane::DispatchException("x")), 13140},
        {std::make_exception_ptr(tvane::DBException("08001", 0, "")), 13060},
        {std::make_exception_ptr(tvane::UserException()), 13120},
        {std::make_exception_ptr(CMfxException()), 102},
        {std::make_exception_ptr(std::runtime_error("x")), 102},
    };
    for (const Case& c : cases) {
        try {
            std::rethrow_exception(c.e);
        } catch (const std::exception& e) {
            EXPECT_EQ(GetExceptionHelpId(e), c.id) << typeid(e).name();
            if (c.id != 102) {
                EXPECT_TRUE(ExceptionTexts().Has(c.id)) << c.id;
            }
        }
    }
    EXPECT_EQ(ExceptionTexts().Load(13165), "File access denied.  ");
}

TEST_F(ExceptionTest, ErrorMessageNamesWhereOnlyWhenGiven) {
    CMfxFileException e(tvane::FileException::accessDenied, -1, "a.mdb", nullptr);
    ShowMfxErrorMessage(e, "", -1);
    ShowMfxErrorMessage(e, "Doc.cpp", -1);
    ShowMfxErrorMessage(e, "Doc.cpp", 42);
    ShowMfxErrorMessage(e, "", 42);
    const std::string msg = e.GetErrorMessage();
    const auto texts = prompter.Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], msg);
    EXPECT_EQ(texts[1], msg + "\nOccurred in File name: Doc.cpp");
    EXPECT_EQ(texts[2], msg + "\nOccurred in File name: Doc.cpp Line# 42");
    EXPECT_EQ(texts[3], msg + "\nOccurred in Line# 42");
    EXPECT_EQ(prompter.asked[0].helpId, 13165u);
}

} // namespace
