#pragma once
#include <QObject>

#include "app/frame/IPowerMonitor.h"

// systemd-logind's PrepareForSleep on the system bus: true is a suspend, false
// the resume after it. Without the bus (or without QtDBus) it reports nothing.
class LogindPowerMonitor final : public QObject, public IPowerMonitor {
    Q_OBJECT
public:
    explicit LogindPowerMonitor(QObject* parent = nullptr);
    void SetSink(IPowerSink* sink) override { m_sink = sink; }
    bool IsAvailable() const override { return m_available; }

private slots:
    void PrepareForSleep(bool start);

private:
    IPowerSink* m_sink = nullptr;
    bool m_available = false;
};
