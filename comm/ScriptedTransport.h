#pragma once
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"

namespace tvane::comm {

// A transport that plays an instrument from a script: it records every operation in a
// transcript and answers reads from the script, including time-outs and errors. Tests
// and demonstrations put it into the transport factory in place of a real link.
class ScriptedTransport final : public CCommInterface {
public:
    // One answer of the instrument.
    struct Step {
        enum Kind { Reply, Timeout, Error } kind = Reply;
        std::string text; // Reply: the bytes sent back (line feed included)
        int32_t code = 0; // Error: the code recorded
        static Step Answer(std::string line) { return {Reply, std::move(line) + "\n", 0}; }
        static Step Raw(std::string bytes) { return {Reply, std::move(bytes), 0}; }
        static Step TimedOut() { return {Timeout, {}, 0}; }
        static Step Failed(int32_t code, std::string text) {
            return {Error, std::move(text), code};
        }
    };

    // Shared by the test and the transports it makes, so it outlives a transport that
    // the control deletes.
    struct Script {
        // Each time the command is sent, the next of its steps is queued for reading;
        // the last step repeats.
        void On(const std::string& command, std::vector<Step> steps) {
            rules[command] = {std::move(steps), 0};
        }
        void On(const std::string& command, const std::string& answer) {
            On(command, {Step::Answer(answer)});
        }

        std::map<std::string, std::pair<std::vector<Step>, std::size_t>> rules;
        std::deque<Step> pending; // what the next reads answer
        // Commands whose send fails with this code and text.
        std::map<std::string, std::pair<int32_t, std::string>> sendFailures;
        // A read with nothing to answer times out with this error.
        int32_t timeoutCode = 1052;
        std::string timeoutText = "Unable to receive data over the RS-232 port - ensure "
                                  "device is on-line.";
        bool initializes = true;
        // Addresses that open; empty means every address opens.
        std::set<std::string> present;
        int32_t openFailureCode = 1008;
        std::vector<std::string> controllers;
        std::map<std::string, uint32_t> listenerMasks;
        std::vector<std::string> searchLines; // what Search finds (filtered)
        bool searchResult = true;
        bool releases = true; // ReleaseLine's answer
        bool responding = true;
        std::string baud, parity, handshake;

        // Every operation in order: "> command", "< answer" (as read, zero bytes
        // dropped), "< (time-out)", "< (error N)", "[open address]", "[close]",
        // "[local]", "[remote]", "[clear]", "[exclusive N]", "[release N]", "[deleted]".
        std::vector<std::string> transcript;
        std::vector<std::string> sent;
    };

    explicit ScriptedTransport(std::shared_ptr<Script> script, int32_t type = 4);
    ~ScriptedTransport() override;

    Script& GetScript() { return *m_script; }

    bool GetListenerMask(const std::string& controller, uint32_t& mask) override;
    bool Initialize() override;
    bool Open(const char* address) override;
    bool Close() override;
    bool Send(const char* command) override;
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool GoToRemote() override;
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag) override;
    void SetExclusive(int32_t exclusive) override;
    int16_t IsMsgAvailable() override;
    void Clear() override;
    bool GetControllerName(int32_t index, std::string& name) override;
    bool IsInstrumentResponding() override;
    bool ReleaseLine(bool confirm) override;
    bool GetSerialSettings(std::string& baud, std::string& parity, std::string& handshake) override;

private:
    std::shared_ptr<Script> m_script;
};

} // namespace tvane::comm
