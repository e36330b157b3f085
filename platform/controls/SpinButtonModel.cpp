#include "platform/controls/SpinButtonModel.h"

namespace tvane {

void SpinButtonModel::SetIdentifier(int identifier) {
    m_record.identifier = m_identifier;
    m_identifier = identifier;
}

void SpinButtonModel::SetEnabled(bool enabled) {
    m_state = enabled ? m_state & ~kDisabled : m_state | kDisabled;
}

void SpinButtonModel::SetVisible(bool visible) {
    m_state = visible ? m_state & ~kHidden : m_state | kHidden;
}

std::optional<SpinNotification> SpinButtonModel::StepPressedHalf() {
    const bool upper = (m_state & kUpper) != 0;
    const int before = m_record.position;
    m_record.position += upper ? m_step : -m_step;
    m_record.delta = upper ? m_step : -m_step;
    m_record.state = m_state;
    if (m_record.position < m_min || m_record.position > m_max) {
        m_record.position = before;
        return std::nullopt;
    }
    return m_record;
}

std::optional<SpinNotification> SpinButtonModel::Press(bool upper) {
    m_timer = false;
    m_state &= ~(kUpper | kLower | kOutside);
    m_state |= upper ? kUpper : kLower;
    m_delay = kRestDelay;
    auto step = StepPressedHalf();
    m_timer = true;
    return step;
}

std::optional<SpinNotification> SpinButtonModel::Tick() {
    if (!m_timer || !IsPressed())
        return std::nullopt;
    if (m_delay > kDelayStep)
        m_delay -= kDelayStep;
    return StepPressedHalf();
}

bool SpinButtonModel::Move(bool insideButton, bool insidePressedHalf) {
    if (!IsPressed())
        return true;
    if (!insideButton || !insidePressedHalf) {
        m_state |= kOutside;
        return false;
    }
    m_state &= ~kOutside;
    return true;
}

bool SpinButtonModel::Release() {
    const bool pressed = IsPressed();
    m_timer = false;
    m_state &= ~(kOutside | kUpper | kLower);
    m_delay = kRestDelay;
    return pressed;
}

std::optional<SpinNotification> SpinButtonModel::Cancel() {
    m_state &= ~(kUpper | kLower);
    std::optional<SpinNotification> last;
    if (m_timer) {
        m_record.state = kCancelled;
        last = m_record;
    }
    m_timer = false;
    m_delay = kRestDelay;
    return last;
}

} // namespace tvane
