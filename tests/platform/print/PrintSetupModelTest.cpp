#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/print/PrintSetupModel.h"

namespace tvane {
namespace {

const std::vector<PrintSetupModel::Paper> kPapers = {
    {"A4", "A4"}, {"Letter", "Letter / ANSI A"}, {"Legal", "Legal"}};

// The choices start from the settings, else from the defaults; OK stores every
// choice, and without OK the settings stay as they were.
TEST(PrintSetupModel, ChoicesStartFromTheSettingsAndOnlyOkStoresThem) {
    struct Case {
        const char* what;
        PrintSettings settings;
        std::vector<std::string> printers;
        int paper, printer;
    };
    const Case cases[] = {
        {"nothing set: the defaults", {}, {"desk", "lab"}, 1, 1},
        {"set ones", {"Legal", PageOrientation::Landscape, "desk"}, {"desk", "lab"}, 2, 0},
        {"gone ones: the defaults",
         {"B9", PageOrientation::Portrait, "old"},
         {"desk", "lab"},
         1,
         1},
        {"no print system", {"A4", PageOrientation::Portrait, "desk"}, {}, 0, -1},
    };
    for (const Case& c : cases) {
        PrintSettings settings = c.settings;
        {
            PrintSetupModel model(settings, kPapers, c.printers, "Letter", "lab");
            EXPECT_EQ(model.PaperIndex(), c.paper) << c.what;
            EXPECT_EQ(model.PrinterIndex(), c.printer) << c.what;
            EXPECT_EQ(model.HasPrinters(), !c.printers.empty()) << c.what;
            EXPECT_EQ(model.Orientation(), c.settings.orientation) << c.what;
            // Cancel: the choices change, the settings do not.
            model.SetPaperIndex(0);
            model.SetOrientation(PageOrientation::Landscape);
            model.SetPrinterIndex(0);
        }
        EXPECT_EQ(settings, c.settings) << c.what;

        PrintSetupModel model(settings, kPapers, c.printers, "Letter", "lab");
        model.SetPaperIndex(2);
        model.SetPaperIndex(7); // out of the list: kept as it was
        model.SetOrientation(PageOrientation::Landscape);
        model.SetPrinterIndex(c.printers.empty() ? 0 : 1);
        model.Ok();
        EXPECT_EQ(settings.paper, "Legal") << c.what;
        EXPECT_EQ(settings.orientation, PageOrientation::Landscape) << c.what;
        EXPECT_EQ(settings.printer, c.printers.empty() ? "" : "lab") << c.what;
    }
}

TEST(PrintSetupModel, NeedsPapersToOffer) {
    PrintSettings settings;
    EXPECT_THROW(PrintSetupModel(settings, {}, {}, "A4"), std::invalid_argument);
}

// Always, but on the scan setup page not during a scan.
TEST(PrintSetupModel, PrintingIsClosedOnTheSetupPageDuringAScan) {
    EXPECT_TRUE(PrintSetupModel::IsPrintEnabled(false, false));
    EXPECT_TRUE(PrintSetupModel::IsPrintEnabled(false, true));
    EXPECT_TRUE(PrintSetupModel::IsPrintEnabled(true, false));
    EXPECT_FALSE(PrintSetupModel::IsPrintEnabled(true, true));
}

} // namespace
} // namespace tvane
