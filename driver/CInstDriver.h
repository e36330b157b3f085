#pragma once
#include <cstdint>
#include <string>

#include "driver/IInstrumentLink.h"

namespace tvane::driver {

// The generic instrument driver: the error state with its texts, the receive
// buffer and the send and query routines every command goes through.
class CInstDriver {
public:
    // Size of the receive buffer handed to the control.
    static constexpr std::int32_t kReceiveSize = 8400;
    static constexpr int kNoError = 1000;
    // A reply that does not hold what was asked for (a number out of range, a
    // field missing).
    static constexpr int kMalformedReply = 1008;

    explicit CInstDriver(IInstrumentLink* link = nullptr);
    virtual ~CInstDriver();
    CInstDriver(const CInstDriver&) = delete;
    CInstDriver& operator=(const CInstDriver&) = delete;

    void SetLink(IInstrumentLink* link) { m_link = link; }
    IInstrumentLink* Link() const { return m_link; }

    // Error state: 0 = no error, else the string id of the error.
    void SetError(int id);
    void SetError(int id, const std::string& text);
    void ClearError();
    std::int32_t ErrorCode() const { return m_errorCode; }
    const std::string& ErrorText() const { return m_errorText; }

    // The control's error first; the driver's own when the control has none.
    // The driver's error is cleared in every case.
    bool GetLastError(std::string& text, std::int32_t& code);

    bool SendCommand(const std::string& command);
    bool ReceiveRaw(char* buffer, std::int32_t size, std::int32_t* count);
    // Send, then receive; true only when both worked and an answer came.
    bool Query(const std::string& command, char* buffer, std::int32_t size, std::int32_t* count);

    // Typed queries into the receive buffer; false leaves the output 0 or empty.
    // An integer reply that does not fit the output is malformed.
    bool QueryString(const std::string& command, std::string& out, bool strip = false);
    bool QueryDouble(const std::string& command, double& out);
    bool QueryDoubleText(const std::string& command, std::string& out, const char* format = "%g");
    bool QueryInt(const std::string& command, int& out);
    bool QueryShort(const std::string& command, std::int16_t& out);
    bool QueryByte(const std::string& command, std::uint8_t& out);
    bool QueryLong(const std::string& command, std::int32_t& out);
    bool QueryUShort(const std::string& command, std::uint16_t& out);
    bool QueryLongText(const std::string& command, std::string& out);

    // True when the control runs its simulated interface (or there is none).
    bool IsSimulated() const;

protected:
    // The receive buffer, one byte longer than handed out so that an answer
    // that fills it is still terminated.
    char* Buffer() { return m_buffer; }
    void ClearBuffer();
    // The text of the last answer: bounded by the received count.
    std::string AnswerText(std::int32_t count) const;

private:
    bool QueryAnswer(const std::string& command, std::string& answer);
    template <typename T> bool QueryInteger(const std::string& command, T& out);

    IInstrumentLink* m_link;
    char* m_buffer;
    std::int32_t m_errorCode = 0;
    std::string m_errorText;
    std::string m_noErrorText;
};

} // namespace tvane::driver
