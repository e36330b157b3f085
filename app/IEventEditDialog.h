#pragma once
#include <cstdint>
#include <string>

class CLoggerDoc;

// What the Add Event dialog shows and gives back. In add mode the time is shown
// formatted; in edit mode the texts of the event log's row are shown as they
// are. Only the channel, the channel text, the type text and the description
// are read back, so the type and time of an event cannot change through it.
struct CEventEditFields {
    bool addMode = true;
    std::uint32_t type = 4;
    std::int32_t channel = 0;
    double time = 0.0;
    std::string description;
    std::string typeText;
    std::string channelText;
    std::string timeText;
};

// The Add Event dialog, run modally over the document's channels.
class IEventEditDialog {
public:
    virtual ~IEventEditDialog() = default;
    // True for OK.
    virtual bool Run(CLoggerDoc& document, CEventEditFields& fields) = 0;
};
