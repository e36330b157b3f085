#include "comm/TelephonyPump.h"

#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"
#include "platform/tapi/Line.h"

namespace tvane::comm {

void PumpTelephony(std::uint32_t waitMs) {
    MessagePump().Pump();
    tapi::linePumpMessages(waitMs);
}

bool WaitTelephony(std::uint32_t ms, const std::function<bool()>& done) {
    const std::uint32_t start = Clock().TickCount();
    for (;;) {
        if (done())
            return true;
        if (Clock().TickCount() - start >= ms)
            return false;
        PumpTelephony();
    }
}

} // namespace tvane::comm
