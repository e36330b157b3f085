// Print Setup and Print Preview through the main window on the simulated
// instrument: their menu entries and enable rule, the dialog choosing the
// orientation, and the prints and previews of the setup grid and of a graphics
// page starting from the choice.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/CScanEngine.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CPrintSetupDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "app/frame/SetupViewPage.h"
#include "platform/print/PrintSettings.h"
#include "platform/print/PrintSetupModel.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// Width and height of every page of a PDF file, from its /MediaBox entries.
std::vector<std::pair<double, double>> PageSizes(const std::filesystem::path& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    static const std::regex box(
        R"(/MediaBox\s*\[\s*([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s*\])");
    std::vector<std::pair<double, double>> sizes;
    for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), box);
         it != std::sregex_iterator(); ++it)
        sizes.emplace_back(std::stod((*it)[3]) - std::stod((*it)[1]),
                           std::stod((*it)[4]) - std::stod((*it)[2]));
    return sizes;
}

class PrintSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramPrintSettings() = {};
        program.Start();
        if (HasFatalFailure())
            return;
        wiring = std::make_unique<DocumentWiring>(program.state, &program.connection, &frame);
    }
    void TearDown() override {
        wiring.reset();
        ProgramPrintSettings() = {};
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    bool Enabled(unsigned id) {
        frame.UpdateToolbars();
        return frame.Action(id)->isEnabled();
    }
    // Print Setup answered by the dialog: landscape or portrait, then OK or Cancel.
    void RunPrintSetup(bool landscape, bool ok, const char* picture = nullptr) {
        int shown = 0;
        WhenShown<CPrintSetupDialog>(
            [=](CPrintSetupDialog& d) {
                (landscape ? d.LandscapeRadio() : d.PortraitRadio())->click();
                if (picture) {
                    d.adjustSize();
                    EXPECT_TRUE(SaveArtifact(d, picture));
                }
                (ok ? d.OkButton() : d.CancelButton())->click();
            },
            &shown);
        frame.Action(cmd::kPrintSetup)->trigger();
        EXPECT_EQ(shown, 1);
    }
    // File Print of the setup grid onto a PDF file.
    std::filesystem::path PrintSetupGrid(const char* name) {
        const auto path = program.home.Data() / name;
        wiring->SetupPage()->View().SetPrinterSetup([path](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path.string()));
            return true;
        });
        frame.SelectPage(0);
        EXPECT_TRUE(Enabled(cmd::kFilePrint));
        frame.Action(cmd::kFilePrint)->trigger();
        return path;
    }
    // Print Preview of the shown page: its page count and orientation, its
    // picture saved, then closed.
    struct Preview {
        int pages = 0;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
    };
    Preview RunPrintPreview(const char* picture) {
        Preview preview;
        int shown = 0;
        WhenShown<QPrintPreviewDialog>(
            [&preview, picture](QPrintPreviewDialog& d) {
                auto* widget = d.findChild<QPrintPreviewWidget*>();
                ASSERT_NE(widget, nullptr);
                preview = {widget->pageCount(), d.printer()->pageLayout().orientation()};
                d.resize(800, 600);
                EXPECT_TRUE(SaveArtifact(d, picture));
                d.reject();
            },
            &shown);
        frame.Action(cmd::kFilePrintPreview)->trigger();
        EXPECT_EQ(shown, 1);
        return preview;
    }

    QApplication& app = TestApp();
    SimulatedProgram program;
    CMainFrame frame;
    std::unique_ptr<DocumentWiring> wiring;
};

// The File menu holds Print, Print Preview and Print Setup; Print Setup is
// open with or without a setup and on a graphics page during a run, but not on
// the scan setup page during a run, where Print and Print Preview close too.
TEST_F(PrintSetupTest, PrintSetupIsOnTheFileMenuWithItsRule) {
    ASSERT_FALSE(HasFatalFailure());
    QMenu* file = nullptr;
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == "&File")
            file = a->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(frame.Action(cmd::kPrintSetup)));
    EXPECT_TRUE(file->actions().contains(frame.Action(cmd::kFilePrint)));
    EXPECT_TRUE(file->actions().contains(frame.Action(cmd::kFilePrintPreview)));
    EXPECT_EQ(frame.Action(cmd::kPrintSetup)->text(), "Print Set&up...");
    EXPECT_EQ(frame.Action(cmd::kFilePrint)->text(), "&Print...");
    EXPECT_EQ(frame.Action(cmd::kFilePrintPreview)->text(), "Print Pre&view");

    EXPECT_TRUE(Enabled(cmd::kPrintSetup)) << "no setup yet";
    program.MakeSetup(doc(), 2);
    ASSERT_FALSE(HasFatalFailure());
    struct Case {
        int page;
        bool scanning, enabled;
    };
    for (const Case& c :
         {Case{0, false, true}, Case{0, true, false}, Case{1, false, true}, Case{1, true, true}}) {
        frame.SelectPage(c.page);
        if (c.scanning)
            doc().GetScanEngine().BeginRun();
        EXPECT_EQ(Enabled(cmd::kPrintSetup), c.enabled) << c.page << c.scanning;
        EXPECT_EQ(Enabled(cmd::kFilePrint), c.enabled) << c.page << c.scanning;
        EXPECT_EQ(Enabled(cmd::kFilePrintPreview), c.enabled) << c.page << c.scanning;
        if (c.scanning)
            doc().GetScanEngine().HaltRun();
    }
}

