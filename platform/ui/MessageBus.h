#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tvane {

using MessageId = unsigned;

// A message as it travels between windows. A text that goes with it is carried
// by value, never as a pointer into the sender's buffer; data points at a
// record of the sender and is only good while a sent message is handled.
struct Message {
    MessageId id = 0;
    long long wParam = 0;
    long long lParam = 0;
    std::string text;
    const void* data = nullptr;
};

// Whatever receives messages. A target that goes away takes the messages
// posted to it and not yet delivered with it.
class MessageTarget {
public:
    MessageTarget() = default;
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    // The handler's result; 0 for a message it does not handle.
    virtual long OnMessage(const Message& message) = 0;
};

// Messages registered by name, and their two ways of delivery: Send calls the
// target at once and returns its result; Post queues the message behind every
// message posted before it, so it is handled only after the code that posted it
// (and whatever called that) has returned. Posted messages are delivered by
// DeliverPosted, which the program's scheduler runs from its event loop; tests
// run it themselves. User-interface thread only.
class MessageBus {
public:
    // The same name always gives the same id, for the life of the process.
    static MessageId Register(std::string_view name);
    static long Send(MessageTarget& target, const Message& message);
    static void Post(MessageTarget& target, Message message);
    // Delivers the messages posted so far, and those they post in turn, in
    // order; the number delivered.
    static int DeliverPosted();
    static std::size_t PendingCount();
    // Drops the target's messages not yet delivered (of one id, or all for 0).
    static void RemovePosted(const MessageTarget& target, MessageId id = 0);
};

// Asked to have MessageBus::DeliverPosted run soon, from the event loop.
class IMessageScheduler {
public:
    virtual ~IMessageScheduler() = default;
    virtual void ScheduleDelivery() = 0;
};

// nullptr: posted messages wait until DeliverPosted is called.
void SetMessageScheduler(IMessageScheduler* scheduler);

} // namespace tvane
