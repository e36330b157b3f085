#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/ui/MessageBus.h"
#include "scan/CReadingInfo.h"

// Instrument requests of display windows on their way to the document. Each
// posted request carries its own copies of its request records: one, or a
// batch that a window asks for at once (one per channel of a display), which
// the document serves in order. When one is handled, the requests its source
// posted meanwhile are dropped (a burst of clicks on a slow instrument is
// served once), but not its queries; requests of other sources stay.
class DisplayRequestQueue {
public:
    struct Request {
        std::uint64_t serial = 0;
        const void* source = nullptr; // the window that asked
        std::vector<CReadingInfo> records;
        long long mode = 0;
    };

    // Keeps a copy of the records and posts the message (lParam = its serial)
    // to target.
    void Post(tvane::MessageTarget& target, const void* source, std::vector<CReadingInfo> records,
              long long mode);
    // The request of a delivered message, with the source's later ones dropped;
    // none when it was dropped before.
    std::optional<Request> Take(long long serial);
    // A window that goes away takes its waiting requests with it.
    void DropSource(const void* source);
    std::size_t Pending() const { return m_pending.size(); }

private:
    std::deque<Request> m_pending;
    static std::uint64_t s_nextSerial;
};
