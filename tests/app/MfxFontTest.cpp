#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/DrawButtonState.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/archive/MemoryStream.h"
#include "shared/CMfxFont.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <class T> Bytes Store(T& object) {
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        object.Serialize(ar);
    }
    return stream.TakeBytes();
}

template <class T> void Load(const Bytes& bytes, T& object) {
    tvane::MemoryStream stream(bytes);
    tvane::CArchive ar(stream, tvane::CArchive::load);
    object.Serialize(ar);
}

void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

void PutText(Bytes& b, const std::string& text) {
    b.push_back(std::uint8_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
}

// The stored form built by hand: colour, five 32-bit fields, eight bytes, face.
Bytes FontBytes(const LOGFONT& lf, std::uint32_t color) {
    Bytes b;
    Put32(b, color);
    for (std::int32_t v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight})
        Put32(b, std::uint32_t(v));
    for (std::uint8_t v :
         {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision,
          lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily})
        b.push_back(v);
    PutText(b, lf.FaceName());
    return b;
}

LOGFONT Make(std::int32_t height, std::int32_t escapement, std::int32_t weight, std::uint8_t italic,
             std::uint8_t charSet, std::uint8_t pitch, const char* face) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = height < 0 ? 0 : 7;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = italic;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = 4;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = pitch;
    lf.SetFaceName(face);
    return lf;
}

TEST(MfxFontTest, StoredFormMatchesByteForByteAndLoadsBack) {
    struct Case {
        LOGFONT lf;
        std::uint32_t color;
    };
    const Case cases[] = {
        {LOGFONT{}, 0},                                               // as constructed
        {Make(-11, 0, 400, 0, 0, 0x22, "Arial"), 0x00FFFF00},         // dialog-like
        {Make(-24, 900, 700, 1, 2, 0x31, "Courier New"), 0x000000FF}, // vertical, bold
        {Make(18, -900, 100, 0, 0x80, 0x12, "MS Sans Serif"), 0xFFFFFFFF},
        {Make(-2147483647 - 1, 0, 1000, 255, 255, 255, "abcdefghijklmnopqrstuvwxyz01234"),
         0x00123456}, // extremes, face filling the field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lf.FaceName());
        CMfxFont font;
        font.SetLogFont(c.lf);
        font.SetColor(c.color);
        const Bytes bytes = Store(font);
        EXPECT_EQ(bytes, FontBytes(c.lf, c.color));

        CMfxFont loaded;
        Load(bytes, loaded);
        EXPECT_EQ(loaded.GetLogFont(), c.lf);
        EXPECT_EQ(loaded.GetColor(), c.color);
        // A loaded font has its description but no font until created.
        EXPECT_FALSE(loaded.IsCreated());
        EXPECT_TRUE(loaded.CreateFont());
        EXPECT_TRUE(loaded.IsCreated());
    }
}

TEST(MfxFontTest, OverlongStoredFaceIsCutToTheField) {
    LOGFONT lf = Make(-13, 0, 400, 0, 0, 0x22, "");
    Bytes bytes = FontBytes(lf, 7);
    bytes.pop_back(); // empty face's length byte
    PutText(bytes, std::string(200, 'F'));
    CMfxFont loaded;
    Load(bytes, loaded);
    EXPECT_EQ(loaded.GetLogFont().FaceName(), std::string(31, 'F'));
    EXPECT_EQ(loaded.GetLogFont().lfFaceName[31], '\0');
}

TEST(MfxFontTest, TruncatedRecordFailsToLoad) {
    CMfxFont font;
    font.SetLogFont(Make(-13, 0, 400, 0, 0, 0x22, "Arial"));
    Bytes bytes = Store(font);
    bytes.resize(bytes.size() - 3);
    CMfxFont loaded;
    EXPECT_THROW(Load(bytes, loaded), tvane::CArchiveException);
}

TEST(MfxFontTest, AssignmentRecreatesFromTheOthersDescription) {
    CMfxFont source;
    source.SetLogFont(Make(-20, 0, 700, 1, 0, 0x22, "Arial"));
    source.SetColor(0xFF);
    CMfxFont target;
    target.SetColor(0xFF00);
    target = source;
    EXPECT_EQ(target.GetLogFont(), source.GetLogFont());
    EXPECT_TRUE(target.IsCreated());
    EXPECT_EQ(target.GetColor(), 0xFF00u);
}

TEST(ButtonArchiveTest, DrawButtonStoresForegroundThenBackground) {
    DrawButtonState state;
    EXPECT_EQ(state.foreground, 0x0000FFFFu); // yellow
    EXPECT_EQ(state.background, 0u);
    state = {0x00112233, 0x00445566};
    EXPECT_EQ(Store(state), (Bytes{0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}));
    DrawButtonState loaded;
    Load(Store(state), loaded);
    EXPECT_EQ(loaded.foreground, 0x00112233u);
    EXPECT_EQ(loaded.background, 0x00445566u);
}

