#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the setup editor's sheets read of the document: its channels by module
// kind, the monitor channel, the function checks of the grid's rows, and
// whether a scan runs. The program implements it over the document; tests use
// a fake.
class ISheetDocument {
public:
    // A channel of the setup as the sheets list it.
    struct Channel {
        long number = 0;
        std::string name;
        std::uint32_t kind = 0; // the document's module kind
    };

    virtual ~ISheetDocument() = default;
    // The setup's channels whose module kind is in the mask, in setup order.
    virtual std::vector<Channel> GetChannels(std::uint32_t kindMask) const = 0;
    // 0 when none.
    virtual long GetMonitorChannel() const = 0;
    // The grid row of a channel, 0 when no row has it.
    virtual int GetGridRow(long channel) const = 0;
    // Whether the grid row may take a new function; false after the document
    // told the user why not.
    virtual bool CanChangeFunction(int gridRow, const std::string& function) = 0;
    // The automatic channel delay of a function, in seconds.
    virtual double GetFunctionDefaultValue(const std::string& function) const = 0;
    virtual bool IsScanning() const = 0;
    // The document's date and time format (no milliseconds), for time edits.
    virtual std::string GetDateTimeFormat() const = 0;
};

// The item text of a channel in the editor's lists: "<number>" then its name.
std::string ChannelItemText(long number, const std::string& name);
