#pragma once
#include <cstdint>
#include <string>

// One event of a run as the whole system passes it around: its kind (one bit),
// channel, time in the run's millisecond clock and text.
class CDatasetEvent {
public:
    // Event kinds; a search combines them into a mask.
    enum Type : std::uint32_t {
        Start = 1,
        Stop = 2,
        User = 4,
        LowLimit = 8,
        HighLimit = 16,
        InputOperation = 32,
        OutputOperation = 64,
        InstrumentError = 128,
        Download = 256,
        Upload = 512,
    };

    CDatasetEvent() = default;
    CDatasetEvent(std::uint32_t type, std::int32_t channel, double time, std::string text = {})
        : m_type(type), m_channel(channel), m_time(time), m_text(std::move(text)) {}
    CDatasetEvent(const CDatasetEvent&) = default;
    CDatasetEvent& operator=(const CDatasetEvent&) = default;
    virtual ~CDatasetEvent() = default;

    // The kinds listed in the "UserEvents" index.
    static bool IsIndexedType(std::uint32_t type) { return (type == User) || (type == Start); }

    std::uint32_t m_type = User;
    std::int32_t m_channel = -1; // -1: no channel; in a search, any channel
    double m_time = 0.0;         // negative for events logged outside a run
    std::string m_text;
};
