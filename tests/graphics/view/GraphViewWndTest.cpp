#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "graphics/GraphFactory.h"
#include "graphics/displays/text/CTextFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/CGraphicsWindowsDialog.h"
#include "graphics/view/GraphClipboard.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/support/QtTestSupport.h"

namespace {

using namespace graphicstest;
using tvane::test::WhenShown;

constexpr unsigned kText = 32817;

class GraphViewWndTest : public ::testing::Test {
protected:
    GraphViewWndTest() {
        graphgeo::FramePlacer::Program().SetCounter(0);
        SetGraphSheetRunner(&runner);
        page.resize(600, 400);
        page.show();
    }
    ~GraphViewWndTest() override { SetGraphSheetRunner(nullptr); }
    CTextFrame* AddText() {
        EXPECT_TRUE(page.RunCommand(kText));
        return dynamic_cast<CTextFrame*>(page.Model().GetSelected());
    }
    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeGraphDocument doc;
    QtGraphSheetRunner runner;
    std::vector<IView*> attached;
    CGraphViewWnd page{&doc, [this](IView* v) { attached.push_back(v); },
                       [this](IView* v) { std::erase(attached, v); }};
};

TEST_F(GraphViewWndTest, AnEmptyPageOffersOnlyWhatNeedsNoDisplay) {
    EXPECT_EQ(attached.size(), 1u);
    for (unsigned id : {CGraphViewWnd::kEditCopy, CGraphViewWnd::kEditCut, CGraphViewWnd::kDelete,
                        CGraphViewWnd::kWindows})
        EXPECT_FALSE(page.IsCommandEnabled(id)) << id;
    EXPECT_TRUE(page.IsCommandEnabled(CGraphViewWnd::kProperties));
    page.RunCommand(CGraphViewWnd::kNextDisplay);
    EXPECT_EQ(page.Model().GetSelected(), nullptr);
    CGraphView& model = page.Model();
    CGraphicsWindowsDialog dialog(model);
    EXPECT_EQ(dialog.List()->count(), 0);
    dialog.ActivateButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(GraphViewWndTest, TheGraphicsWindowsDialogActivatesAndDeletes) {
    CTextFrame* a = AddText();
    CTextFrame* b = AddText();
    CTextFrame* c = AddText();
    a->SetTitle("Alpha");
    b->SetTitle("Beta");
    c->SetTitle("Gamma");
    ASSERT_TRUE(page.IsCommandEnabled(CGraphViewWnd::kWindows));
    WhenShown<CGraphicsWindowsDialog>([this](CGraphicsWindowsDialog& d) {
        EXPECT_EQ(d.List()->count(), 3);
        EXPECT_EQ(d.List()->currentRow(), 0);
        ASSERT_TRUE(tvane::test::SaveArtifact(d, "graphics_windows_dialog.png"));
        // Deleting the last entry selects the one before it.
        d.List()->setCurrentRow(2);
        d.DeleteButton()->click();
        EXPECT_EQ(d.List()->count(), 2);
        EXPECT_EQ(d.List()->currentRow(), 1);
        d.List()->setCurrentRow(0);
        d.ActivateButton()->click();
    });
    page.RunCommand(CGraphViewWnd::kWindows);
    EXPECT_EQ(page.Model().GetFrameCount(), 2);
    EXPECT_EQ(page.Model().GetSelected(), a);
}

TEST_F(GraphViewWndTest, CtrlTabTheCloseButtonAndTheContextMenu) {
    CTextFrame* a = AddText();
    CTextFrame* b = AddText();
    page.Model().DeselectAll();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    page.setFocus();
    QTest::keyClick(&page, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(page.Model().GetSelected(), a);
    QTest::keyClick(&page, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(page.Model().GetSelected(), b);

    // The context menu offers Cut, Copy, Paste, Delete, Add Event and Properties.
    QStringList items;
    for (QAction* action : page.ContextMenu()->actions())
        if (!action->isSeparator())
            items << action->text();
    EXPECT_EQ(items, (QStringList{"Cu&t", "&Copy", "&Paste\t", "&Delete", "&Add Event...",
                                  "Properties..."}));

    // F1: the selected display's help (page 0, + 0x20000), else the page's.
    tvane::RecordingHelp help;
    tvane::ScopedService<tvane::IHelp> helpGuard(tvane::SetHelp, &help);
    QTest::keyClick(&page, Qt::Key_F1);
    page.Model().DeselectAll();
    QTest::keyClick(&page, Qt::Key_F1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11006 + 0x20000, 0x1806B}));
    page.Model().SelectFrame(b);

    // The close button asks, then deletes the display.
    auto* window = static_cast<CGraphFrameWnd*>(a->GetWindow());
    prompter.Script({tvane::MsgAnswer::Yes});
    window->CloseButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(page.Model().GetFrameCount(), 1);
    EXPECT_EQ(prompter.asked.back().text, "Are you sure you want to delete this graphic?");
}

TEST_F(GraphViewWndTest, PropertiesEditACloneOKReplacesCancelKeeps) {
    CTextFrame* original = AddText();
    static_cast<CGraphFrameWnd*>(original->GetWindow())
        ->findChild<QPlainTextEdit*>()
        ->setPlainText("kept");
    WhenShown<CGraphSheet>([](CGraphSheet& sheet) {
        // The title changes on the clone as it is typed; Cancel drops the clone.
        emit sheet.findChild<QLineEdit*>("labelText")->textEdited("Renamed");
        sheet.CancelButton()->click();
    });
    page.RunCommand(CGraphViewWnd::kProperties);
    EXPECT_EQ(page.Model().GetSelected(), original);
    EXPECT_EQ(original->GetTitle(), "Text");
    EXPECT_EQ(page.Model().GetFrameCount(), 1);

    WhenShown<CGraphSheet>([](CGraphSheet& sheet) {
        emit sheet.findChild<QLineEdit*>("labelText")->textEdited("Renamed");
        sheet.OkButton()->click();
    });
    page.RunCommand(CGraphViewWnd::kProperties);
    ASSERT_EQ(page.Model().GetFrameCount(), 1);
    auto* clone = dynamic_cast<CTextFrame*>(page.Model().GetSelected());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetTitle(), "Renamed");
    EXPECT_EQ(clone->GetTextBox()->GetText(), "kept");
    EXPECT_EQ(clone->GetFrameRect(), (GRect{10, 10, 190, 66}));
}

TEST_F(GraphViewWndTest, CopyPutsOneEntryAndPastePlacesTheCopyWhereTheUserClicks) {
    CTextFrame* a = AddText();
    ASSERT_TRUE(page.RunCommand(CGraphViewWnd::kEditCopy));
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(kGraphicMimeType));
    EXPECT_FALSE(data->imageData().value<QImage>().isNull());
    EXPECT_TRUE(page.IsCommandEnabled(CGraphViewWnd::kEditPaste));

    // The tracker follows the mouse; a click places the copy.
    QTimer::singleShot(20, [this] {
        QTest::mouseMove(&page, QPoint(200, 150));
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(200, 150));
    });
    ASSERT_TRUE(page.RunCommand(CGraphViewWnd::kEditPaste));
    ASSERT_EQ(page.Model().GetFrameCount(), 2);
    CGraphFrame* pasted = page.Model().GetSelected();
    ASSERT_NE(pasted, a);
    EXPECT_EQ(pasted->GetFrameRect().Width(), a->GetFrameRect().Width());
    EXPECT_EQ(CGraphView::StoreFrame(*pasted).size(), CGraphView::StoreFrame(*a).size());

    // Escape gives up: nothing is added and nothing said.
    const std::size_t asked = prompter.asked.size();
    QTimer::singleShot(20, [this] { QTest::keyClick(&page, Qt::Key_Escape); });
    page.RunCommand(CGraphViewWnd::kEditPaste);
    EXPECT_EQ(page.Model().GetFrameCount(), 2);
    EXPECT_EQ(prompter.asked.size(), asked);
    ASSERT_TRUE(tvane::test::SaveArtifact(page, "graphics_page_two_texts.png"));
}

} // namespace
