#pragma once
#include <optional>
#include <string>

namespace tvane {

// The rules of an edit box that takes only what its mode allows: a real
// number, a whole number, digits, or an eight-position bit pattern edited one
// position at a time (overwrite typing). Numbers are checked against a range
// when the owner asks (Validate), which tells the user what is wrong.
class NumericEditModel {
public:
    enum Mode : int {
        kPattern = 0, // '0', '1' and 'X'
        kReal = 1,
        kWhole = 2,
        kDigits = 3,        // typed as digits, validated as a real number
        kBinaryPattern = 4, // '0' and '1'
    };
    static constexpr int kPatternLength = 8;

    // What a typed character does.
    enum class CharResult { Dropped, ToBox, Overwritten };

    NumericEditModel();

    void Setup(int mode, const std::string& text);
    int GetMode() const { return m_mode; }
    bool IsPatternMode() const { return m_mode == kPattern || m_mode == kBinaryPattern; }
    void SetRange(double minimum, double maximum) {
        m_min = minimum;
        m_max = maximum;
    }
    void SetText(const std::string& text) { m_text = text; }
    const std::string& GetText() const { return m_text; }
    double GetValue() const { return m_value; }
    // The selected pattern position, 0 to 7.
    int GetPosition() const { return m_position; }
    void SetPosition(int position);

    // A typed character: in the pattern modes it overwrites the selected
    // position (the text is then GetText() and the selection moves right
    // unless at the end); in the others it goes to the box or is dropped.
    CharResult Char(char32_t c);
    // Left or Right in the pattern modes move the selection round the ends;
    // false for a key that is dropped. The other modes leave keys to the box.
    bool KeyLeft();
    bool KeyRight();

    // Checks the box's text; tells the user and returns false when it is not
    // acceptable, else keeps the number as the value.
    bool Validate(const std::string& boxText);

    // Leading and trailing blanks and tabs may stand round the number, nothing
    // else; a zero counts only when written with a leading '0'.
    static bool ParseReal(const std::string& text, double& value);
    // format: "%d" or "%ld" read signed, "%u" or "%lu" unsigned; the number
    // must fit 32 bits.
    static bool ParseWhole(const std::string& text, const char* format, long& value);
    static bool InRange(double value, double minimum, double maximum) {
        return minimum <= value && value <= maximum;
    }

private:
    int m_mode = kPattern;
    double m_min = 0;
    double m_max = 0;
    double m_value = 0;
    std::string m_text;
    int m_position = 0;
};

} // namespace tvane
