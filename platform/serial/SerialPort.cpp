#include "platform/serial/SerialPort.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "platform/core/CaseInsensitive.h"
#include "platform/profile/Profile.h"

namespace tvane {
namespace {

// Received bytes nobody reads are dropped past this size and counted as overruns.
constexpr std::size_t kInputQueueLimit = 64 * 1024;

bool SpeedOf(int baud, speed_t& speed) {
    static const struct {
        int baud;
        speed_t speed;
    } speeds[] = {{50, B50},         {75, B75},        {110, B110},     {134, B134},
                  {150, B150},       {200, B200},      {300, B300},     {600, B600},
                  {1200, B1200},     {1800, B1800},    {2400, B2400},   {4800, B4800},
                  {9600, B9600},     {19200, B19200},  {38400, B38400}, {57600, B57600},
                  {115200, B115200}, {230400, B230400}};
    for (const auto& s : speeds)
        if (s.baud == baud) {
            speed = s.speed;
            return true;
        }
    return false;
}

bool IsPseudoTerminal(int fd) {
    struct stat st {};
    constexpr unsigned kFirstPtyMajor = 136, kLastPtyMajor = 143;
    return ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= kFirstPtyMajor &&
           major(st.st_rdev) <= kLastPtyMajor;
}

tcflag_t CharacterSize(int bits) {
    switch (bits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

} // namespace

std::string SerialPort::DevicePath(std::string_view portName) {
    if (!portName.empty() && portName.front() == '/')
        return std::string(portName);
    if (portName.size() < 4 || !EqualsNoCase(portName.substr(0, 3), "COM"))
        return {};
    int number = 0;
    for (char c : portName.substr(3)) {
        if (c < '0' || c > '9' || number > 9999)
            return {};
        number = number * 10 + (c - '0');
    }
    if (number < 1)
        return {};
    const std::string key = "COM" + std::to_string(number);
    const std::string configured = GetPrivateProfileString(kPortsSection, key, "", kConfigFile);
    return configured.empty() ? "/dev/ttyS" + std::to_string(number - 1) : configured;
}

SerialPort::~SerialPort() {
    Close();
}

SerialError SerialPort::Fail(SerialError error, int err) {
    m_errno = err;
    return error;
}

SerialError SerialPort::Open(std::string_view portName) {
    Close();
    const std::string path = DevicePath(portName);
    if (path.empty())
        return Fail(SerialError::NoSuchPort, ENOENT);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENXIO || err == ENODEV || err == ENOTDIR)
            return Fail(SerialError::NoSuchPort, err);
        return Fail(err == EBUSY ? SerialError::PortBusy : SerialError::Io, err);
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return Fail(SerialError::NoSuchPort, ENOTTY);
    }
    // A COM port belongs to one program at a time: the lock keeps out other openers
    // that take it, the exclusive mode the rest (root excepted).
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return Fail(SerialError::PortBusy, err);
    }
    ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    m_path = path;
    m_input.clear();
    m_queueOverruns = 0;
    serial_icounter_struct counters{};
    m_hasCounters = ::ioctl(fd, TIOCGICOUNT, &counters) == 0;
    m_counted = {};
    if (m_hasCounters)
        m_counted = {static_cast<std::uint32_t>(counters.parity),
                     static_cast<std::uint32_t>(counters.overrun + counters.buf_overrun),
                     static_cast<std::uint32_t>(counters.frame),
                     static_cast<std::uint32_t>(counters.brk)};
    // Raw from the start, so nothing is echoed or translated before Configure.
    const SerialError raw = Configure(SerialSettings{});
    if (raw != SerialError::None) {
        const int err = m_errno;
        Close();
        return Fail(raw, err);
    }
    return SerialError::None;
}

SerialError SerialPort::Configure(const SerialSettings& s) {
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, EBADF);
    speed_t speed{};
    if (!SpeedOf(s.baud, speed) || s.dataBits < 5 || s.dataBits > 8 ||
        (s.stopBits != 1 && s.stopBits != 2))
        return Fail(SerialError::BadSetting, EINVAL);
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return Fail(SerialError::Io, errno);
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | CharacterSize(s.dataBits);
    switch (s.parity) {
    case SerialParity::None:
        break;
    case SerialParity::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case SerialParity::Even:
        t.c_cflag |= PARENB;
        break;
    case SerialParity::Mark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case SerialParity::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (s.parity != SerialParity::None)
        t.c_iflag |= INPCK;
    if (s.stopBits == 2)
        t.c_cflag |= CSTOPB;
    if (s.rtsCts)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (s.obeyXonXoff)
        t.c_iflag |= IXON;
    if (s.sendXonXoff)
        t.c_iflag |= IXOFF;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0)
        return Fail(SerialError::BadSetting, errno);
    if (::tcsetattr(m_fd, TCSANOW, &t) == 0)
        return SerialError::None;
    const int err = errno;
    // A pseudo-terminal always carries eight bits without parity, and the C library
    // reports that as a refusal; what it did take stands for the line it plays.
    termios applied{};
    const tcflag_t forced = CSIZE | PARENB;
    if (err == EINVAL && IsPseudoTerminal(m_fd) && ::tcgetattr(m_fd, &applied) == 0 &&
        (applied.c_cflag & ~forced) == (t.c_cflag & ~forced) && applied.c_iflag == t.c_iflag &&
        ::cfgetospeed(&applied) == speed)
        return SerialError::None;
    return Fail(err == EINVAL ? SerialError::BadSetting : SerialError::Io, err);
}

