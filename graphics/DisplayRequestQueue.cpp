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
    std::erase_if(m_pending, [&taken](const Request& r) { return r.source == taken.source; });
    return taken;
}

void DisplayRequestQueue::DropSource(const void* source) {
    std::erase_if(m_pending, [source](const Request& r) { return r.source == source; });
}
