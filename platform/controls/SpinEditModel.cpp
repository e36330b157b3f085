#include "platform/controls/SpinEditModel.h"

#include <cstdlib>

namespace tvane {

namespace {

// The number at the start of the text, as atol reads it; digits beyond what a
// 32-bit value holds keep the number out of any range.
long long LeadingNumber(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

} // namespace

void SpinEditModel::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
    if (!m_withSpin)
        return;
    if (!InRange(m_value))
        m_value = static_cast<int>((static_cast<long long>(m_min) + m_max) / 2);
}

void SpinEditModel::SetValue(int value) {
    m_value = value;
    m_spinPos = value;
    m_text = std::to_string(value);
}

bool SpinEditModel::AcceptsChar(char32_t c) {
    return c == U'\b' || (c >= U'0' && c <= U'9');
}

std::optional<std::string> SpinEditModel::AfterChar(const std::string& text) {
    if (text.empty())
        return text;
    const long long number = LeadingNumber(text);
    if (!InRange(number))
        return std::nullopt;
    SetValue(static_cast<int>(number));
    return m_text;
}

std::optional<std::string> SpinEditModel::StepKey(const std::string& text, Step step, bool shift,
                                                  bool ctrl) const {
    long long number = LeadingNumber(text);
    const bool up = step == Step::Up;
    if (shift)
        number += up ? 10 : -10;
    else if (ctrl)
        number = up ? m_max : m_min;
    else
        number += up ? 1 : -1;
    if (!InRange(number))
        return std::nullopt;
    return std::to_string(number);
}

std::string SpinEditModel::KillFocus(const std::string& text) {
    const long long number = LeadingNumber(text);
    if (text.empty() || !InRange(number))
        return std::to_string(m_value);
    SetValue(static_cast<int>(number));
    return m_text;
}

} // namespace tvane
