#pragma once
#include <optional>
#include <string>

namespace tvane {

// The rules of an integer edit box with a spin button: only digits and
// Backspace can be typed, a number outside the range is taken back at once,
// Up and Down step the text (Shift by ten, Ctrl to the ends), and leaving the
// box puts back the last value when the text is empty or out of range.
class SpinEditModel {
public:
    // The keys that step the text.
    enum class Step { Up, Down };

    // With a spin button the range and value also set the button's.
    explicit SpinEditModel(bool withSpin = true) : m_withSpin(withSpin) {}

    void SetRange(int minimum, int maximum);
    int GetMin() const { return m_min; }
    int GetMax() const { return m_max; }
    // Stores the value; the text becomes it written as "%ld".
    void SetValue(int value);
    int GetValue() const { return m_value; }
    const std::string& GetText() const { return m_text; }
    // The spin button's position follows the value.
    int GetSpinPos() const { return m_spinPos; }

    // Whether a typed character reaches the box (digits and Backspace).
    static bool AcceptsChar(char32_t c);
    // The box's text after a character was applied: the text to show, or none
    // when the text from before the character comes back. An empty text stays;
    // a number in range becomes the value (and its "%ld" text).
    std::optional<std::string> AfterChar(const std::string& text);
    // Up or Down on the text: the stepped text to show, whole, or none when
    // the result would leave the range. The value follows when the box is left.
    std::optional<std::string> StepKey(const std::string& text, Step step, bool shift,
                                       bool ctrl) const;
    // The box is left: the text to show.
    std::string KillFocus(const std::string& text);
    // The spin button moved to a position.
    void SpinTo(int position) { SetValue(position); }

private:
    bool InRange(long long value) const { return value >= m_min && value <= m_max; }

    bool m_withSpin;
    int m_min = 0;
    int m_max = 1000;
    int m_value = 500;
    int m_spinPos = 500;
    std::string m_text;
};

} // namespace tvane
