#include "shared/CMfxFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CMfxFont, tvane::CObject, 0)

void LOGFONT::SetFaceName(std::string_view face) {
    const std::size_t n = std::min(face.size(), kFaceSize - 1);
    std::memset(lfFaceName, 0, kFaceSize);
    std::memcpy(lfFaceName, face.data(), n);
}

std::string LOGFONT::FaceName() const {
    return std::string(lfFaceName, strnlen(lfFaceName, kFaceSize));
}

bool LOGFONT::operator==(const LOGFONT& o) const {
    return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement &&
           lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic &&
           lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut &&
           lfCharSet == o.lfCharSet && lfOutPrecision == o.lfOutPrecision &&
           lfClipPrecision == o.lfClipPrecision && lfQuality == o.lfQuality &&
           lfPitchAndFamily == o.lfPitchAndFamily && FaceName() == o.FaceName();
}

CMfxFont::CMfxFont(const CMfxFont& other)
    : tvane::CObject(other), m_logFont(other.m_logFont), m_color(other.m_color),
      m_created(other.m_created) {}

CMfxFont& CMfxFont::operator=(const CMfxFont& other) {
    // Re-creates the font from the other's description; the colour stays.
    if (this != &other)
        SetLogFont(other.m_logFont);
    return *this;
}

bool CMfxFont::CreateFont() {
    m_created = true;
    return true;
}

bool CMfxFont::SetLogFont(const LOGFONT& lf) {
    m_logFont = lf;
    return CreateFont();
}

bool CMfxFont::CreateFromFields(std::int32_t height, std::int32_t width, std::int32_t escapement,
                                std::int32_t orientation, std::int32_t weight, std::uint8_t italic,
                                std::uint8_t underline, std::uint8_t strikeOut,
                                std::uint8_t charSet, std::uint8_t outPrecision,
                                std::uint8_t clipPrecision, std::uint8_t quality,
                                std::uint8_t pitchAndFamily, std::string_view face) {
    DeleteObject();
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    lf.SetFaceName(face);
    return SetLogFont(lf);
}

void CMfxFont::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    LOGFONT& lf = m_logFont;
    if (ar.IsStoring()) {
        ar << m_color << lf.lfHeight << lf.lfWidth << lf.lfEscapement << lf.lfOrientation
           << lf.lfWeight << lf.lfItalic << lf.lfUnderline << lf.lfStrikeOut << lf.lfCharSet
           << lf.lfOutPrecision << lf.lfClipPrecision << lf.lfQuality << lf.lfPitchAndFamily
           << std::string_view(lf.FaceName());
    } else {
        std::string face;
        ar >> m_color >> lf.lfHeight >> lf.lfWidth >> lf.lfEscapement >> lf.lfOrientation >>
            lf.lfWeight >> lf.lfItalic >> lf.lfUnderline >> lf.lfStrikeOut >> lf.lfCharSet >>
            lf.lfOutPrecision >> lf.lfClipPrecision >> lf.lfQuality >> lf.lfPitchAndFamily >> face;
        // A stored name longer than the field is cut, never copied past it.
        lf.SetFaceName(face);
        m_created = false;
    }
}

void CheckStoredFont(const LOGFONT& lf) {
    const auto within = [](std::int32_t v) { return v >= -kMaxFontPixels && v <= kMaxFontPixels; };
    if (!within(lf.lfHeight) || !within(lf.lfWidth))
        throw tvane::CArchiveException(tvane::CArchiveException::generic, "font size out of range");
}

std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude =
        (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

namespace {

LOGFONT BaseFor(const IFontDevice& device, std::string_view face) {
    if (!face.empty()) {
        if (auto found = device.FindFace(face)) {
            const std::string name = found->FaceName();
            if (name.size() == face.size() &&
                strncasecmp(name.c_str(), std::string(face).c_str(), face.size()) == 0)
                return *found;
        }
    }
    return device.StockVariableFont();
}

void ApplyFlags(LOGFONT& lf, unsigned flags, bool byHeight) {
    lf.lfWidth = 0;
    lf.lfWeight = (flags & kFontBold) ? 700 : (byHeight && (flags & kFontThin)) ? 100 : 400;
    lf.lfItalic = (flags & kFontItalic) ? 1 : 0;
    lf.lfUnderline = (flags & kFontUnderline) ? 1 : 0;
    lf.lfStrikeOut = (flags & kFontStrikeOut) ? 1 : 0;
    lf.lfEscapement = 0;
    if (flags & kFontVertical)
        lf.lfEscapement = (flags & kFontVerticalDown) ? -900 : 900;
}

} // namespace

LOGFONT LogFontByPoints(const IFontDevice& device, std::string_view face, std::int16_t points,
                        unsigned flags) {
    LOGFONT lf = BaseFor(device, face);
    lf.lfHeight = -MulDiv(points, device.LogPixelsY(), 72);
    ApplyFlags(lf, flags, false);
    return lf;
}

LOGFONT LogFontByHeight(const IFontDevice& device, std::string_view face, double height,
                        unsigned flags) {
    LOGFONT lf = BaseFor(device, face);
    // Heights beyond the field's range are clamped rather than converted undefined.
    const double clamped =
        std::isnan(height) ? 0.0 : std::clamp(height, -2147483648.0, 2147483647.0);
    lf.lfHeight = static_cast<std::int32_t>(clamped);
    lf.lfOutPrecision = kOutTtPrecis;
    ApplyFlags(lf, flags, true);
    return lf;
}

std::string_view DialogFontFace(bool doubleByteSystem) {
    return doubleByteSystem ? "Arial" : "MS Sans Serif";
}
