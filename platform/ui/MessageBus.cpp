#include "platform/ui/MessageBus.h"

#include <deque>
#include <map>
#include <utility>

namespace tvane {

namespace {

// Ids in the range registered window messages have always had.
constexpr MessageId kFirstId = 0xC000;

struct Posted {
    MessageTarget* target;
    Message message;
};

struct BusState {
    std::map<std::string, MessageId, std::less<>> names;
    std::deque<Posted> queue;
    IMessageScheduler* scheduler = nullptr;
};

BusState& State() {
    static BusState state;
    return state;
}

} // namespace

MessageTarget::~MessageTarget() {
    MessageBus::RemovePosted(*this);
}

MessageId MessageBus::Register(std::string_view name) {
    auto& names = State().names;
    auto it = names.find(name);
    if (it == names.end())
        it =
            names.emplace(std::string(name), kFirstId + static_cast<MessageId>(names.size())).first;
    return it->second;
}

long MessageBus::Send(MessageTarget& target, const Message& message) {
    return target.OnMessage(message);
}

void MessageBus::Post(MessageTarget& target, Message message) {
    BusState& state = State();
    state.queue.push_back({&target, std::move(message)});
    if (state.scheduler != nullptr)
        state.scheduler->ScheduleDelivery();
}

int MessageBus::DeliverPosted() {
    int delivered = 0;
    auto& queue = State().queue;
    while (!queue.empty()) {
        Posted next = std::move(queue.front());
        queue.pop_front();
        next.target->OnMessage(next.message);
        ++delivered;
    }
    return delivered;
}

std::size_t MessageBus::PendingCount() {
    return State().queue.size();
}

void MessageBus::RemovePosted(const MessageTarget& target, MessageId id) {
    auto& queue = State().queue;
    std::erase_if(queue, [&](const Posted& posted) {
        return posted.target == &target && (id == 0 || posted.message.id == id);
    });
}

void SetMessageScheduler(IMessageScheduler* scheduler) {
    State().scheduler = scheduler;
}

} // namespace tvane
