#pragma once
#include <cstdint>

#include "platform/archive/CObject.h"

// A brush that remembers its colour and stores it.
class CMfxBrush : public tvane::CObject {
    DECLARE_SERIAL(CMfxBrush)
public:
    static constexpr int kSolid = -1;
    // Hatch styles (HS_HORIZONTAL .. HS_DIAGCROSS).
    static constexpr int kLastHatch = 5;

    CMfxBrush() = default;
    explicit CMfxBrush(std::uint32_t color) { CreateBrush(color, kSolid); }

    // Solid for style -1, else a hatch of that style; the colour is kept only
    // when the brush could be made (an unknown hatch style cannot).
    bool CreateBrush(std::uint32_t color, int style);
    bool Create(std::uint32_t color, int style) { return CreateBrush(color, style); }
    bool Recreate() { return CreateBrush(m_color, kSolid); }
    bool IsCreated() const { return m_created; }
    int GetStyle() const { return m_style; }
    std::uint32_t GetColor() const { return m_color; }

    // The colour, 32 bits.
    void Serialize(tvane::CArchive& ar) override;

private:
    std::uint32_t m_color = 0x0000FF00; // green
    int m_style = kSolid;
    bool m_created = false;
};
