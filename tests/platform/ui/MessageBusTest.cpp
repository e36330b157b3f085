#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Services.h"
#include "platform/ui/MessageBus.h"

namespace tvane {
namespace {

// Writes down what it handles; a handler may post or send on.
class Recorder : public MessageTarget {
public:
    long OnMessage(const Message& message) override {
        log.push_back(std::to_string(message.wParam) + ":" + message.text);
        if (onMessage)
            onMessage(message);
        return message.wParam + 1;
    }
    std::vector<std::string> log;
    std::function<void(const Message&)> onMessage;
};

struct CountingScheduler : IMessageScheduler {
    void ScheduleDelivery() override { ++asked; }
    int asked = 0;
};

class MessageBusTest : public ::testing::Test {
protected:
    ~MessageBusTest() override { MessageBus::DeliverPosted(); }
};

TEST_F(MessageBusTest, NamesKeepTheirIds) {
    const MessageId first = MessageBus::Register("FIRSTTESTMESSAGE");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(MessageBus::Register("FIRSTTESTMESSAGE"), first);
    EXPECT_NE(MessageBus::Register("SECONDTESTMESSAGE"), first);
}

TEST_F(MessageBusTest, PostedMessagesWaitForTheSenderToReturnAndKeepTheirOrder) {
    CountingScheduler scheduler;
    ScopedService<IMessageScheduler> guard(SetMessageScheduler, &scheduler);
    Recorder view;
    std::string buffer = "Function";
    // The handler of a sent message posts two more and sends one: the sent one
    // is handled at once, the posted ones after everything else in the queue.
    view.onMessage = [&](const Message& message) {
        if (message.wParam == 1) {
            MessageBus::Post(view, {0, 2, 0, buffer});
            MessageBus::Post(view, {0, 3, 0, "b"});
            EXPECT_EQ(MessageBus::Send(view, {0, 4, 0, "sent"}), 5);
        }
    };
    EXPECT_EQ(MessageBus::Send(view, {0, 1, 0, "a"}), 2);
    buffer = "overwritten"; // a text travels by value
    EXPECT_EQ(view.log, (std::vector<std::string>{"1:a", "4:sent"}));
    EXPECT_EQ(scheduler.asked, 2);
    EXPECT_EQ(MessageBus::PendingCount(), 2u);
    EXPECT_EQ(MessageBus::DeliverPosted(), 2);
    EXPECT_EQ(view.log, (std::vector<std::string>{"1:a", "4:sent", "2:Function", "3:b"}));
}

TEST_F(MessageBusTest, ATargetTakesItsPendingMessagesWithIt) {
    Recorder kept;
    {
        Recorder gone;
        MessageBus::Post(gone, {0, 1, 0, ""});
        MessageBus::Post(kept, {7, 2, 0, ""});
        MessageBus::Post(kept, {8, 3, 0, ""});
    }
    MessageBus::RemovePosted(kept, 8);
    EXPECT_EQ(MessageBus::DeliverPosted(), 1);
    EXPECT_EQ(kept.log, std::vector<std::string>{"2:"});
}

} // namespace
} // namespace tvane
