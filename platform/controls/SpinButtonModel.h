#pragma once
#include <optional>

namespace tvane {

// What a spin button tells its notification window with every step.
struct SpinNotification {
    int identifier = 0; // the identifier before Create
    unsigned state = 0; // SpinButtonModel flags at the step
    int position = 0;
    int delta = 1; // +step or -step
};

// The up/down button without its window: a pressed half steps a bounded
// position at once and then on every repeat tick, each tick 20 ms sooner than
// the one before down to 20 ms. A step that would leave the range is not made
// and tells nothing.
class SpinButtonModel {
public:
    enum Flag : unsigned {
        kDisabled = 1,
        kHidden = 2,
        kOutside = 4, // the cursor left the pressed half
        kUpper = 8,
        kLower = 16,
        kCancelled = 32, // in a notification only
    };
    static constexpr int kRestDelay = 200;
    static constexpr int kDelayStep = 20;

    void SetIdentifier(int identifier);
    int GetIdentifier() const { return m_identifier; }
    void SetRange(int minimum, int maximum) {
        m_min = minimum;
        m_max = maximum;
    }
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    // No range check.
    void SetPos(int position) { m_record.position = position; }
    int GetPos() const { return m_record.position; }
    void SetStep(int step) { m_step = step; }
    unsigned GetState() const { return m_state; }
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);

    // The press of a half: the first step (a notification when it was made);
    // the repeat timer then runs with RepeatDelay().
    std::optional<SpinNotification> Press(bool upper);
    // A repeat tick: the delay shortens, then the pressed half steps again.
    std::optional<SpinNotification> Tick();
    bool IsTimerRunning() const { return m_timer; }
    int RepeatDelay() const { return m_delay; }
    // The cursor moved while pressed: false when the press ends (it left the
    // button, or the pressed half), which the window treats as a release.
    bool Move(bool insideButton, bool insidePressedHalf);
    // The press ends; true when a half was pressed (it is drawn raised again).
    bool Release();
    // The press is cancelled: one last notification, marked cancelled, when
    // the repeat timer was running.
    std::optional<SpinNotification> Cancel();
    bool IsPressed() const { return (m_state & (kUpper | kLower)) != 0; }

private:
    std::optional<SpinNotification> StepPressedHalf();

    int m_identifier = 0;
    unsigned m_state = 0;
    int m_delay = kRestDelay;
    int m_min = -10;
    int m_max = 10;
    int m_step = 1;
    bool m_timer = false;
    SpinNotification m_record;
};

} // namespace tvane
