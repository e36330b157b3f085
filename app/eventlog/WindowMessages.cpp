#include "app/eventlog/WindowMessages.h"

#include <map>

#include <QCoreApplication>

QEvent::Type WindowMessage::Register(const QString& name) {
    static std::map<QString, QEvent::Type> registered;
    auto it = registered.find(name);
    if (it == registered.end())
        it = registered.emplace(name, static_cast<QEvent::Type>(QEvent::registerEventType())).first;
    return it->second;
}

void WindowMessage::Post(QObject* target, QEvent::Type type, long long wParam, long long lParam) {
    if (target != nullptr)
        QCoreApplication::postEvent(target, new WindowMessage(type, wParam, lParam));
}

QEvent::Type FocusChangeMessage() {
    return WindowMessage::Register("FOCUSCHANGE");
}

QEvent::Type CopyToClipboardMessage() {
    return WindowMessage::Register("COPY2CLIP");
}
