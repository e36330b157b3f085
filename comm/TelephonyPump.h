#pragma once
#include <cstdint>
#include <functional>

namespace tvane::comm {

// How long one turn of a modem wait may block when nothing happens, so a long wait
// (a dial takes up to a minute) does not spin.
inline constexpr std::uint32_t kTelephonyPumpMs = 10;

// One turn of the modem code's waits: the program's messages, then the telephony
// layer's, which carry its callbacks.
void PumpTelephony(std::uint32_t waitMs = kTelephonyPumpMs);
// Pumps until done() holds or ms pass on the tick clock; false on time-out.
bool WaitTelephony(std::uint32_t ms, const std::function<bool()>& done);

} // namespace tvane::comm
