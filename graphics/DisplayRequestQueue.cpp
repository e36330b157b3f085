#include "graphics/DisplayRequestQueue.h"

#include <algorithm>

#include "graphics/GraphMessages.h"

std::uint64_t DisplayRequestQueue::s_nextSerial = 1;

void DisplayRequestQueue::Post(tvane::MessageTarget& target, const void* source,
                               std::vector<CReadingInfo> records, long long mode) {
    Request request{s_nextSerial++, source, std::move(records), mode};
    tvane::Message message;
    message.id = graphmsg::AsyncEvent();
    message.wParam = mode;
    message.lParam = static_cast<long long>(request.serial);
    m_pending.push_back(request);
    tvane::MessageBus::Post(target, std::move(message));
}

std::optional<DisplayRequestQueue::Request> DisplayRequestQueue::Take(long long serial) {
    const auto it = std::find_if(m_pending.begin(), m_pending.end(), [serial](const Request& r) {
        return static_cast<long long>(r.serial) == serial;
    });
    if (it == m_pending.end())
        return std::nullopt;
    Request taken = *it;
    // Except its queries: they only read what the document keeps, and a
    // display that has just taken a channel must learn its state, or its
    // next write would start from a value the channel does not hold.
    const auto onlyQueries = [](const Request& r) {
        return std::all_of(r.records.begin(), r.records.end(), [](const CReadingInfo& record) {
            return record.m_request == CReadingInfo::kRequestQuery;
        });
    };
    std::erase_if(m_pending, [&](const Request& r) {
        return r.source == taken.source && (r.serial == taken.serial || !onlyQueries(r));
    });
    return taken;
}

void DisplayRequestQueue::DropSource(const void* source) {
    std::erase_if(m_pending, [source](const Request& r) { return r.source == source; });
}
