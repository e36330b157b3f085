#include "comm/ModemPort.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "comm/ModemAnswerBlock.h"
#include "comm/TelephonyPump.h"
#include "platform/tapi/TapiDiagnostics.h"

namespace tvane::comm {
namespace {

using tapi::OutputDebugLastError;
using tapi::OutputDebugPrintf;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 4000;
// An answer is taken as whole when nothing follows its line feed for this long: the
// modem reports a lost carrier right behind the cut, in the same burst.
constexpr auto kQuiet = std::chrono::milliseconds(50);
constexpr auto kThreadExit = std::chrono::seconds(10);
// An answer that never ends is handed on in pieces of this size.
constexpr std::size_t kMaxAnswer = 64 * 1024;
constexpr int kPostTries = 3;
constexpr std::uint32_t kPostRetryMs = 1000;
constexpr const char* kNoCarrier = "NO CARRIER";

// One data link. The threads hold it too, so a thread that had to be left running
// never touches freed memory; the descriptors close with the last holder.
struct Link {
    int port = -1;
    int stop = -1; // an eventfd: readable once the link is to stop
    std::thread reader, writer;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::string> writes;
    bool stopping = false;
    bool readerDone = false;
    bool writerDone = false;

    ~Link() {
        if (port >= 0)
            ::close(port);
        if (stop >= 0)
            ::close(stop);
    }
    void Finish(bool Link::*flag) {
        {
            std::lock_guard<std::mutex> hold(lock);
            this->*flag = true;
        }
        changed.notify_all();
    }
};

std::mutex g_linkLock;
std::shared_ptr<Link> g_link;

std::string WithoutLineEnd(const std::string& line) {
    std::string bare = line;
    while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r'))
        bare.pop_back();
    return bare;
}

// Leaves one received line in the block: a closing CR LF goes, anything else stays.
void Publish(const std::shared_ptr<ModemAnswerBlock>& block, const std::string& line) {
    if (!block)
        return; // no block: the reader runs without handing answers on
    const std::size_t n = line.size();
    block->Publish(n > 2 && line[n - 2] == '\r' ? line.substr(0, n - 2) : line);
}

// Hands on the whole lines received. Returns true while the last line waits for the
// quiet time (quietOver: it has passed). Sets dropped when the carrier went.
bool TakeLines(std::string& pending, const std::shared_ptr<ModemAnswerBlock>& block, bool quietOver,
               bool& dropped) {
    for (;;) {
        const std::size_t lf = pending.find('\n');
        if (lf == std::string::npos) {
            if (pending.size() >= kMaxAnswer) {
                Publish(block, pending);
                pending.clear();
            }
            return false;
        }
        const std::string rest = pending.substr(lf + 1);
        if (rest.empty() && !quietOver)
            return true;
        const std::string line = pending.substr(0, lf + 1);
        pending.erase(0, lf + 1);
        // What stands right before the modem's result is a cut answer, or the empty
        // line the result starts with; neither is an answer.
        if (rest.rfind(kNoCarrier, 0) == 0 || WithoutLineEnd(line) == kNoCarrier) {
            OutputDebugPrintf("The carrier was lost.\n");
            dropped = true;
            pending.clear();
            if (block)
                block->MarkDropped();
            return false;
        }
        if (!WithoutLineEnd(line).empty())
            Publish(block, line);
    }
}

void ReadLoop(std::shared_ptr<Link> link) {
    const std::shared_ptr<ModemAnswerBlock> block = ModemAnswerBlock::Open();
    if (block)
        block->Clear();
    std::string pending;
    bool holding = false, dropped = false;
    Clock::time_point quietEnd{};
    char chunk[kReadChunk];
    for (;;) {
        pollfd fds[2] = {{link->stop, POLLIN, 0}, {link->port, POLLIN, 0}};
        int timeout = -1;
        if (holding)
            timeout = static_cast<int>(std::max<long long>(
                0, std::chrono::duration_cast<std::chrono::milliseconds>(quietEnd - Clock::now())
                       .count()));
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            OutputDebugLastError(errno, "Read WAIT_FAILED: ");
            break;
        }
        if (fds[0].revents)
            break;
        if (ready == 0) {
            holding = TakeLines(pending, block, true, dropped);
            continue;
        }
        if (fds[1].revents & POLLNVAL) {
            OutputDebugPrintf(
                "ERROR_INVALID_HANDLE, Likely that the Service Provider has closed the port.\n");
            break;
        }
        const ssize_t n = (fds[1].revents & POLLIN) ? ::read(link->port, chunk, sizeof chunk) : 0;
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n > 0) {
            if (dropped)
                continue; // the modem is back in command mode; nothing here is an answer
            pending.append(chunk, static_cast<std::size_t>(n));
            holding = TakeLines(pending, block, false, dropped);
            if (holding)
                quietEnd = Clock::now() + kQuiet;
            continue;
        }
        if (n < 0 && errno != EIO) {
            OutputDebugLastError(errno, "Unexpected ReadFile error: ");
            break;
        }
        // The port hung up: the carrier is gone with whatever was on its way.
        if (!dropped && block)
            block->MarkDropped();
        OutputDebugPrintf("The port hung up.\n");
        break;
    }
    OutputDebugPrintf("Read thread shutting down\n");
    ::tcflush(link->port, TCIFLUSH);
    link->Finish(&Link::readerDone);
}

