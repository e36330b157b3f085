// The text display: a frame whose data area is one text box, stored with it.
#include <gtest/gtest.h>

#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/text/CTextFrame.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "shared/CGraphException.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/text/TextFakes.h"

namespace {

using namespace graphicstest;

class TextFrameTest : public ::testing::Test {
protected:
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeTextWindows windows;
    FakeViewWindow window;
    FakeGraphDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(TextFrameTest, TheTextFrameIsAWholeAreaTextBox) {
    // The family registers its frame under Graphics > Text.
    EXPECT_EQ(graphfactory::FrameClassOf(32817), "CTextFrame");
    CTextFrame frame;
    EXPECT_EQ(frame.OnViewHint(HINT_NEW_READINGS, {}), 0); // not ready before its window
    EXPECT_EQ(frame.m_rect, (GRect{10, 10, 190, 66}));
    ASSERT_TRUE(frame.CreateFrame(&view));
    auto* box = windows.textBox;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->rect, (GRect{0, 16, 176, 52}));
    EXPECT_EQ(frame.GetHelpId(1), 11106);
    EXPECT_EQ(frame.GetHelpId(5), 11006);

    GRAPHITEMPROPS font;
    font.mask = GRAPHITEMPROPS::kFont;
    EXPECT_FALSE(frame.GetAppearanceItem(2, font));
    EXPECT_TRUE(frame.GetAppearanceItem(3, font));
    GRAPHITEMPROPS back;
    back.mask = GRAPHITEMPROPS::kColor;
    back.color = 0x00FF00;
    EXPECT_TRUE(frame.SetAppearanceItem(2, back, true));
    EXPECT_EQ(box->back, 0x00FF00u);

    box->text = "first\nsecond";
    RecordingDC dc;
    EXPECT_TRUE(frame.DrawFrame(dc, nullptr));
    // The frame, then the box: one line per edit line, one text height apart.
    ASSERT_GE(dc.textPos.size(), 3u);
    EXPECT_EQ(dc.ops[dc.ops.size() - 3], "text:first");
    EXPECT_EQ(dc.textPos[dc.textPos.size() - 1].y - dc.textPos[dc.textPos.size() - 2].y, 10);

    const Bytes bytes = Store([&](tvane::CArchive& ar) { ar.WriteObject(&frame); });
    auto loaded = CGraphView::LoadFrame(bytes);
    ASSERT_NE(loaded, nullptr);
    auto* text = dynamic_cast<CTextFrame*>(loaded.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTextBox()->m_text, "first\nsecond");
    EXPECT_EQ(text->GetTextBox()->m_backColor, 0x00FF00u);
    ASSERT_TRUE(text->RecreateFrame(&view, 5));
    EXPECT_EQ(windows.textBox->text, "first\nsecond");
}

TEST(TextBoxTest, OutlineTabEnterAndItems) {
    FakeTextWindows windows;
    FakeFrameWindow parent({0, 0, 100, 100});
    CTextBox box;
    box.m_outline = 1;
    ASSERT_TRUE(box.Create(parent, {0, 0, 50, 40}, LOGFONT{}));
    EXPECT_EQ(windows.textBox->rect, (GRect{2, 2, 48, 38}));
    box.m_acceptTabEnter = 0;
    EXPECT_FALSE(box.AcceptsChar('\t'));
    EXPECT_FALSE(box.AcceptsChar('\r'));
    EXPECT_TRUE(box.AcceptsChar('a'));
    GRAPHITEMPROPS none;
    EXPECT_TRUE(box.GetAppearanceItem(9, none)); // an empty mask is answered for any item
    none.mask = GRAPHITEMPROPS::kColor;
    EXPECT_FALSE(box.GetAppearanceItem(9, none));
    windows.canCreate = false;
    CTextBox failing;
    try {
        failing.Create(parent, {0, 0, 10, 10}, LOGFONT{});
        FAIL();
    } catch (const CGraphException& e) {
        EXPECT_EQ(e.SourceFile(), "Textbox");
        EXPECT_EQ(e.Line(), 100);
    }
}

} // namespace
