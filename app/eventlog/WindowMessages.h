#pragma once
#include <QEvent>
#include <QString>

class QObject;

// Named messages between the event log's windows. A name is registered once
// and keeps its event type for the life of the process; a posted message is
// queued and delivered to the target's event handler.
class WindowMessage final : public QEvent {
public:
    WindowMessage(QEvent::Type type, long long wParam, long long lParam)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam) {}
    long long WParam() const { return m_wParam; }
    long long LParam() const { return m_lParam; }

    static QEvent::Type Register(const QString& name);
    static void Post(QObject* target, QEvent::Type type, long long wParam = 0,
                     long long lParam = 0);

private:
    long long m_wParam;
    long long m_lParam;
};

// The event log's two messages: the focus change between the table and the
// bar (with the key that asked for it) and the copy to the clipboard.
QEvent::Type FocusChangeMessage();
QEvent::Type CopyToClipboardMessage();
