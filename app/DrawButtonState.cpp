#include "app/DrawButtonState.h"

#include "platform/archive/CArchive.h"

void DrawButtonState::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar << foreground << background;
    else
        ar >> foreground >> background;
}

TextButtonState::TextButtonState() {
    LOGFONT lf;
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    lf.lfPitchAndFamily = 0x22; // variable pitch, Swiss family
    lf.SetFaceName("MS Sans Serif");
    font.SetLogFont(lf);
    surface.foreground = kCyan;
    font.SetColor(kCyan);
}

void TextButtonState::Serialize(tvane::CArchive& ar) {
    surface.Serialize(ar);
    if (ar.IsStoring())
        ar << std::string_view(text);
    else
        ar >> text;
    font.Serialize(ar);
}
