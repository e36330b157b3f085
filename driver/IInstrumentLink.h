#pragma once
#include <cstdint>
#include <string>

namespace tvane::driver {

// What the driver uses of the communications control: the four IDualComm
// operations every command and reply passes through. The driver object adapts
// the aggregated control to it; tests put a scripted instrument behind it.
class IInstrumentLink {
public:
    virtual ~IInstrumentLink() = default;
    // Sends one command as one message; the control adds the terminator.
    virtual bool SendRawMsg(const char* command) = 0;
    // Receives one answer into buffer (size bytes); count = bytes stored.
    virtual bool RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) = 0;
    // 0 is the simulated interface: the driver then sends nothing.
    virtual int InterfaceType() = 0;
    // The control's own last error: code nonzero when it has one. Reading it
    // clears it.
    virtual bool GetCommError(std::string& text, std::int32_t& code) = 0;
    // Device clear: the instrument drops what it still had to send.
    virtual bool ClearDevice() = 0;
};

} // namespace tvane::driver