TEST(ButtonArchiveTest, TextButtonStoresSurfaceTextThenFont) {
    TextButtonState state;
    EXPECT_EQ(state.surface.foreground, TextButtonState::kCyan);
    EXPECT_EQ(state.font.GetColor(), TextButtonState::kCyan);
    const LOGFONT& initial = state.font.GetLogFont();
    EXPECT_EQ(initial, [] {
        LOGFONT lf;
        lf.lfHeight = -13;
        lf.lfWeight = 400;
        lf.lfPitchAndFamily = 0x22;
        lf.SetFaceName("MS Sans Serif");
        return lf;
    }());

    state.text = "12.5 V";
    state.mode = 1; // not stored
    Bytes expected;
    Put32(expected, TextButtonState::kCyan);
    Put32(expected, 0);
    PutText(expected, "12.5 V");
    const Bytes font = FontBytes(initial, TextButtonState::kCyan);
    expected.insert(expected.end(), font.begin(), font.end());
    EXPECT_EQ(Store(state), expected);

    TextButtonState loaded;
    loaded.text = "old";
    loaded.font.SetColor(0);
    Load(expected, loaded);
    EXPECT_EQ(loaded.text, "12.5 V");
    EXPECT_EQ(loaded.font.GetColor(), TextButtonState::kCyan);
    EXPECT_EQ(loaded.font.GetLogFont(), initial);
    EXPECT_EQ(loaded.mode, 0);
}

class FakeFontDevice final : public IFontDevice {
public:
    explicit FakeFontDevice(int dpi) : m_dpi(dpi) {}
    int LogPixelsY() const override { return m_dpi; }
    std::optional<LOGFONT> FindFace(std::string_view face) const override {
        if (face == "arial" || face == "Arial") {
            LOGFONT lf;
            lf.lfPitchAndFamily = 0x22;
            lf.lfCharSet = 0;
            lf.SetFaceName("Arial");
            return lf;
        }
        if (face == "Symbol") { // enumerates a different face
            LOGFONT lf;
            lf.SetFaceName("Wingdings");
            return lf;
        }
        return std::nullopt;
    }
    LOGFONT StockVariableFont() const override {
        LOGFONT lf;
        lf.lfHeight = -13;
        lf.lfWeight = 400;
        lf.lfCharSet = 0;
        lf.lfPitchAndFamily = 0x22;
        lf.SetFaceName("MS Sans Serif");
        return lf;
    }

private:
    int m_dpi;
};

TEST(FontCreationTest, PointsBecomeNegativeHeightsAtTheDevicesResolution) {
    struct Case {
        int dpi;
        std::int16_t points;
        std::int32_t height;
    };
    for (const Case c : {Case{96, 8, -11}, Case{96, 10, -13}, Case{72, 8, -8}, Case{120, 8, -13},
                         Case{144, 9, -18}, Case{96, 0, 0}}) {
        const FakeFontDevice device(c.dpi);
        EXPECT_EQ(LogFontByPoints(device, "Arial", c.points, 0).lfHeight, c.height)
            << c.dpi << " dpi, " << c.points << " pt";
    }
}

TEST(FontCreationTest, FaceAndStyleFlags) {
    const FakeFontDevice device(96);
    struct Case {
        const char* face;
        unsigned flags;
        const char* expectedFace;
        std::int32_t weight, escapement;
        std::uint8_t italic, underline, strikeOut;
    };
    const Case cases[] = {
        {"Arial", 0, "Arial", 400, 0, 0, 0, 0},
        {"ARIAL", 8, "MS Sans Serif", 700, 0, 0, 0, 0}, // not installed
        {"arial", 1 | 2 | 4, "Arial", 400, 0, 1, 1, 1}, // names compare case-blind
        {"", 16, "MS Sans Serif", 400, 900, 0, 0, 0},
        {"Missing Face", 16 | 64 | 8, "MS Sans Serif", 700, -900, 0, 0, 0},
        {"Symbol", 64, "MS Sans Serif", 400, 0, 0, 0, 0},
        {"Arial", 128, "Arial", 400, 0, 0, 0, 0}, // thin only by height
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " flags " + std::to_string(c.flags));
        const LOGFONT lf = LogFontByPoints(device, c.face, 12, c.flags);
        EXPECT_EQ(lf.FaceName(), c.expectedFace);
        EXPECT_EQ(lf.lfHeight, -16);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfWeight, c.weight);
        EXPECT_EQ(lf.lfEscapement, c.escapement);
        EXPECT_EQ(lf.lfItalic, c.italic);
        EXPECT_EQ(lf.lfUnderline, c.underline);
        EXPECT_EQ(lf.lfStrikeOut, c.strikeOut);
    }
}

TEST(FontCreationTest, ByHeightKeepsTheWholeHeightAndAsksForTrueType) {
    const FakeFontDevice device(96);
    const LOGFONT thin = LogFontByHeight(device, "Arial", -14.9, 128);
    EXPECT_EQ(thin.lfHeight, -14);
    EXPECT_EQ(thin.lfWeight, 100);
    EXPECT_EQ(thin.lfOutPrecision, kOutTtPrecis);
    EXPECT_EQ(LogFontByHeight(device, "Arial", 20.0, 128 | 8).lfWeight, 700);
    EXPECT_EQ(LogFontByHeight(device, "Arial", 1e300, 0).lfHeight, 2147483647);
}

TEST(FontCreationTest, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(-8, 96, 72), -11);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

TEST(FontCreationTest, DialogFace) {
    EXPECT_EQ(DialogFontFace(true), "Arial");
    EXPECT_EQ(DialogFontFace(false), "MS Sans Serif");
}

} // namespace
