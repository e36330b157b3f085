#include <gtest/gtest.h>

#include <QApplication>

#include "platform/core/Services.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "tests/support/QtTestSupport.h"

namespace tvane {
namespace {

struct Counter : MessageTarget {
    long OnMessage(const Message& message) override {
        seen.push_back(message.wParam);
        return 1;
    }
    std::vector<long long> seen;
};

TEST(QtMessageScheduler, PostedMessagesArriveFromTheEventLoopInOrder) {
    tvane::test::TestApp();
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> guard(SetMessageScheduler, &scheduler);
    Counter target;
    MessageBus::Post(target, {0, 1, 0, {}});
    MessageBus::Post(target, {0, 2, 0, {}});
    EXPECT_TRUE(target.seen.empty()); // not before the loop runs
    QCoreApplication::processEvents();
    EXPECT_EQ(target.seen, (std::vector<long long>{1, 2}));
    EXPECT_EQ(MessageBus::PendingCount(), 0u);
}

} // namespace
} // namespace tvane
