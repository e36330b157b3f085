#pragma once
#include <cstdint>
#include <string>

#include "graphics/GraphGeometry.h"
#include "platform/archive/CObject.h"

// The small elements the gauge displays draw in rows: alarm lamps (CLight),
// data lamps (CDataLight), switches (CSwitch) and push buttons (CPushButton).
// An element is a record: its state, colour, label, channel binding and the
// rectangle where its window last drew it. It holds no drawing code; the
// window that owns it draws it, hit-tests clicks against its rectangles and
// repaints it.
//
// Stored form (after the base part): state, colour, label, channel, rectangle
// (left, top, right, bottom), bit mask, kind; each subclass appends its own
// fields. Loading restores the rectangles exactly, so an element hit-tests
// where it was last drawn until its window draws again.
class CIndicator : public tvane::CObject {
    DECLARE_SERIAL(CIndicator)
public:
    // Labels live in fixed fields of 80 characters: longer ones are cut.
    static constexpr std::size_t kMaxLabel = 79;

    // State 0, white, channel 0, no label, kind 0.
    CIndicator() = default;
    CIndicator(std::int32_t state, std::uint32_t color, std::int32_t channel,
               const std::string& label);
    CIndicator(const CIndicator&) = delete;
    CIndicator& operator=(const CIndicator&) = delete;

    std::int32_t GetState() const { return m_state; }
    void SetState(std::int32_t state) { m_state = state; }
    std::uint32_t GetColor() const { return m_color; }
    void SetColor(std::uint32_t color) { m_color = color; }
    std::int32_t GetChannel() const { return m_channel; }
    void SetChannel(std::int32_t channel) { m_channel = channel; }
    const std::string& GetLabel() const { return m_label; }
    void SetLabel(const std::string& label);
    std::uint32_t GetBitMask() const { return m_bitMask; }
    void SetBitMask(std::uint32_t mask) { m_bitMask = mask; }
    std::uint32_t GetKind() const { return m_kind; }
    void SetKind(std::uint32_t kind) { m_kind = kind; }
    // Where the owning window last drew the element, in its client pixels.
    const GRect& GetRect() const { return m_rect; }
    void SetRect(const GRect& rect) { m_rect = rect; }

    void Serialize(tvane::CArchive& ar) override;

protected:
    std::int32_t m_state = 0;

private:
    std::uint32_t m_color = 0x00FFFFFF;
    GRect m_rect;
    std::int32_t m_channel = 0;
    std::string m_label;
    std::uint32_t m_bitMask = 0;
    std::uint32_t m_kind = 0;
};

// An alarm lamp: state 0 no alarm, 1 low limit, 2 high limit. Green by
// default. Its two numbers are stored with it and otherwise unused.
class CLight : public CIndicator {
    DECLARE_SERIAL(CLight)
public:
    CLight();
    CLight(std::int32_t state, std::uint32_t color, std::int32_t channel, const std::string& label);
    void Serialize(tvane::CArchive& ar) override;

    double m_values[2] = {0.0, 0.0};
};

// A lamp of one bit of a digital value: state 0 off, 1 on. Light grey.
class CDataLight : public CIndicator {
    DECLARE_SERIAL(CDataLight)
public:
    CDataLight();
};

// A toggle switch: state 0 off, 1 on. Grey. Its window keeps two further
// rectangles in it (where the lever and the focus frame were drawn).
class CSwitch : public CIndicator {
    DECLARE_SERIAL(CSwitch)
public:
    CSwitch();
    // Any state but 0 becomes 0; 0 becomes 1.
    void Toggle() { m_state = m_state != 0 ? 0 : 1; }
    void Serialize(tvane::CArchive& ar) override;

    GRect m_rects[2];
};

// A push button: state 0 up, 1 down. Green. Its window keeps one further
// rectangle in it (the focus frame of the push button display).
class CPushButton : public CIndicator {
    DECLARE_SERIAL(CPushButton)
public:
    CPushButton();
    // 1 becomes 0; any other state becomes 1.
    void Toggle() { m_state = m_state == 1 ? 0 : 1; }
    void Serialize(tvane::CArchive& ar) override;

    GRect m_rect2;
};
