// Graphics pages through the main window on the simulated instrument: the
// Graphics menu makes displays on the shown page, a text display's text is kept
// with the setup file, and a page prints and copies.
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/text/CTextFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kTextCommand = 32817;

CTextFrame* OnlyTextFrame(CGraphViewWnd& page) {
    if (page.Model().GetFrameCount() != 1)
        return nullptr;
    return dynamic_cast<CTextFrame*>(page.Model().GetFrameList()->GetHead());
}

TEST(GraphicsPagesThroughFrame, ATextDisplayIsSavedWithTheSetupAndShownAgain) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    CMainFrame frame;
    DocumentWiring wiring(program.state, &program.connection, &frame);
    CLoggerDoc& doc = wiring.Document();
    program.MakeSetup(doc, 2);
    if (HasFatalFailure())
        return;
    ASSERT_NE(wiring.Graphics(), nullptr);
    frame.resize(900, 600);
    frame.show();
    frame.SelectPage(1);
    CGraphViewWnd* page = wiring.Graphics()->CurrentPage();
    ASSERT_NE(page, nullptr);

    // The Graphics menu lists every display the factory knows.
    QMenu* menu = wiring.Graphics()->Menu();
    ASSERT_TRUE(frame.menuBar()->actions().contains(menu->menuAction()));
    QStringList entries;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            entries << a->text();
    EXPECT_EQ(entries.size(), 14);
    EXPECT_TRUE(entries.contains("&Text"));
    EXPECT_TRUE(entries.contains("&Windows..."));
    // "Windows..." waits for a display.
    EXPECT_FALSE(frame.IsCommandEnabled(CGraphViewWnd::kWindows));

    // A display not built yet says so and adds nothing.
    for (const graphfactory::DisplayCommand& c : graphfactory::DisplayCommands()) {
        if (!graphfactory::FrameClassOf(c.commandId).empty())
            continue;
        prompter.asked.clear();
        EXPECT_TRUE(frame.OnCmdMsg(c.commandId));
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_EQ(prompter.asked.back().text, "This graph is currently not implemented.");
        EXPECT_EQ(page->Model().GetFrameCount(), 0);
        break;
    }

    // Graphics > Text makes a text display at (10, 10), selected.
    for (QAction* a : menu->actions())
        if (a->data().toUInt() == kTextCommand)
            a->trigger();
    CTextFrame* text = OnlyTextFrame(*page);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTitle(), "Text");
    EXPECT_TRUE(text->IsSelected());
    EXPECT_EQ(text->GetFrameRect().left, 10);
    EXPECT_TRUE(frame.IsCommandEnabled(CGraphViewWnd::kWindows));
    auto* edit = page->findChild<QPlainTextEdit*>("textbox");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, "Tank 3 level");
    EXPECT_EQ(text->GetTextBox()->GetText(), "Tank 3 level");
    EXPECT_TRUE(CGraphView::IsLayoutChanged());

    // The page into the build's artifacts.
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(*page, "graphics_page.png"));

    // Copy: one entry with the display's archive, a PNG and an SVG picture.
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditCopy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kGraphicMimeType));
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
    const QByteArray archive = data->data(kGraphicMimeType);
    const std::vector<std::uint8_t> stored = CGraphView::StoreFrame(*text);
    EXPECT_EQ(std::vector<std::uint8_t>(archive.begin(), archive.end()), stored);

    // The page prints on one PDF page.
    const QString pdf = QString::fromStdString(ArtifactPath("graphics_page.pdf").string());
    ASSERT_TRUE(wiring.Graphics()->PrintCurrentPageToPdf(pdf, false));
    EXPECT_GT(std::filesystem::file_size(pdf.toStdString()), 500u);

    // Saved with the setup, then read back: the page shows the same text.
    const std::string file = (program.home.Data() / "graphics.tvs").string();
    doc.WriteDocumentFile(file);
    page->Model().DeleteAllFrames();
    doc.ReadDocumentFile(file);
    CGraphViewWnd* reloaded = wiring.Graphics()->Page(0);
    ASSERT_NE(reloaded, nullptr);
    CTextFrame* again = OnlyTextFrame(*reloaded);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetTitle(), "Text");
    EXPECT_EQ(again->GetFrameRect(), (GRect{10, 10, 190, 66}));
    ASSERT_NE(reloaded->findChild<QPlainTextEdit*>("textbox"), nullptr);
    EXPECT_EQ(reloaded->findChild<QPlainTextEdit*>("textbox")->toPlainText(), "Tank 3 level");
    frame.SelectPage(1);
    QApplication::processEvents();
    ASSERT_TRUE(SaveArtifact(*reloaded, "graphics_page_reloaded.png"));

    // A setup file written before the pages kept their displays ends after the
    // page list: it loads, with one empty page.
    GraphicsWiring* graphics = wiring.Graphics();
    wiring.App().Frame()->SetPagesLayout({});
    const std::string old = (program.home.Data() / "before.tvs").string();
    doc.WriteDocumentFile(old);
    wiring.App().Frame()->SetPagesLayout(
        [graphics](CArchive& ar, std::uint32_t count) { graphics->SerializePages(ar, count); });
    doc.ReadDocumentFile(old);
    ASSERT_NE(graphics->Page(0), nullptr);
    EXPECT_EQ(graphics->Page(0)->Model().GetFrameCount(), 0);
    EXPECT_EQ(frame.GraphicsPageCount(), 1);
    frame.hide();
}

} // namespace
} // namespace tvane::test
