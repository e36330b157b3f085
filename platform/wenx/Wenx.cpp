// The instrument I/O library: GPIB controllers and LAN/GPIB gateways carried over
// SCPI raw sockets. A device session reaches one instrument's socket; an interface
// session stands for the bus of a controller, where bus commands address listeners
// and a listener counts as present when its socket accepts a connection.
#include "platform/wenx/WenxApi.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/CaseInsensitive.h"
#include "platform/profile/Profile.h"

#define WENX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr const char* kIni = "wenx32.ini";
constexpr int kDefaultPort = 5025;
constexpr int32_t kDefaultTimeout = 10000;
constexpr int32_t kDefaultLanTimeout = 2000;
constexpr int32_t kDefaultControllerAddress = 21;
constexpr int kLastBusAddress = 30;
constexpr std::size_t kNameChars = sizeof(WenxUnitInfo::symbolicName) - 1;

// Bus command bytes.
constexpr uint8_t kUnlisten = 0x3F;
constexpr uint8_t kListenBase = 0x20;

struct Unit {
    std::string name;
    int32_t logicalUnit = 0;
    int32_t type = kWenxTypeGpib;
    int32_t busAddress = kDefaultControllerAddress;
};

struct Endpoint {
    std::string host;
    int port = kDefaultPort;
};

struct Address {
    std::string unit;
    std::optional<Endpoint> gateway;
    int bus = -1; // -1: the interface itself
};

// The connection to one instrument's socket. It outlives the sessions that use it,
// as an instrument stays on its bus between sessions: an answer asked for in one
// session can be read in the next.
struct Link {
    int fd = -1;
    std::string pending; // received and not yet read
};

struct Links {
    std::map<std::string, Link> byEndpoint;
    ~Links() {
        for (auto& [key, link] : byEndpoint)
            if (link.fd >= 0)
                ::close(link.fd);
    }
};

struct Session {
    Unit unit;
    Address address;
    std::optional<Endpoint> endpoint; // a device's socket; none when nothing is configured
    int32_t timeout = kDefaultTimeout;
    int32_t lanTimeout = kDefaultLanTimeout;
    int locks = 0;
    bool remote = false;
    std::set<int> listeners; // addressed by bus commands (interface sessions)

    bool IsInterface() const { return address.bus < 0; }
    bool IsLan() const { return unit.type == kWenxTypeLan; }
    int32_t ConnectTimeout() const { return IsLan() ? lanTimeout : timeout; }
};

std::recursive_mutex g_mutex;
std::map<WenxSession, Session> g_sessions;
Links g_links;
WenxSession g_nextSession = 1;
// The gateway each LAN unit was last opened with; its interface sessions and
// devices without a host of their own go there.
std::map<std::string, Endpoint> g_gateways;
WenxErrorHandler g_handler = nullptr;
thread_local int32_t t_lastError = kWenxOk;

int32_t Fail(WenxSession session, int32_t code) {
    t_lastError = code;
    if (g_handler)
        g_handler(session, code);
    return code;
}