// Landscape chosen with OK comes out on the following prints of the setup grid
// and of a graphics page; a Cancel after it changes nothing.
TEST_F(PrintSetupTest, TheChosenOrientationReachesThePrints) {
    ASSERT_FALSE(HasFatalFailure());
    program.MakeSetup(doc(), 8);
    ASSERT_FALSE(HasFatalFailure());
    frame.resize(900, 650);

    const auto portrait = PageSizes(PrintSetupGrid("portrait.pdf"));
    ASSERT_FALSE(portrait.empty());
    for (const auto& [w, h] : portrait)
        EXPECT_LT(w, h);

    RunPrintSetup(true, true, "print_setup.png");
    EXPECT_EQ(ProgramPrintSettings().orientation, PageOrientation::Landscape);
    RunPrintSetup(false, false);
    EXPECT_EQ(ProgramPrintSettings().orientation, PageOrientation::Landscape) << "Cancel";

    const auto grid = PageSizes(PrintSetupGrid("landscape.pdf"));
    ASSERT_FALSE(grid.empty());
    for (const auto& [w, h] : grid) {
        EXPECT_GT(w, h);
        // The same paper, turned.
        EXPECT_NEAR(w, portrait[0].second, 1.0);
        EXPECT_NEAR(h, portrait[0].first, 1.0);
    }

    frame.SelectPage(1);
    const auto pagePdf = program.home.Data() / "page.pdf";
    ASSERT_TRUE(
        wiring->Graphics()->PrintCurrentPageToPdf(QString::fromStdString(pagePdf.string()), false));
    const auto page = PageSizes(pagePdf);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_GT(page[0].first, page[0].second);
}

// Print Preview shows the setup grid in the pages Print puts out, and the
// graphics page whole, both in the orientation Print Setup chose.
TEST_F(PrintSetupTest, PrintPreviewShowsThePagesThePrintPutsOut) {
    ASSERT_FALSE(HasFatalFailure());
    program.MakeSetup(doc(), 8);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(frame.CreateGraph(cmd::kStripChart));
    frame.resize(900, 650);
    RunPrintSetup(true, true);
    ASSERT_EQ(ProgramPrintSettings().orientation, PageOrientation::Landscape);

    frame.SelectPage(0);
    ASSERT_TRUE(Enabled(cmd::kFilePrintPreview));
    const Preview grid = RunPrintPreview("print_preview_setup.png");
    EXPECT_GE(grid.pages, 1);
    EXPECT_EQ(grid.orientation, QPageLayout::Landscape);
    EXPECT_EQ(grid.pages, int(PageSizes(PrintSetupGrid("grid.pdf")).size()));

    frame.SelectPage(1);
    ASSERT_TRUE(Enabled(cmd::kFilePrintPreview));
    const Preview page = RunPrintPreview("print_preview_graphics.png");
    EXPECT_EQ(page.pages, 1);
    EXPECT_EQ(page.orientation, QPageLayout::Landscape);
}

// Where the print system offers printers the dialog lists them, and OK keeps
// the one chosen with the paper.
TEST(PrintSetupDialog, ListsThePrintersOnOffer) {
    TestApp();
    PrintSettings settings{"Letter", PageOrientation::Portrait, "Office"};
    PrintSetupModel model(settings, {{"A4", "A4"}, {"Letter", "Letter"}, {"Legal", "Legal"}},
                          {"Bench laser", "Office"}, "A4", "Bench laser");
    CPrintSetupDialog dialog(model);
    dialog.show();
    EXPECT_TRUE(dialog.PrinterCombo()->isVisible());
    EXPECT_EQ(dialog.PrinterCombo()->currentText(), "Office");
    EXPECT_EQ(dialog.PaperCombo()->currentText(), "Letter");
    EXPECT_TRUE(dialog.PortraitRadio()->isChecked());
    dialog.PrinterCombo()->setCurrentIndex(0);
    dialog.PaperCombo()->setCurrentIndex(2);
    dialog.adjustSize();
    EXPECT_TRUE(SaveArtifact(dialog, "print_setup_printers.png"));
    dialog.OkButton()->click();
    EXPECT_EQ(settings, (PrintSettings{"Legal", PageOrientation::Portrait, "Bench laser"}));
}

} // namespace
} // namespace tvane::test
