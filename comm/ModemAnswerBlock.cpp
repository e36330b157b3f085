#include "comm/ModemAnswerBlock.h"

namespace tvane::comm {
namespace {
std::mutex g_registryLock;
std::weak_ptr<ModemAnswerBlock> g_block;
} // namespace

std::shared_ptr<ModemAnswerBlock> ModemAnswerBlock::Create() {
    auto block = std::make_shared<ModemAnswerBlock>();
    std::lock_guard<std::mutex> hold(g_registryLock);
    g_block = block;
    return block;
}

std::shared_ptr<ModemAnswerBlock> ModemAnswerBlock::Open() {
    std::lock_guard<std::mutex> hold(g_registryLock);
    return g_block.lock();
}

void ModemAnswerBlock::Clear() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_text.clear();
    m_ready = false;
}

void ModemAnswerBlock::Publish(std::string text) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_text = std::move(text);
        m_ready = true;
    }
    m_changed.notify_all();
}

void ModemAnswerBlock::MarkDropped() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_dropped = true;
    }
    m_changed.notify_all();
}

bool ModemAnswerBlock::Ready() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_ready;
}

bool ModemAnswerBlock::Dropped() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_dropped;
}

std::string ModemAnswerBlock::Text() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_text;
}

bool ModemAnswerBlock::Wait(std::chrono::milliseconds ms) {
    std::unique_lock<std::mutex> hold(m_lock);
    return m_changed.wait_for(hold, ms, [this] { return m_ready || m_dropped; });
}

} // namespace tvane::comm