std::string Lower(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::optional<int> Number(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<Unit> ReadUnits() {
    std::vector<Unit> units;
    int32_t position = 0;
    for (const std::string& section : tvane::GetPrivateProfileSectionNames(kIni)) {
        if (units.size() == static_cast<std::size_t>(kWenxMaxUnits))
            break;
        Unit unit;
        unit.name = section;
        const std::string type =
            tvane::ToUpperAscii(tvane::GetPrivateProfileString(section, "Type", "GPIB", kIni));
        unit.type = type == "LAN" ? kWenxTypeLan : kWenxTypeGpib;
        unit.logicalUnit = tvane::GetPrivateProfileInt(section, "LogicalUnit", position, kIni);
        unit.busAddress =
            tvane::GetPrivateProfileInt(section, "BusAddress", kDefaultControllerAddress, kIni);
        units.push_back(unit);
        ++position;
    }
    return units;
}

std::optional<Unit> FindUnit(std::string_view name) {
    for (Unit& unit : ReadUnits())
        if (tvane::EqualsNoCase(unit.name, name))
            return unit;
    return std::nullopt;
}

// "host[:port]", ":port" or "port"; a missing host is the fallback's.
std::optional<Endpoint> ParseEndpoint(std::string_view text, const Endpoint* fallback) {
    const std::string value = Trim(text);
    if (value.empty())
        return std::nullopt;
    Endpoint endpoint;
    std::string host = value;
    const auto colon = value.rfind(':');
    if (auto port = Number(value)) {
        host.clear();
        endpoint.port = *port;
    } else if (colon != std::string::npos) {
        auto port = Number(value.substr(colon + 1));
        if (!port)
            return std::nullopt;
        host = value.substr(0, colon);
        endpoint.port = *port;
    }
    if (host.empty()) {
        if (!fallback)
            return std::nullopt;
        host = fallback->host;
    }
    if (endpoint.port <= 0 || endpoint.port > 65535)
        return std::nullopt;
    endpoint.host = host;
    return endpoint;
}

std::optional<Address> ParseAddress(const char* text) {
    if (!text)
        return std::nullopt;
    const std::string_view s = text;
    Address address;
    const auto nameEnd = s.find_first_of("[,");
    address.unit = Trim(s.substr(0, nameEnd));
    if (address.unit.empty())
        return std::nullopt;
    std::string_view rest =
        nameEnd == std::string_view::npos ? std::string_view() : s.substr(nameEnd);
    if (!rest.empty() && rest[0] == '[') {
        const auto close = rest.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        address.gateway = ParseEndpoint(rest.substr(1, close - 1), nullptr);
        if (!address.gateway)
            return std::nullopt;
        rest.remove_prefix(close + 1);
        // The name of the gateway's GPIB interface.
        const auto comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        if (name.size() < 2 || name[0] != ':')
            return std::nullopt;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma);
    }
    if (!rest.empty()) {
        const auto bus = Number(Trim(rest.substr(1)));
        if (rest[0] != ',' || !bus || *bus > kLastBusAddress)
            return std::nullopt;
        address.bus = *bus;
    }
    return address;
}

const Endpoint* GatewayOf(const Unit& unit, const Address& address) {
    if (address.gateway)
        return &*address.gateway;
    auto it = g_gateways.find(Lower(unit.name));
    return it == g_gateways.end() ? nullptr : &it->second;
}

// The socket of the instrument at bus address bus. A LAN device that has no
// entry of its own is the gateway's socket when gatewayDefault allows it.
std::optional<Endpoint> DeviceEndpoint(const Unit& unit, const Address& address, int bus,
                                       bool gatewayDefault) {
    const bool lan = unit.type == kWenxTypeLan;
    const Endpoint* gateway = lan ? GatewayOf(unit, address) : nullptr;
    const std::string key = "Device" + std::to_string(bus);
    const std::string value = tvane::GetPrivateProfileString(unit.name, key, "", kIni);
    if (!value.empty())
        return ParseEndpoint(value, gateway);
    if (lan && gatewayDefault && gateway)
        return *gateway;
    return std::nullopt;
}

int RemainingMs(SteadyClock::time_point deadline, int32_t timeout) {
    if (timeout <= 0)
        return -1; // no time limit
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
}

SteadyClock::time_point Deadline(int32_t timeout) {
    return SteadyClock::now() + std::chrono::milliseconds(std::max(0, timeout));
}

// Waits for events on fd; false at the time-out.
bool Wait(int fd, short events, SteadyClock::time_point deadline, int32_t timeout) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(deadline, timeout));
        if (n > 0)
            return true;
        if (n == 0)
            return false;
        if (errno != EINTR)
            return true; // let the following call report the fault
    }
}

// A connected non-blocking socket, or the error code.
int32_t Connect(const Endpoint& endpoint, int32_t timeout, int& fd) {
    fd = -1;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(endpoint.port);
    if (::getaddrinfo(endpoint.host.c_str(), port.c_str(), &hints, &found) != 0 || !found)
        return kWenxErrorAddress;
    int32_t result = kWenxErrorConnect;
    const auto deadline = Deadline(timeout);
    for (addrinfo* ai = found; ai && fd < 0; ai = ai->ai_next) {
        int s = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                         ai->ai_protocol);
        if (s < 0)
            continue;
        if (::connect(s, ai->ai_addr, ai->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                ::close(s);
                continue;
            }
            if (!Wait(s, POLLOUT, deadline, timeout)) {
                ::close(s);
                result = kWenxErrorTimeout;
                continue;
            }
            int error = 0;
            socklen_t size = sizeof error;
            if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
                ::close(s);
                continue;
            }
        }
        fd = s;
        result = kWenxOk;
    }
    ::freeaddrinfo(found);
    return result;
}

bool Probe(const Endpoint& endpoint, int32_t timeout) {
    int fd = -1;
    if (Connect(endpoint, timeout, fd) != kWenxOk)
        return false;
    ::close(fd);
    return true;
}

void Disconnect(Link& link) {
    if (link.fd >= 0)
        ::close(link.fd);
    link.fd = -1;
    link.pending.clear();
}

