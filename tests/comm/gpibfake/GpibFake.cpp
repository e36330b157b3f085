// A GPIB board library for tests: the NI-488.2 entry points over scripted
// instruments. Board 0 (and board 1 when asked) exist; an instrument on a board
// answers the commands it has replies for, byte for byte, and holds an answer until
// it is read. Built plain it names its status variables as linux-gpib does; with
// GPIB_FAKE_NI_NAMES as the NI library does; with GPIB_FAKE_PARTIAL it lacks FindLstn.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "comm/GpibApi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

using namespace tvane::comm;

#ifdef GPIB_FAKE_NI_NAMES
#define STATUS_NAME user_ibsta
#define ERROR_NAME user_iberr
#define COUNT_NAME user_ibcnt
#else
#define STATUS_NAME ibsta
#define ERROR_NAME iberr
#define COUNT_NAME ibcnt
#endif

extern "C" {
__attribute__((visibility("default"))) volatile int STATUS_NAME = 0;
__attribute__((visibility("default"))) volatile int ERROR_NAME = 0;
__attribute__((visibility("default"))) volatile int COUNT_NAME = 0;
}

namespace {

constexpr int kFirstDevice = 32;

struct Instrument {
    std::map<std::string, std::string> replies;
    std::string output;
};

struct Handle {
    int board = 0;
    int pad = 0;
    int timeout = 0;
    bool open = false;
};

struct Bus {
    int boards = 1;
    std::size_t chunk = 1024;
    std::map<std::pair<int, int>, Instrument> instruments;
    std::vector<Handle> handles;
    int boardTimeout[2] = {};
    std::string log;
};

Bus& TheBus() {
    static Bus bus;
    return bus;
}

void Log(const std::string& entry) {
    std::string& log = TheBus().log;
    if (!log.empty())
        log += ';';
    log += entry;
}

void Done(int count = 0) {
    STATUS_NAME = kGpibCmpl;
    COUNT_NAME = count;
}

void Fail(int error, int extra = 0) {
    STATUS_NAME = kGpibErr | extra;
    ERROR_NAME = error;
    COUNT_NAME = 0;
}

bool BoardExists(int board) {
    return board >= 0 && board < TheBus().boards;
}

Instrument* Find(int board, int pad) {
    auto& all = TheBus().instruments;
    auto it = all.find({board, pad});
    return it == all.end() || !BoardExists(board) ? nullptr : &it->second;
}

Handle* DeviceHandle(int ud) {
    auto& handles = TheBus().handles;
    const int index = ud - kFirstDevice;
    if (index < 0 || index >= static_cast<int>(handles.size()) || !handles[index].open)
        return nullptr;
    return &handles[index];
}

} // namespace

// The tests' side: the bus's make-up and what happened on it.
FAKE_EXPORT void gpibfake_reset(int boards) {
    TheBus() = Bus{};
    TheBus().boards = boards;
    STATUS_NAME = 0;
    ERROR_NAME = 0;
    COUNT_NAME = 0;
}
FAKE_EXPORT void gpibfake_reply(int board, int pad, const char* command, const char* reply) {
    TheBus().instruments[{board, pad}].replies[command] = reply;
}
FAKE_EXPORT void gpibfake_chunk(int bytes) {
    TheBus().chunk = static_cast<std::size_t>(bytes);
}
FAKE_EXPORT const char* gpibfake_log() {
    return TheBus().log.c_str();
}
FAKE_EXPORT void gpibfake_clear_log() {
    TheBus().log.clear();
}
FAKE_EXPORT int gpibfake_open_handles() {
    int n = 0;
    for (const Handle& h : TheBus().handles)
        n += h.open ? 1 : 0;
    return n;
}
// The time-out code a device handle (or, for 0 and 1, a board) waits with.
FAKE_EXPORT int gpibfake_timeout(int ud) {
    if (ud == 0 || ud == 1)
        return TheBus().boardTimeout[ud];
    const Handle* h = DeviceHandle(ud);
    return h ? h->timeout : -1;
}

FAKE_EXPORT int ibonl(int ud, int online) {
    Log("ibonl " + std::to_string(ud) + " " + std::to_string(online));
    if (ud == 0 || ud == 1) {
        if (!BoardExists(ud))
            Fail(kGpibEneb);
        else
            Done();
    } else if (Handle* h = DeviceHandle(ud); h && online == 0) {
        h->open = false;
        Done();
    } else {
        Fail(kGpibEarg);
    }
    return STATUS_NAME;
}

FAKE_EXPORT int ibtmo(int ud, int code) {
    Log("ibtmo " + std::to_string(ud) + " " + std::to_string(code));
    if (code < 0 || code > 17) {
        Fail(kGpibEarg);
    } else if ((ud == 0 || ud == 1) && BoardExists(ud)) {
        TheBus().boardTimeout[ud] = code;
        Done();
    } else if (Handle* h = DeviceHandle(ud)) {
        h->timeout = code;
        Done();
    } else {
        Fail(kGpibEarg);
    }
    return STATUS_NAME;
}

