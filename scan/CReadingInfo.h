#pragma once
#include <cstdint>

// A display's request to act on the instrument and the document's answer:
// the channel, the value read or to write, the status and the request kind.
class CReadingInfo {
public:
    enum RequestKind : std::int32_t {
        kRequestNone = 0,
        kRequestRead = 1,
        kRequestWrite = 2,
        kRequestQuery = 3,
    };

    CReadingInfo() = default;
    CReadingInfo(const CReadingInfo&) = default;
    CReadingInfo& operator=(const CReadingInfo&) = default;
    virtual ~CReadingInfo() = default;

    std::int32_t m_channel = 0;
    double m_value = 0.0;
    std::int32_t m_status = 1; // 1: a valid record
    std::int32_t m_request = kRequestNone;
};