// Writes all of bytes; false when the link stops first or the port fails.
bool WriteAll(Link& link, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(link.port, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EBADF) {
            OutputDebugPrintf("ERROR_INVALID_HANDLE writing to the port.\n");
            return false;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            OutputDebugLastError(errno, "Error to writing to CommFile");
            OutputDebugPrintf("Closing TAPI\n");
            return false;
        }
        // Pending: wait until the port takes more or the link stops.
        pollfd fds[2] = {{link.stop, POLLIN, 0}, {link.port, POLLOUT, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            OutputDebugLastError(errno, "Error writing to CommFile while waiting");
            OutputDebugPrintf("Closing TAPI\n");
            return false;
        }
        if (fds[0].revents)
            return false;
    }
    return true;
}

void WriteLoop(std::shared_ptr<Link> link) {
    for (;;) {
        std::string bytes;
        {
            std::unique_lock<std::mutex> hold(link->lock);
            link->changed.wait(hold, [&] { return link->stopping || !link->writes.empty(); });
            if (link->stopping)
                break;
            bytes = std::move(link->writes.front());
            link->writes.pop_front();
        }
        if (!WriteAll(*link, bytes))
            break;
    }
    OutputDebugPrintf("Write thread shutting down\n");
    ::tcflush(link->port, TCOFLUSH);
    link->Finish(&Link::writerDone);
}

// Waits for a thread to end; one that does not is left running on its own.
void EndThread(Link& link, std::thread& thread, bool Link::*done, const char* message) {
    if (!thread.joinable())
        return;
    bool ended = false;
    {
        std::unique_lock<std::mutex> hold(link.lock);
        ended = link.changed.wait_for(hold, kThreadExit, [&] { return link.*done; });
    }
    if (ended) {
        thread.join();
    } else {
        OutputDebugPrintf("%s", message);
        thread.detach();
    }
}

} // namespace

bool ModemPort::StartComm(int descriptor) {
    struct stat st {};
    if (descriptor < 0 || ::fstat(descriptor, &st) != 0 || !S_ISCHR(st.st_mode) ||
        !::isatty(descriptor)) {
        OutputDebugPrintf("File handle is not a comm handle.\n");
        return false;
    }
    std::lock_guard<std::mutex> hold(g_linkLock);
    if (g_link) {
        OutputDebugPrintf("Already have a comm file open\n");
        return false;
    }
    auto link = std::make_shared<Link>();
    link->stop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (link->stop < 0) {
        OutputDebugLastError(errno, "Unable to CreateEvent: ");
        return false;
    }
    link->port = descriptor;
    try {
        link->reader = std::thread(ReadLoop, link);
    } catch (const std::system_error&) {
        OutputDebugPrintf("Unable to create Read thread");
        link->port = -1; // still the caller's
        return false;
    }
    try {
        link->writer = std::thread(WriteLoop, link);
    } catch (const std::system_error&) {
        OutputDebugPrintf("Unable to create Write thread");
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(link->stop, &one, sizeof one);
        link->reader.join();
        link->port = -1;
        return false;
    }
    g_link = std::move(link);
    return true;
}

void ModemPort::StopComm() {
    std::shared_ptr<Link> link;
    {
        std::lock_guard<std::mutex> hold(g_linkLock);
        link = std::move(g_link);
    }
    if (!link)
        return;
    OutputDebugPrintf("Stopping the Comm\n");
    {
        std::lock_guard<std::mutex> hold(link->lock);
        link->stopping = true;
    }
    link->changed.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(link->stop, &one, sizeof one);
    ::tcflush(link->port, TCIFLUSH);
    EndThread(*link, link->reader, &Link::readerDone,
              "Read thread not exiting.  Terminating it.\n");
    ::tcflush(link->port, TCOFLUSH);
    EndThread(*link, link->writer, &Link::writerDone,
              "Write thread not exiting.  Terminating it.\n");
}

bool ModemPort::PostWrite(std::string bytes) {
    std::shared_ptr<Link> link;
    {
        std::lock_guard<std::mutex> hold(g_linkLock);
        link = g_link;
    }
    if (!link)
        return false;
    for (int attempt = 1;; ++attempt) {
        {
            std::lock_guard<std::mutex> hold(link->lock);
            if (!link->writerDone && !link->stopping) {
                link->writes.push_back(std::move(bytes));
                link->changed.notify_all();
                return true;
            }
        }
        if (attempt == kPostTries)
            return false;
        WaitTelephony(kPostRetryMs, [] { return false; });
    }
}

bool ModemPort::IsRunning() {
    std::lock_guard<std::mutex> hold(g_linkLock);
    return g_link != nullptr;
}

} // namespace tvane::comm
