#include "graphics/ChartFonts.h"

tvane::chart::ChartFont ToChartFont(const LOGFONT& lf) {
    tvane::chart::ChartFont font;
    font.height = lf.lfHeight;
    font.width = lf.lfWidth;
    font.escapement = lf.lfEscapement;
    font.orientation = lf.lfOrientation;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic;
    font.underline = lf.lfUnderline;
    font.strikeOut = lf.lfStrikeOut;
    font.charSet = lf.lfCharSet;
    font.outPrecision = lf.lfOutPrecision;
    font.clipPrecision = lf.lfClipPrecision;
    font.quality = lf.lfQuality;
    font.pitchAndFamily = lf.lfPitchAndFamily;
    if (!lf.FaceName().empty())
        font.face = lf.FaceName();
    return font;
}

LOGFONT ToLogFont(const tvane::chart::ChartFont& font) {
    LOGFONT lf;
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = font.outPrecision;
    lf.lfClipPrecision = font.clipPrecision;
    lf.lfQuality = font.quality;
    lf.lfPitchAndFamily = font.pitchAndFamily;
    lf.SetFaceName(font.face);
    return lf;
}
