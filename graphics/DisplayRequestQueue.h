#pragma once
#include <cstdint>
#include <deque>
#include <optional>

#include "platform/ui/MessageBus.h"
#include "scan/CReadingInfo.h"

// Instrument requests of display windows on their way to the document. Each
// posted request carries its own copy of the request record. When one is
// handled, the requests its source posted meanwhile are dropped (a burst of
// clicks on a slow instrument is served once); requests of other sources stay.
class DisplayRequestQueue {
public:
    struct Request {
        std::uint64_t serial = 0;
        const void* source = nullptr; // the window that asked
        CReadingInfo record;
        long long mode = 0;
    };

    // Keeps a copy of record and posts the message (lParam = its serial) to target.
    void Post(tvane::MessageTarget& target, const void* source, const CReadingInfo& record,
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
