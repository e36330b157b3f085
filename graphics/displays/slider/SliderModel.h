#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/GraphGeometry.h"

// The slider control apart from any window: a value between two limits, the
// layout of its track, groove, thumb and ticks, and what the mouse and the
// keyboard do to it. Each input answers what the window must do (start or
// stop the repeat timer, capture, repaint the groove) and which notification
// code it sends its parent; the parent writes the value only on kEnd.
class SliderModel {
public:
    enum Orientation : std::int32_t { kHorizontal = 0, kVertical = 1 };
    // Notification codes sent to the parent.
    enum Code : int {
        kLine = 0,     // arrow keys
        kStepLow = 2,  // click or page toward the lower end (vertical: upward)
        kStepHigh = 3, // click toward the other side
        kDrag = 5,
        kHome = 6,
        kEndKey = 7,
        kEnd = 8, // the interaction ended: the parent writes
    };
    // State bits; kInteraction marks an interaction in progress.
    enum State : std::uint32_t {
        kDisabled = 0x1,
        kHidden = 0x2,
        kStepLeft = 0x8,
        kStepRight = 0x10,
        kDragging = 0x40,
        kStepUp = 0x80,
        kStepDown = 0x100,
        kInteraction = 0x1D8,
    };
    enum class Key { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, Other };
    static constexpr int kRepeatTimerId = 45676;
    static constexpr int kRepeatMs = 100;
    // Values closer to 0 than this are 0.
    static constexpr double kZero = 0.001;

    // What the window does after an input.
    struct Outcome {
        std::optional<int> code; // the notification to send
        bool valueChanged = false;
        bool startTimer = false;
        bool stopTimer = false;
        bool capture = false;
        bool release = false;
        bool forwardKey = false; // Tab goes on to the parent
    };

    // --- Value and range ---------------------------------------------------------
    // Stores the limits and formats their texts with "%g"; neither clamps
    // nor redraws.
    void SetRange(double lower, double upper);
    double Lower() const { return m_lower; }
    double Upper() const { return m_upper; }
    double Span() const { return m_span; }
    const std::string& LowerText() const { return m_lowerText; }
    const std::string& UpperText() const { return m_upperText; }
    // The value clamped to the limits (snapped to the resolution when asked),
    // 0 when closer to 0 than kZero; true when the stored value changed.
    bool SetValue(double value, bool snap);
    double Value() const { return m_value; }
    void SetResolution(double resolution);
    double Resolution() const { return m_resolution; }
    std::int32_t StepPixels() const { return m_stepPixels; }
    void SetStepPixels(std::int32_t pixels) { m_stepPixels = pixels; }
    std::int32_t GetOrientation() const { return m_orientation; }
    void SetOrientation(std::int32_t orientation) { m_orientation = orientation; }
    std::uint32_t GetState() const { return m_state; }
    bool InInteraction() const { return (m_state & kInteraction) != 0; }
    void SetStateBits(std::uint32_t bits, bool on);

    // The grid point of lower + k x resolution nearest to value (a tie goes
    // up), never beyond the upper limit; value clamped when the resolution
    // is not positive.
    double Snap(double value) const;
    // A page: a tenth of the span, at least one resolution.
    double Page() const;
    // The next page mark (lower + k x page) above value, skipping one within a
    // resolution of it; the marks below count down from the upper limit.
    double PageMarkAbove(double value) const;
    double PageMarkBelow(double value) const;

    // --- Geometry ------------------------------------------------------------------
    // The track in client: a horizontal slider leaves room for its limit
    // texts (their widths + 4) at the ends; both orientations leave 3/2 text
    // heights + 4 above and below.
    static GRect LayoutTrack(const GRect& client, std::int32_t orientation, int lowerTextWidth,
                             int upperTextWidth, int textHeight);
    void SetTrack(const GRect& track) { m_track = track; }
    const GRect& Track() const { return m_track; }
    // Where the thumb is at the current value.
    GRect Thumb() const;
    // The thin bar along the middle of the track, 4 pixels across.
    GRect Groove() const;
    // The 11 tick positions along the groove (x, or y on a vertical slider).
    std::vector<std::int32_t> TickPositions() const;
    // A point of the window as a value (not clamped).
    double PixelToValue(GPoint point) const;

    // --- Input ---------------------------------------------------------------------
    Outcome Press(GPoint point, bool repeatRunning);
    Outcome Move(GPoint point);
    // The repeat timer fired with the cursor at point.
    Outcome Repeat(GPoint cursor);
    Outcome Release();
    // The interaction was taken away (capture lost): no end code.
    Outcome Cancel(bool repeatRunning);
    Outcome KeyDown(Key key);
    Outcome KeyUp();

private:
    Outcome Step(double delta, int code);

    double m_lower = -10.0;
    double m_upper = 10.0;
    double m_span = 20.0;
    std::string m_lowerText = "-10";
    std::string m_upperText = "10";
    double m_value = 0.0;
    double m_step = 0.0; // the signed amount of the last step
    double m_resolution = 1.0;
    std::int32_t m_stepPixels = 1;
    std::int32_t m_orientation = kVertical;
    std::uint32_t m_state = 0;
    GRect m_track;
};
