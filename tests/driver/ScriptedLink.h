#pragma once
#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "driver/IInstrumentLink.h"

namespace tvane::driver::test {

// An instrument played from a script behind the driver's link. Every command
// sent and every answer read land in one transcript of (sent, reply) pairs.
// Answers end with a zero byte where the transport dropped the line feed, and
// the received count includes it, as the real transports deliver them.
class ScriptedLink : public IInstrumentLink {
public:
    using Transcript = std::vector<std::pair<std::string, std::string>>;

    explicit ScriptedLink(int interfaceType = 4) : type(interfaceType) {}

    // The answer to a query; repeated for every send of that command.
    void On(const std::string& command, const std::string& answer) { answers[command] = answer; }
    // Bytes that the next receive delivers whatever was sent (reading blocks).
    void Queue(const std::string& bytes) { queued.push_back(bytes); }

    bool SendRawMsg(const char* command) override {
        transcript.emplace_back(command, "");
        if (failSend.count(command))
            return false;
        auto it = answers.find(command);
        if (it != answers.end())
            pending.push_back(it->second);
        return true;
    }

    bool RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) override {
        *count = 0;
        std::string bytes;
        if (!tail.empty()) {
            bytes = tail;
            tail.clear();
        } else if (!pending.empty()) {
            bytes = pending.front();
            pending.pop_front();
        } else if (!queued.empty()) {
            bytes = queued.front();
            queued.pop_front();
        } else if (type == 0) {
            // The simulated transport reads one byte and writes nothing.
            *count = 1;
            return true;
        } else {
            commError = 1052;
            commErrorText = "time-out";
            if (transcript.empty() || !transcript.back().second.empty())
                transcript.emplace_back("", "(time-out)");
            else
                transcript.back().second = "(time-out)";
            return false;
        }
        if (transcript.empty() || !transcript.back().second.empty())
            transcript.emplace_back("", bytes);
        else
            transcript.back().second = bytes;
        // The transport drops the closing line feed.
        if (!bytes.empty() && bytes.back() == '\n')
            bytes.pop_back();
        if (!bytes.empty() && bytes.back() == '\r')
            bytes.pop_back();
        std::size_t n = std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(size));
        // What does not fit stays with the instrument, as the next answer.
        if (bytes.size() > n)
            tail = bytes.substr(n) + "\n";
        std::memcpy(buffer, bytes.data(), n);
        if (n < static_cast<std::size_t>(size)) {
            buffer[n] = '\0';
            ++n;
        }
        *count = static_cast<std::int32_t>(n);
        return receiveResult;
    }

    int InterfaceType() override { return type; }

    // Like the control, hands out the error and clears it.
    bool GetCommError(std::string& text, std::int32_t& code) override {
        code = commError;
        text = commError ? commErrorText : "No Error";
        commError = 0;
        return true;
    }

    // Device clear: the instrument drops every answer it still had to send.
    bool ClearDevice() override {
        ++clears;
        tail.clear();
        pending.clear();
        return true;
    }

    // Only the commands, in order.
    std::vector<std::string> Sent() const {
        std::vector<std::string> out;
        for (const auto& [s, r] : transcript)
            if (!s.empty())
                out.push_back(s);
        return out;
    }

    int type;
    std::map<std::string, std::string> answers;
    std::deque<std::string> pending;
    std::deque<std::string> queued;
    std::set<std::string> failSend;
    bool receiveResult = true;
    std::int32_t commError = 0;
    std::string commErrorText;
    std::string tail;
    int clears = 0;
    Transcript transcript;
};

} // namespace tvane::driver::test
