#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The request of a text export: what to export, which channels and times, the
// format and the destination. The document keeps one for the Export Data
// command; displays build their own to copy data.
class CReadingQuery {
public:
    enum DataKind : std::int16_t { kReadings = 0, kEvents = 1, kSetupListing = 2 };
    enum Destination : std::int16_t { kToFile = 0, kToClipboard = 1 };
    enum OutputFormat : std::int16_t { kCommaDelimited = 0, kTabDelimited = 1, kLocale = 2 };
    enum Layout : std::int16_t { kRows = 0, kColumns = 1 };

    double m_startTime = -1.0; // ms, in the readings' time base; -1: not set
    double m_endTime = -1.0;
    double m_eventStartTime = -1.0;
    double m_eventEndTime = -1.0;
    std::vector<std::string> m_channelLabels;
    std::vector<std::string> m_selectedLabels;
    std::vector<std::uint32_t> m_channelNumbers;
    std::vector<std::uint32_t> m_selectedNumbers; // column order
    std::int16_t m_dataKind = kReadings;
    std::string m_fileName;
    std::string m_previousFileName;
    std::int16_t m_destination = kToFile;
    std::int16_t m_outputFormat = kCommaDelimited;
    std::int32_t m_timeStamp = 1;
    std::int32_t m_seconds = 1;
    std::int32_t m_alarmFlag = 0;
    std::int32_t m_alarmedOnly = 0;
    std::int32_t m_units = 1;
    char m_separator = ',';
    std::int16_t m_layout = kColumns;
    std::int32_t m_useLocale = 0;
};
