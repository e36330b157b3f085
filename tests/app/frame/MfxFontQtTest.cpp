#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include "app/frame/CTextButton.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "shared/view/MfxFontQt.h"
#include "tests/support/QtTestSupport.h"

namespace {

TEST(MfxFontQtTest, ArialDrawsWithLiberationSansAtThePixelHeight) {
    tvane::test::TestApp();
    const QtFontDevice device(96);
    ASSERT_TRUE(device.FindFace("Arial").has_value());
    const QFont font = CreateFontByPoints(&device, "Arial", 8, 8 | 1);
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    // Back to the stored description under the Windows name.
    const LOGFONT lf = FromQFont(font, 96);
    EXPECT_EQ(lf.FaceName(), "Arial");
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_GT(GetAverageCharWidth(font), 0);
}

TEST(MfxFontQtTest, DialogFontIsCreatedOnceAndReachesEveryChild) {
    tvane::test::TestApp();
    DeleteDialogFont();
    const QtFontDevice device(96);
    EXPECT_TRUE(CreateDialogFont(&device));
    EXPECT_FALSE(CreateDialogFont(&device));
    QWidget dialog;
    auto* label = new QLabel("x", &dialog);
    ApplyDialogFont(&dialog);
    EXPECT_EQ(QFontInfo(label->font()).family(), "Liberation Sans");
    EXPECT_EQ(label->font().pixelSize(), 11);
    DeleteDialogFont();
    EXPECT_EQ(DialogFont(), nullptr);
}

TEST(MfxFontQtTest, TextButtonLoadsItsStoredFormBack) {
    tvane::test::TestApp();
    CTextButton source;
    source.SetColor(0x000000FF);
    source.SetBackground(0x00404040);
    source.SetText("OVLD V");
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfWeight = 700;
    lf.SetFaceName("Arial");
    source.SetLogFont(lf);
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        source.Serialize(ar);
    }
    CTextButton loaded;
    stream.Seek(0);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.Text(), "OVLD V");
    EXPECT_EQ(loaded.Foreground(), 0x000000FFu);
    EXPECT_EQ(loaded.Background(), 0x00404040u);
    EXPECT_EQ(loaded.FontColor(), 0x000000FFu);
    EXPECT_EQ(loaded.Font().GetLogFont(), lf);
}

} // namespace
