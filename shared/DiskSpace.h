#pragma once
#include <cstdint>
#include <optional>
#include <string>

// The message shown when free bytes are fewer than required; both figures are
// cut (never rounded) to whole thousands with the suffix "K" from 1000 on, so
// 49,999 free bytes read "49K" and never look like enough.
std::string DiskSpaceMessage(double freeBytes, std::uint32_t required);

// True when freeBytes holds at least required bytes; otherwise shows the message
// (exclamation icon). No free-space figure (the query failed) shows error and
// fails.
bool CheckDiskSpace(std::uint32_t required, std::optional<double> freeBytes,
                    const std::string& error);

// Free bytes of the file system holding folder; no value when it cannot be
// asked, with the system's text in error.
std::optional<double> FreeDiskBytes(const std::string& folder, std::string& error);

// The free-space check before a file is written (an export, a chart state file).
class IDiskSpaceCheck {
public:
    virtual ~IDiskSpaceCheck() = default;
    // True when the file system of folder has at least bytes free; otherwise the
    // user has been told.
    virtual bool HasFreeSpace(double bytes, const std::string& folder) = 0;
};