SerialError SerialPort::Close() {
    if (m_fd < 0)
        return SerialError::None;
    const int fd = m_fd;
    m_fd = -1;
    m_path.clear();
    m_input.clear();
    if (::close(fd) != 0 && errno != EINTR)
        return Fail(SerialError::Io, errno);
    return SerialError::None;
}

SerialError SerialPort::Write(const char* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, EBADF);
    if (size == 0)
        return SerialError::None;
    const ssize_t n = ::write(m_fd, data, size);
    if (n >= 0) {
        written = static_cast<std::size_t>(n);
        return SerialError::None;
    }
    if (errno == EAGAIN || errno == EINTR)
        return SerialError::None;
    return Fail(SerialError::Io, errno);
}

std::size_t SerialPort::OutputPending() const {
    int pending = 0;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCOUTQ, &pending) != 0 || pending < 0)
        return 0;
    return static_cast<std::size_t>(pending);
}

void SerialPort::Pull() {
    if (m_fd < 0)
        return;
    // Reading (not only asking the count) also takes in what the driver still has
    // on its way, so a byte the far end has written is never missed.
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n <= 0)
            break;
        const std::size_t room = kInputQueueLimit - std::min(m_input.size(), kInputQueueLimit);
        const std::size_t take = std::min(room, static_cast<std::size_t>(n));
        m_input.append(chunk, take);
        if (take < static_cast<std::size_t>(n))
            ++m_queueOverruns;
    }
}

std::size_t SerialPort::InputCount() {
    Pull();
    return m_input.size();
}

bool SerialPort::InputHasLineEnd() {
    Pull();
    return m_input.find('\n') != std::string::npos;
}

std::size_t SerialPort::Read(char* buffer, std::size_t size) {
    Pull();
    const std::size_t n = std::min(size, m_input.size());
    m_input.copy(buffer, n);
    m_input.erase(0, n);
    return n;
}

void SerialPort::DiscardInput() {
    m_input.clear();
}

SerialError SerialPort::Flush() {
    m_input.clear();
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, EBADF);
    if (::tcflush(m_fd, TCIOFLUSH) != 0)
        return Fail(SerialError::Io, errno);
    return SerialError::None;
}

bool SerialPort::ModemLine(int bit) const {
    int lines = 0;
    if (m_fd < 0 || ::ioctl(m_fd, TIOCMGET, &lines) != 0)
        return false;
    return (lines & bit) != 0;
}

bool SerialPort::Cts() const {
    return ModemLine(TIOCM_CTS);
}

bool SerialPort::Dsr() const {
    return ModemLine(TIOCM_DSR);
}

SerialError SerialPort::SetDtr(bool on) {
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, EBADF);
    int bit = TIOCM_DTR;
    if (::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit) != 0)
        return Fail(SerialError::Io, errno);
    return SerialError::None;
}

SerialLineErrors SerialPort::TakeLineErrors() {
    SerialLineErrors errors;
    errors.overrun = m_queueOverruns;
    m_queueOverruns = 0;
    serial_icounter_struct c{};
    if (m_fd < 0 || !m_hasCounters || ::ioctl(m_fd, TIOCGICOUNT, &c) != 0)
        return errors;
    const SerialLineErrors now{
        static_cast<std::uint32_t>(c.parity), static_cast<std::uint32_t>(c.overrun + c.buf_overrun),
        static_cast<std::uint32_t>(c.frame), static_cast<std::uint32_t>(c.brk)};
    errors.parity = now.parity - m_counted.parity;
    errors.overrun += now.overrun - m_counted.overrun;
    errors.framing = now.framing - m_counted.framing;
    errors.breaks = now.breaks - m_counted.breaks;
    m_counted = now;
    return errors;
}

} // namespace tvane
