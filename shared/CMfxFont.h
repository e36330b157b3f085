#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/archive/CObject.h"

namespace tvane {
class CArchive;
}

// The largest point size of a font (the largest the font dialogs offer), and
// the largest height and width in pixels a display draws with: that point size
// on a screen of 120 dots per inch.
inline constexpr std::int32_t kMaxFontPoints = 1638;
inline constexpr std::int32_t kMaxFontPixels = 2730;

// A logical font description, field for field as documents store it.
struct LOGFONT {
    static constexpr std::size_t kFaceSize = 32;

    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[kFaceSize] = {};

    // Copies at most 31 characters so the name always ends in a terminator.
    void SetFaceName(std::string_view face);
    std::string FaceName() const;

    bool operator==(const LOGFONT& other) const;
};

// A font a display reads with its document and would draw with: a height or
// width beyond kMaxFontPixels either way is a damaged document, refused with
// the archive's error.
void CheckStoredFont(const LOGFONT& lf);

// A font that keeps its full description and the colour its text is drawn in.
// The description is the font; whether it has been "created" tracks the state a
// drawing owner relies on (a loaded font has its description but no font yet).
class CMfxFont : public tvane::CObject {
    DECLARE_SERIAL(CMfxFont)
public:
    CMfxFont() = default;
    CMfxFont(const CMfxFont& other);
    CMfxFont& operator=(const CMfxFont& other);

    // Creates the font from the stored description.
    bool CreateFont();
    // Creates the font from lf and keeps a copy of all of it.
    bool SetLogFont(const LOGFONT& lf);
    // Replaces the font; the fields are kept only when creation succeeds.
    bool CreateFromFields(std::int32_t height, std::int32_t width, std::int32_t escapement,
                          std::int32_t orientation, std::int32_t weight, std::uint8_t italic,
                          std::uint8_t underline, std::uint8_t strikeOut, std::uint8_t charSet,
                          std::uint8_t outPrecision, std::uint8_t clipPrecision,
                          std::uint8_t quality, std::uint8_t pitchAndFamily, std::string_view face);
    void DeleteObject() { m_created = false; }
    bool IsCreated() const { return m_created; }

    const LOGFONT& GetLogFont() const { return m_logFont; }
    std::uint32_t GetColor() const { return m_color; }
    void SetColor(std::uint32_t color) { m_color = color; }

    void Serialize(tvane::CArchive& ar) override;

private:
    LOGFONT m_logFont;
    std::uint32_t m_color = 0;
    bool m_created = false;
};

// Style flags of the font creation functions.
enum FontStyle : unsigned {
    kFontItalic = 1,
    kFontUnderline = 2,
    kFontStrikeOut = 4,
    kFontBold = 8,
    kFontVertical = 16,
    kFontVerticalDown = 64, // with kFontVertical: text runs downwards
    kFontThin = 128,        // by height only
};

constexpr std::uint8_t kOutTtPrecis = 4;

// What font creation needs of a drawing surface: its vertical resolution and the
// faces installed on it.
class IFontDevice {
public:
    virtual ~IFontDevice() = default;
    virtual int LogPixelsY() const = 0;
    // The description of the first installed font of that face, if any.
    virtual std::optional<LOGFONT> FindFace(std::string_view face) const = 0;
    // The stock variable-pitch font, used when a face is missing.
    virtual LOGFONT StockVariableFont() const = 0;
};

// Rounds number * numerator / denominator to the nearest whole number, halves
// away from zero; -1 on a zero denominator.
std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator);

// The descriptions the font creation functions create their fonts from.
LOGFONT LogFontByPoints(const IFontDevice& device, std::string_view face, std::int16_t points,
                        unsigned flags);
LOGFONT LogFontByHeight(const IFontDevice& device, std::string_view face, double height,
                        unsigned flags);

// Dialogs use "Arial" where the system supports double-byte characters.
std::string_view DialogFontFace(bool doubleByteSystem);
constexpr std::int16_t kDialogFontPoints = 8;
