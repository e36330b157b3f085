#include "platform/widgets/QtMessageScheduler.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace tvane {

void QtMessageScheduler::ScheduleDelivery() {
    if (m_scheduled || QCoreApplication::instance() == nullptr)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            m_scheduled = false;
            MessageBus::DeliverPosted();
        },
        Qt::QueuedConnection);
}

} // namespace tvane
