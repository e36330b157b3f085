#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tvane {

enum class SerialParity { None, Odd, Even, Mark, Space };

// Line settings of a port. Flow control is given by direction: what the port sends to
// hold off the far end, and what it obeys from the far end.
struct SerialSettings {
    int baud = 9600;
    int dataBits = 8; // 5 to 8
    SerialParity parity = SerialParity::None;
    int stopBits = 1;         // 1 or 2
    bool sendXonXoff = false; // the port sends XOFF and XON as its input fills and drains
    bool obeyXonXoff = false; // the port stops sending while the far end has sent XOFF
    bool rtsCts = false;      // RTS/CTS hardware flow control, both ways
};

enum class SerialError {
    None,
    NoSuchPort, // the name maps to no device, or the device is not a terminal
    PortBusy,   // another program holds the port
    NotOpen,
    BadSetting, // a speed or character size the port cannot take
    Io,         // the system refused the operation (SystemError gives errno)
};

// Line errors counted by the driver since the previous look.
struct SerialLineErrors {
    std::uint32_t parity = 0;
    std::uint32_t overrun = 0;
    std::uint32_t framing = 0;
    std::uint32_t breaks = 0;
    bool Any() const { return parity || overrun || framing || breaks; }
};

// A serial port opened by its Windows name ("COM1"). Nothing here blocks: writes take
// what the port accepts now, and received bytes wait in the port's input queue until
// they are read, so the caller keeps its own deadlines.
class SerialPort {
public:
    // The configuration file and section that map port names to devices:
    // [Ports] COM1=/dev/ttyUSB0.
    static constexpr const char* kConfigFile = "serial.ini";
    static constexpr const char* kPortsSection = "Ports";

    // The device of a port name: "COMn" (n from 1, any case) as configured, else
    // /dev/ttyS<n-1>; a name that is already a path is kept. Empty for other names.
    static std::string DevicePath(std::string_view portName);

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the port for this process alone, in raw mode; an open port is closed first.
    SerialError Open(std::string_view portName);
    SerialError Configure(const SerialSettings& settings);
    SerialError Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // Writes what the port takes now; written may be less than size (0 while the
    // output is held by flow control).
    SerialError Write(const char* data, std::size_t size, std::size_t& written);
    // Bytes written but not yet sent on the line.
    std::size_t OutputPending() const;

    // Bytes received and not yet read.
    std::size_t InputCount();
    // True when the received bytes hold a line feed.
    bool InputHasLineEnd();
    // Takes up to size received bytes; returns how many.
    std::size_t Read(char* buffer, std::size_t size);
    // Drops what was received and not read.
    void DiscardInput();
    // Drops both queues, including what the driver holds.
    SerialError Flush();

    // Modem status lines; false when the line is off or the device does not report it.
    bool Cts() const;
    bool Dsr() const;
    // Raises or lowers DTR; a modem set to follow it hangs up while it is low. Io when
    // the device has no such line (a pseudo-terminal).
    SerialError SetDtr(bool on);

    // The open device's descriptor, for handing the line to code that reads it itself
    // (after a modem connects); -1 when closed. The port keeps owning it.
    int Descriptor() const { return m_fd; }
    // Parity, overrun, framing errors and breaks since the previous call.
    SerialLineErrors TakeLineErrors();

    // errno of the last failed operation.
    int SystemError() const { return m_errno; }

private:
    SerialError Fail(SerialError error, int err);
    void Pull();
    bool ModemLine(int bit) const;

    int m_fd = -1;
    std::string m_path;
    std::string m_input; // received, not yet read
    std::uint32_t m_queueOverruns = 0;
    SerialLineErrors m_counted; // the driver's counters at the previous look
    bool m_hasCounters = false;
    int m_errno = 0;
};

} // namespace tvane