FAKE_EXPORT int ibdev(int board, int pad, int sad, int timeout, int eot, int eos) {
    Log("ibdev " + std::to_string(board) + " " + std::to_string(pad));
    if (!BoardExists(board) || pad < 0 || pad > 30 || sad != 0 || eot != 1 || eos != 0) {
        Fail(BoardExists(board) ? kGpibEarg : kGpibEneb);
        return -1;
    }
    TheBus().handles.push_back({board, pad, timeout, true});
    Done();
    return kFirstDevice + static_cast<int>(TheBus().handles.size()) - 1;
}

FAKE_EXPORT int ibwrt(int ud, const void* buffer, long count) {
    const Handle* h = DeviceHandle(ud);
    if (!h) {
        Fail(kGpibEdvr);
        return STATUS_NAME;
    }
    Instrument* instrument = Find(h->board, h->pad);
    if (!instrument) {
        Fail(kGpibEnol);
        return STATUS_NAME;
    }
    std::string command(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
    Log("write " + std::to_string(h->pad) + " " + command);
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
        command.pop_back();
    auto it = instrument->replies.find(command);
    if (it != instrument->replies.end())
        instrument->output += it->second;
    Done(static_cast<int>(count));
    return STATUS_NAME;
}

FAKE_EXPORT int ibrd(int ud, void* buffer, long count) {
    const Handle* h = DeviceHandle(ud);
    Instrument* instrument = h ? Find(h->board, h->pad) : nullptr;
    if (!instrument || instrument->output.empty()) {
        // Nobody talks: the read waits out its time-out.
        Fail(h ? kGpibEabo : kGpibEdvr, h ? kGpibTimo : 0);
        return STATUS_NAME;
    }
    const std::size_t n =
        std::min({static_cast<std::size_t>(count), TheBus().chunk, instrument->output.size()});
    std::memcpy(buffer, instrument->output.data(), n);
    instrument->output.erase(0, n);
    Done(static_cast<int>(n));
    if (instrument->output.empty())
        STATUS_NAME = STATUS_NAME | kGpibEnd;
    return STATUS_NAME;
}

FAKE_EXPORT void SendIFC(int board) {
    Log("SendIFC " + std::to_string(board));
    if (BoardExists(board))
        Done();
    else
        Fail(kGpibEneb);
}

FAKE_EXPORT void ReadStatusByte(int board, Addr4882 address, short* result) {
    const Instrument* instrument = Find(board, address & 0xFF);
    if (!instrument) {
        Fail(kGpibEabo, kGpibTimo);
        return;
    }
    *result = instrument->output.empty() ? 0 : 16;
    Done();
}

#ifndef GPIB_FAKE_PARTIAL
FAKE_EXPORT void FindLstn(int board, const Addr4882* pads, Addr4882* results, int maxResults) {
    if (!BoardExists(board)) {
        Fail(kGpibEneb);
        return;
    }
    int found = 0;
    for (; *pads != kGpibNoAddress; ++pads)
        if (Find(board, *pads & 0xFF) && found < maxResults)
            results[found++] = *pads;
    Done(found);
}
#endif

FAKE_EXPORT void DevClear(int board, Addr4882 address) {
    Log("clear " + std::to_string(address));
    if (Instrument* instrument = Find(board, address & 0xFF)) {
        instrument->output.clear();
        Done();
    } else {
        Fail(kGpibEnol);
    }
}

FAKE_EXPORT void EnableRemote(int board, const Addr4882* addresses) {
    for (; *addresses != kGpibNoAddress; ++addresses)
        Log("remote " + std::to_string(board) + " " + std::to_string(*addresses));
    Done();
}

FAKE_EXPORT void EnableLocal(int board, const Addr4882* addresses) {
    for (; *addresses != kGpibNoAddress; ++addresses)
        Log("local " + std::to_string(board) + " " + std::to_string(*addresses));
    Done();
}

// Present because the library has them; the transport does not call them.
FAKE_EXPORT void Receive(int, Addr4882, void*, long, int) {
    Fail(kGpibEcap);
}
FAKE_EXPORT void RcvRespMsg(int, void*, long, int) {
    Fail(kGpibEcap);
}
FAKE_EXPORT void Send(int, Addr4882, const void*, long, int) {
    Fail(kGpibEcap);
}
FAKE_EXPORT void SendCmds(int, const void*, long) {
    Fail(kGpibEcap);
}
FAKE_EXPORT void SendDataBytes(int, const void*, long, int) {
    Fail(kGpibEcap);
}
FAKE_EXPORT int ibln(int, int, int, short*) {
    Fail(kGpibEcap);
    return STATUS_NAME;
}
FAKE_EXPORT int ibrsp(int, char*) {
    Fail(kGpibEcap);
    return STATUS_NAME;
}
