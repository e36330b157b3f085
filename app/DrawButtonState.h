#pragma once
#include <cstdint>
#include <string>

#include "shared/CMfxFont.h"

namespace tvane {
class CArchive;
}

// What a framed display surface keeps in documents: its two colours, COLORREF
// values (0x00BBGGRR), foreground first.
struct DrawButtonState {
    std::uint32_t foreground = 0x0000FFFF; // yellow
    std::uint32_t background = 0;          // black

    void Serialize(tvane::CArchive& ar);
};

// What a text display surface keeps: the surface's colours, its text and its
// font with the text colour. The mode is not stored.
struct TextButtonState {
    static constexpr std::uint32_t kCyan = 0x00FFFF00;

    TextButtonState();

    DrawButtonState surface;
    std::string text;
    CMfxFont font;
    std::int32_t mode = 0; // 1: whole numbers in hexadecimal

    void Serialize(tvane::CArchive& ar);
};
