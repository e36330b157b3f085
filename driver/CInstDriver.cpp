#include "driver/CInstDriver.h"

#include <cstdlib>
#include <cstring>

#include "driver/DriverStrings.h"
#include "driver/ReplyNumbers.h"
#include "platform/core/Format.h"

namespace tvane::driver {

CInstDriver::CInstDriver(IInstrumentLink* link)
    : m_link(link), m_buffer(new char[kReceiveSize + 1]()),
      m_noErrorText(LoadDriverString(kNoError)) {
    ClearError();
}

CInstDriver::~CInstDriver() {
    delete[] m_buffer;
}

void CInstDriver::ClearError() {
    m_errorCode = 0;
    m_errorText = m_noErrorText;
}

void CInstDriver::SetError(int id) {
    if (id == kNoError) {
        ClearError();
        return;
    }
    m_errorCode = id;
    m_errorText = LoadDriverString(static_cast<unsigned>(id));
}

void CInstDriver::SetError(int id, const std::string& text) {
    if (id == kNoError) {
        ClearError();
        return;
    }
    m_errorCode = id;
    m_errorText = text;
}

bool CInstDriver::GetLastError(std::string& text, std::int32_t& code) {
    bool result = false;
    text.clear();
    code = 0;
    if (m_link)
        result = m_link->GetCommError(text, code);
    if (code == 0 && m_errorCode != 0) {
        text = m_errorText;
        code = m_errorCode;
        result = true;
    }
    ClearError();
    return result;
}

bool CInstDriver::IsSimulated() const {
    return !m_link || m_link->InterfaceType() == 0;
}

bool CInstDriver::SendCommand(const std::string& command) {
    return m_link && m_link->SendRawMsg(command.c_str());
}

bool CInstDriver::ReceiveRaw(char* buffer, std::int32_t size, std::int32_t* count) {
    std::int32_t got = 0;
    bool ok = m_link && m_link->RecvRawMsg(buffer, size, &got);
    // A control that reports more than it was given must not move us past the buffer.
    if (got < 0)
        got = 0;
    if (got > size)
        got = size;
    if (count)
        *count = got;
    return ok;
}

bool CInstDriver::Query(const std::string& command, char* buffer, std::int32_t size,
                        std::int32_t* count) {
    std::int32_t got = 0;
    bool ok = SendCommand(command) && ReceiveRaw(buffer, size, &got) && got > 0;
    if (count)
        *count = got;
    return ok;
}

void CInstDriver::ClearBuffer() {
    std::memset(m_buffer, 0, kReceiveSize + 1);
}

std::string CInstDriver::AnswerText(std::int32_t count) const {
    return std::string(m_buffer, strnlen(m_buffer, static_cast<std::size_t>(count)));
}

bool CInstDriver::QueryAnswer(const std::string& command, std::string& answer) {
    ClearBuffer();
    std::int32_t count = 0;
    if (!Query(command, m_buffer, kReceiveSize, &count)) {
        answer.clear();
        return false;
    }
    answer = AnswerText(count);
    return true;
}

bool CInstDriver::QueryString(const std::string& command, std::string& out, bool strip) {
    out.clear();
    std::string answer;
    if (!QueryAnswer(command, answer))
        return false;
    if (strip) {
        // Removes a quoted string's quotes: the last character, then the first.
        if (!answer.empty())
            answer.pop_back();
        if (!answer.empty())
            answer.erase(0, 1);
    }
    out = answer;
    return true;
}

bool CInstDriver::QueryDouble(const std::string& command, double& out) {
    out = 0.0;
    std::string answer;
    if (!QueryAnswer(command, answer))
        return false;
    out = std::atof(answer.c_str());
    return true;
}

bool CInstDriver::QueryDoubleText(const std::string& command, std::string& out,
                                  const char* format) {
    out.clear();
    double value = 0.0;
    if (!QueryDouble(command, value))
        return false;
    out = Format(format, value);
    return true;
}

template <typename T> bool CInstDriver::QueryInteger(const std::string& command, T& out) {
    out = 0;
    std::string answer;
    if (!QueryAnswer(command, answer))
        return false;
    const std::optional<T> value = ParseInteger<T>(answer.c_str());
    if (!value) {
        SetError(kMalformedReply);
        return false;
    }
    out = *value;
    return true;
}

bool CInstDriver::QueryInt(const std::string& command, int& out) {
    return QueryInteger(command, out);
}

bool CInstDriver::QueryShort(const std::string& command, std::int16_t& out) {
    return QueryInteger(command, out);
}

bool CInstDriver::QueryByte(const std::string& command, std::uint8_t& out) {
    // A register's low byte: the bits above it are not an error.
    int v = 0;
    const bool ok = QueryInteger(command, v);
    out = static_cast<std::uint8_t>(v & 0xFF);
    return ok;
}

bool CInstDriver::QueryLong(const std::string& command, std::int32_t& out) {
    return QueryInteger(command, out);
}

bool CInstDriver::QueryUShort(const std::string& command, std::uint16_t& out) {
    return QueryInteger(command, out);
}

bool CInstDriver::QueryLongText(const std::string& command, std::string& out) {
    out.clear();
    std::int32_t v = 0;
    if (!QueryLong(command, v))
        return false;
    out = Format("%ld", static_cast<long>(v));
    return true;
}

} // namespace tvane::driver
