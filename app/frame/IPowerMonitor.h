#pragma once

// The system's power notices as the main frame receives them.
enum class PowerEvent { Suspend, Resume, CriticalResume, LowBattery, Other };

class IPowerSink {
public:
    virtual ~IPowerSink() = default;
    virtual void OnPowerEvent(PowerEvent event) = 0;
};

class IPowerMonitor {
public:
    virtual ~IPowerMonitor() = default;
    virtual void SetSink(IPowerSink* sink) = 0;
    // False when the system gives no power notices (no session bus, no logind).
    virtual bool IsAvailable() const = 0;
};

// A monitor for tests: Send delivers a notice.
class FakePowerMonitor final : public IPowerMonitor {
public:
    void SetSink(IPowerSink* sink) override { m_sink = sink; }
    bool IsAvailable() const override { return true; }
    void Send(PowerEvent event) {
        if (m_sink)
            m_sink->OnPowerEvent(event);
    }

private:
    IPowerSink* m_sink = nullptr;
};