// The session's link, connected; null with the error code when it cannot be.
Link* Connected(Session& session, int32_t& code) {
    code = kWenxOk;
    if (session.IsInterface()) {
        code = kWenxErrorNotSupported;
        return nullptr;
    }
    if (!session.endpoint) {
        code = kWenxErrorNoDevice;
        return nullptr;
    }
    const Endpoint& e = *session.endpoint;
    Link& link = g_links.byEndpoint[e.host + ":" + std::to_string(e.port)];
    if (link.fd < 0) {
        link.pending.clear();
        code = Connect(e, session.ConnectTimeout(), link.fd);
        if (code != kWenxOk)
            return nullptr;
    }
    return &link;
}

// Moves what the socket holds now into pending; false when the instrument has
// closed the connection or it failed.
bool Drain(Link& link) {
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::recv(link.fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            link.pending.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        return false;
    }
}

Session* Find(WenxSession id) {
    auto it = g_sessions.find(id);
    return it == g_sessions.end() ? nullptr : &it->second;
}

std::size_t TakeAnswer(Link& link, char* buffer, uint32_t size, int32_t& reason) {
    const auto lineFeed = link.pending.find('\n');
    std::size_t n = std::min<std::size_t>(link.pending.size(), size);
    reason = 0;
    if (lineFeed != std::string::npos && lineFeed < n) {
        n = lineFeed + 1;
        reason = kWenxReasonTermChar;
    } else if (n == size) {
        reason = kWenxReasonCount;
    }
    std::memcpy(buffer, link.pending.data(), n);
    link.pending.erase(0, n);
    return n;
}

} // namespace

WENX_EXPORT WenxSession iopen(const char* addressText) {
    std::lock_guard lock(g_mutex);
    auto address = ParseAddress(addressText);
    std::optional<Unit> unit = address ? FindUnit(address->unit) : std::nullopt;
    if (!unit || (address->gateway && unit->type != kWenxTypeLan)) {
        Fail(0, address ? kWenxErrorUnit : kWenxErrorAddress);
        return 0;
    }
    Session session;
    session.unit = *unit;
    session.address = *address;
    if (address->gateway) {
        // The gateway must answer before its bus can be used.
        if (address->bus < 0 && !Probe(*address->gateway, kDefaultLanTimeout)) {
            Fail(0, kWenxErrorConnect);
            return 0;
        }
        g_gateways[Lower(unit->name)] = *address->gateway;
    }
    if (address->bus >= 0)
        session.endpoint = DeviceEndpoint(*unit, *address, address->bus, true);
    const WenxSession id = g_nextSession++;
    if (g_nextSession <= 0)
        g_nextSession = 1;
    g_sessions[id] = std::move(session);
    return id;
}

WENX_EXPORT int32_t iclose(WenxSession id) {
    std::lock_guard lock(g_mutex);
    Session* session = Find(id);
    if (!session)
        return Fail(id, kWenxErrorSession);
    g_sessions.erase(id);
    return kWenxOk;
}

WENX_EXPORT int32_t iwrite(WenxSession id, const char* data, uint32_t length, int32_t end,
                           uint32_t* written) {
    std::lock_guard lock(g_mutex);
    if (written)
        *written = 0;
    Session* session = Find(id);
    if (!session)
        return Fail(id, kWenxErrorSession);
    if (!data && length > 0)
        return Fail(id, kWenxErrorArgument);
    int32_t code = kWenxOk;
    Link* link = Connected(*session, code);
    if (!link)
        return Fail(id, code);
    std::string bytes(data ? data : "", length);
    // The end of a message is a line feed on a socket.
    if (end && (bytes.empty() || bytes.back() != '\n'))
        bytes += '\n';
    const auto deadline = Deadline(session->timeout);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(link->fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Wait(link->fd, POLLOUT, deadline, session->timeout)) {
                if (written)
                    *written = static_cast<uint32_t>(std::min<std::size_t>(done, length));
                return Fail(id, kWenxErrorTimeout);
            }
            continue;
        }
        Disconnect(*link);
        return Fail(id, kWenxErrorIo);
    }
    if (written)
        *written = length;
    return kWenxOk;
}

