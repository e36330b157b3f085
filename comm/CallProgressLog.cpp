#include "comm/CallProgressLog.h"

namespace tvane::comm {
namespace {
CallProgressFactory& Factory() {
    static CallProgressFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<ICallProgressDialog> CreateCallProgressDialog(WindowHandle owner) {
    if (Factory())
        return Factory()(owner);
    return std::make_unique<CallProgressLog>();
}

void SetCallProgressFactory(CallProgressFactory factory) {
    Factory() = std::move(factory);
}

CallProgressLog::CallProgressLog(std::shared_ptr<CallProgressRecord> record)
    : m_record(record ? std::move(record) : std::make_shared<CallProgressRecord>()) {
    ++m_record->opened;
}

void CallProgressLog::AddLine(const std::string& text) {
    m_record->lines.push_back(text);
    if (m_record->onLine)
        m_record->onLine(text);
}

void CallProgressLog::Close() {
    if (m_open)
        ++m_record->closed;
    m_open = false;
}

bool CallProgressLog::TakeCancel() {
    const bool cancel = m_record->cancel;
    m_record->cancel = false;
    return cancel;
}

} // namespace tvane::comm
