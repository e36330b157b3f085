#include "driver/DriverLog.h"

#include <algorithm>

#include "platform/core/Folders.h"

namespace tvane::driver {

std::filesystem::path LogFilePath(const std::string& name) {
    std::string n = name;
    std::replace(n.begin(), n.end(), '\\', '/');
    std::filesystem::path p(n);
    if (!p.has_parent_path())
        return DataDir() / p;
    return p;
}

DriverLog::~DriverLog() {
    Close();
}

void DriverLog::Open(const std::filesystem::path& path, const std::string& nowText) {
    Close();
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        return;
    WriteText("Kxqt7100 Instrument Driver Log File\n");
    WriteText("The current date and time are: " + nowText + "\n");
}

void DriverLog::Close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool DriverLog::WriteRaw(const char* data, std::size_t length) {
    if (!m_file)
        return false;
    if (length && std::fwrite(data, 1, length, m_file) != length)
        return false;
    return std::fflush(m_file) == 0;
}

} // namespace tvane::driver