WENX_EXPORT int32_t iread(WenxSession id, char* buffer, uint32_t size, int32_t* reason,
                          uint32_t* got) {
    std::lock_guard lock(g_mutex);
    if (reason)
        *reason = 0;
    if (got)
        *got = 0;
    Session* session = Find(id);
    if (!session)
        return Fail(id, kWenxErrorSession);
    if (!buffer && size > 0)
        return Fail(id, kWenxErrorArgument);
    int32_t code = kWenxOk;
    Link* link = Connected(*session, code);
    if (!link)
        return Fail(id, code);
    const auto deadline = Deadline(session->timeout);
    int32_t why = 0;
    for (;;) {
        const bool complete =
            link->pending.find('\n') != std::string::npos || link->pending.size() >= size;
        if (complete) {
            const std::size_t n = TakeAnswer(*link, buffer, size, why);
            if (reason)
                *reason = why;
            if (got)
                *got = static_cast<uint32_t>(n);
            return kWenxOk;
        }
        if (!Wait(link->fd, POLLIN, deadline, session->timeout)) {
            // What came so far is handed over with the time-out.
            const std::size_t n = TakeAnswer(*link, buffer, size, why);
            if (got)
                *got = static_cast<uint32_t>(n);
            return Fail(id, kWenxErrorTimeout);
        }
        if (!Drain(*link)) {
            const std::size_t n = TakeAnswer(*link, buffer, size, why);
            ::close(link->fd);
            link->fd = -1;
            if (got)
                *got = static_cast<uint32_t>(n);
            if (n == 0)
                return Fail(id, kWenxErrorIo);
            if (reason)
                *reason = why | kWenxReasonEnd;
            return kWenxOk;
        }
    }
}

WENX_EXPORT const char* igeterrstr(int32_t code) {
    switch (code) {
    case kWenxOk:
        return "No error";
    case kWenxErrorAddress:
        return "Invalid address";
    case kWenxErrorSession:
        return "Invalid session";
    case kWenxErrorTimeout:
        return "Timeout occurred";
    case kWenxErrorIo:
        return "I/O operation failed";
    case kWenxErrorConnect:
        return "Cannot connect to the instrument";
    case kWenxErrorNoDevice:
        return "No device at this address";
    case kWenxErrorNotSupported:
        return "Operation not supported on this session";
    case kWenxErrorArgument:
        return "Invalid argument";
    case kWenxErrorUnit:
        return "Unknown interface or logical unit";
    default:
        return "Unknown error";
    }
}

WENX_EXPORT int32_t igeterrno() {
    return t_lastError;
}

WENX_EXPORT int32_t ionerror(WenxErrorHandler handler) {
    std::lock_guard lock(g_mutex);
    g_handler = handler;
    return kWenxOk;
}

namespace {

template <typename Action> int32_t WithSession(WenxSession id, Action action) {
    std::lock_guard lock(g_mutex);
    Session* session = Find(id);
    if (!session)
        return Fail(id, kWenxErrorSession);
    const int32_t code = action(*session);
    return code == kWenxOk ? kWenxOk : Fail(id, code);
}

} // namespace

