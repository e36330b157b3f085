#pragma once

namespace tvane {

// Code that waits (transports, progress, pauses) calls Pump() so the user
// interface stays alive. The program installs one that processes window events
// except user input; headless code and tests get a no-op.
class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    virtual void Pump() = 0;
};

IMessagePump& MessagePump();
void SetMessagePump(IMessagePump* pump); // nullptr restores the no-op

} // namespace tvane
