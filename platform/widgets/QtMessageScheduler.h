#pragma once
#include "platform/ui/MessageBus.h"

namespace tvane {

// Posted messages delivered from Qt's event loop: each post asks for one
// delivery run, queued behind the events already waiting, unless one is asked
// for already.
class QtMessageScheduler final : public IMessageScheduler {
public:
    void ScheduleDelivery() override;

private:
    bool m_scheduled = false;
};

} // namespace tvane
