#include "app/frame/LogindPowerMonitor.h"

#ifdef TVANE_HAVE_DBUS
#include <QDBusConnection>
#endif

LogindPowerMonitor::LogindPowerMonitor(QObject* parent) : QObject(parent) {
#ifdef TVANE_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected())
        m_available = bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                                  "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                                  SLOT(PrepareForSleep(bool)));
#endif
}

void LogindPowerMonitor::PrepareForSleep(bool start) {
    if (m_sink)
        m_sink->OnPowerEvent(start ? PowerEvent::Suspend : PowerEvent::Resume);
}