WENX_EXPORT int32_t ilantimeout(WenxSession id, int32_t ms) {
    return WithSession(id, [ms](Session& s) {
        if (ms < 0)
            return int32_t{kWenxErrorArgument};
        s.lanTimeout = ms;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t ilangettimeout(WenxSession id, int32_t* ms) {
    return WithSession(id, [ms](Session& s) {
        if (!ms)
            return int32_t{kWenxErrorArgument};
        *ms = s.lanTimeout;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t itimeout(WenxSession id, int32_t ms) {
    return WithSession(id, [ms](Session& s) {
        if (ms < 0)
            return int32_t{kWenxErrorArgument};
        s.timeout = ms;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t igettimeout(WenxSession id, int32_t* ms) {
    return WithSession(id, [ms](Session& s) {
        if (!ms)
            return int32_t{kWenxErrorArgument};
        *ms = s.timeout;
        return int32_t{kWenxOk};
    });
}

// The serial poll of a socket: the message-available bit is set while an answer
// waits to be read.
WENX_EXPORT int32_t ireadstb(WenxSession id, uint8_t* status) {
    return WithSession(id, [status](Session& s) {
        if (!status)
            return int32_t{kWenxErrorArgument};
        int32_t code = kWenxOk;
        Link* link = Connected(s, code);
        if (!link)
            return code;
        if (!Drain(*link) && link->pending.empty()) {
            Disconnect(*link);
            return int32_t{kWenxErrorIo};
        }
        *status = link->pending.empty() ? 0 : kWenxStatusMessageAvailable;
        return int32_t{kWenxOk};
    });
}

// A socket has no remote-enable line: local and remote are the session's state.
WENX_EXPORT int32_t ilocal(WenxSession id) {
    return WithSession(id, [](Session& s) {
        s.remote = false;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t iremote(WenxSession id) {
    return WithSession(id, [](Session& s) {
        s.remote = true;
        return int32_t{kWenxOk};
    });
}

// Device clear: what the instrument sent and nobody read is dropped.
WENX_EXPORT int32_t iclear(WenxSession id) {
    return WithSession(id, [](Session& s) {
        int32_t code = kWenxOk;
        Link* link = Connected(s, code);
        if (!link)
            return code;
        if (!Drain(*link))
            Disconnect(*link);
        link->pending.clear();
        return int32_t{kWenxOk};
    });
}

// The calls of this library are serialised anyway; the lock counts so that an
// unlock without a lock is refused.
WENX_EXPORT int32_t ilock(WenxSession id) {
    return WithSession(id, [](Session& s) {
        ++s.locks;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t iunlock(WenxSession id) {
    return WithSession(id, [](Session& s) {
        if (s.locks == 0)
            return int32_t{kWenxErrorArgument};
        --s.locks;
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t igetlulist(int32_t* list) {
    std::lock_guard lock(g_mutex);
    if (!list)
        return Fail(0, kWenxErrorArgument);
    int n = 0;
    for (const Unit& unit : ReadUnits())
        list[n++] = unit.logicalUnit;
    list[n] = -1;
    return kWenxOk;
}

WENX_EXPORT int32_t igetluinfo(int32_t logicalUnit, WenxUnitInfo* info) {
    std::lock_guard lock(g_mutex);
    if (!info)
        return Fail(0, kWenxErrorArgument);
    for (const Unit& unit : ReadUnits()) {
        if (unit.logicalUnit != logicalUnit)
            continue;
        *info = WenxUnitInfo{};
        info->logicalUnit = unit.logicalUnit;
        info->interfaceType = unit.type;
        info->busAddress = unit.busAddress;
        const std::size_t n = std::min(unit.name.size(), kNameChars);
        std::memcpy(info->symbolicName, unit.name.data(), n);
        info->symbolicName[n] = '\0';
        return kWenxOk;
    }
    return Fail(0, kWenxErrorUnit);
}

WENX_EXPORT int32_t igpibbusstatus(WenxSession id, int32_t selector, int32_t* result) {
    return WithSession(id, [selector, result](Session& s) {
        if (!result)
            return int32_t{kWenxErrorArgument};
        if (!s.IsInterface())
            return int32_t{kWenxErrorNotSupported};
        if (selector == kWenxBusAddress) {
            *result = s.unit.busAddress;
            return int32_t{kWenxOk};
        }
        if (selector == kWenxBusNdac) {
            // A listener holds NDAC while it is there to accept data.
            int32_t ndac = 0;
            for (int bus : s.listeners) {
                auto endpoint = DeviceEndpoint(s.unit, s.address, bus, false);
                if (endpoint && Probe(*endpoint, s.ConnectTimeout()))
                    ndac = 1;
            }
            *result = ndac;
            return int32_t{kWenxOk};
        }
        return int32_t{kWenxErrorArgument};
    });
}

WENX_EXPORT int32_t igpibsendcmd(WenxSession id, const char* bytes, int32_t count) {
    return WithSession(id, [bytes, count](Session& s) {
        if (!s.IsInterface())
            return int32_t{kWenxErrorNotSupported};
        if (count < 0 || (!bytes && count > 0))
            return int32_t{kWenxErrorArgument};
        for (int32_t i = 0; i < count; ++i) {
            const auto b = static_cast<uint8_t>(bytes[i]);
            if (b == kUnlisten)
                s.listeners.clear();
            else if (b >= kListenBase && b < kUnlisten)
                s.listeners.insert(b - kListenBase);
            // Talk addresses and untalk need no state: the controller reads nothing.
        }
        return int32_t{kWenxOk};
    });
}

WENX_EXPORT int32_t igpibatnctl(WenxSession id, int32_t) {
    return WithSession(id, [](Session& s) {
        return s.IsInterface() ? int32_t{kWenxOk} : int32_t{kWenxErrorNotSupported};
    });
}

WENX_EXPORT int32_t igpibrenctl(WenxSession id, int32_t on) {
    return WithSession(id, [on](Session& s) {
        if (!s.IsInterface())
            return int32_t{kWenxErrorNotSupported};
        s.remote = on != 0;
        return int32_t{kWenxOk};
    });
}

// Hints tune a real bus; a socket has nothing to tune.
WENX_EXPORT int32_t ihint(WenxSession id, int32_t) {
    return WithSession(id, [](Session&) { return int32_t{kWenxOk}; });
}

WENX_EXPORT int32_t iversion(int32_t* major, int32_t* minor) {
    if (major)
        *major = 1;
    if (minor)
        *minor = 0;
    return kWenxOk;
}
