#pragma once
#include <map>

#include <QLocale>
#include <QObject>

#include "platform/core/LocaleFormats.h"
#include "platform/core/MessagePump.h"
#include "platform/ui/Help.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TimerService.h"

class QTimer;
class QWidget;

// Window timers: one QTimer per id, delivered to the sink (the main frame) by id.
class QtTimerService final : public QObject, public tvane::ITimerService {
public:
    explicit QtTimerService(QObject* parent = nullptr) : QObject(parent) {}
    bool SetTimer(unsigned id, unsigned elapseMs) override;
    void KillTimer(unsigned id) override;
    void SetSink(tvane::ITimerSink* sink) override { m_sink = sink; }
    bool IsActive(unsigned id) const;
    int Interval(unsigned id) const;

private:
    std::map<unsigned, QTimer*> m_timers;
    tvane::ITimerSink* m_sink = nullptr;
};

// Help pages: the program has no help file yet, so a context is named in a
// message of its own rather than silently dropped.
class QtHelp final : public tvane::IHelp {
public:
    void ShowContext(unsigned helpId) override;
    void ShowContents() override;
};

// The user's regional formats from the desktop locale.
class QtLocaleFormats final : public tvane::ILocaleFormats {
public:
    explicit QtLocaleFormats(QLocale locale = QLocale::system()) : m_locale(locale) {}
    tvane::LocaleFormats Formats() const override;

private:
    QLocale m_locale;
};

// Keeps windows painted and timers running while code waits; user input waits
// until the wait is over.
class QtMessagePump final : public tvane::IMessagePump {
public:
    void Pump() override;
};
