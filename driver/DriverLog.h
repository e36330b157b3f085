#pragma once
#include <cstdio>
#include <filesystem>
#include <string>

namespace tvane::driver {

// The driver's ini settings (section "KXQT7100.Drv32" of Tvane.ini).
struct DriverSettings {
    int logErrors = 0;
    int logRecvBlockData = 0;
    std::string logFile = "qt7100.log";
};

// Reads the driver's section of Tvane.ini; defaults where a key is missing.
DriverSettings ReadDriverSettings();

// Where a log file name lands: a bare name in the data folder, a name with a
// folder part as given ('\' accepted as a separator).
std::filesystem::path LogFilePath(const std::string& name);

// The driver's log file. Opening or writing never fails towards the caller;
// when the file cannot be written the writes are skipped.
class DriverLog {
public:
    DriverLog() = default;
    ~DriverLog();
    DriverLog(const DriverLog&) = delete;
    DriverLog& operator=(const DriverLog&) = delete;

    // Creates (or truncates) the file and writes the header lines.
    void Open(const std::filesystem::path& path, const std::string& nowText);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // Raw bytes as given (block dumps and prepared lines).
    bool WriteRaw(const char* data, std::size_t length);
    bool WriteText(const std::string& text) { return WriteRaw(text.data(), text.size()); }

private:
    std::FILE* m_file = nullptr;
};

} // namespace tvane::driver
