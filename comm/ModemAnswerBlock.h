#pragma once
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace tvane::comm {

// The block in which the modem's reader thread leaves the instrument's answer for the
// transport ("OmbraModemSharedData"). The transport creates it and clears it before
// each command; the reader finds it by name and is the only one to publish. A lock
// guards it, and a waiting reader of the block wakes as soon as an answer is in.
class ModemAnswerBlock {
public:
    static constexpr const char* kName = "OmbraModemSharedData";

    // Creates the block and makes it the one found by name.
    static std::shared_ptr<ModemAnswerBlock> Create();
    // The block made last, null when it is gone.
    static std::shared_ptr<ModemAnswerBlock> Open();

    // Empties the answer; a dropped line stays dropped.
    void Clear();
    void Publish(std::string text);
    // The carrier is gone: no answer will come.
    void MarkDropped();

    bool Ready() const;
    bool Dropped() const;
    std::string Text() const;
    // Waits until an answer is in or the line is dropped, at most for the given time.
    bool Wait(std::chrono::milliseconds ms);

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_text;
    bool m_ready = false;
    bool m_dropped = false;
};

} // namespace tvane::comm
