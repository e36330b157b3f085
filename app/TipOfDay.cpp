#include "app/TipOfDay.h"

#include <sys/stat.h>

#include <cctype>
#include <ctime>
#include <filesystem>

#include "database/DataSource.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"

namespace {

constexpr const char* kSection = "Tip";

std::string TimeText(std::time_t time) {
    char buffer[64] = {0};
    std::tm local{};
    localtime_r(&time, &local);
    std::strftime(buffer, sizeof buffer, "%a %b %d %H:%M:%S %Y", &local);
    std::string text = buffer;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

} // namespace

std::string TipOfDay::TipsPath(const std::string& programDirectory) {
    return (std::filesystem::path(programDirectory) / "tips.txt").string();
}

TipOfDay::TipOfDay(const std::string& tipsPath, bool showAtStartup)
    : m_showAtStartup(showAtStartup) {
    long position = tvane::GetPrivateProfileInt(kSection, "FilePos", 0, kProfileFile);
    m_file = std::fopen(tipsPath.c_str(), "r");
    if (m_file == nullptr) {
        m_tip = kNoFile;
        return;
    }
    struct stat info {};
    if (::fstat(fileno(m_file), &info) == 0) {
        const std::string stamp = TimeText(info.st_mtime);
        if (stamp != tvane::GetPrivateProfileString(kSection, "TimeStamp", "", kProfileFile)) {
            position = 0;
            tvane::WritePrivateProfileString(kSection, "TimeStamp", stamp, kProfileFile);
        }
    }
    if (position < 0 || std::fseek(m_file, position, SEEK_SET) != 0)
        ShowError(kReadError);
    NextTip();
}

TipOfDay::~TipOfDay() {
    if (m_file == nullptr)
        return;
    tvane::WritePrivateProfileString(kSection, "FilePos", std::to_string(std::ftell(m_file)),
                                     kProfileFile);
    std::fclose(m_file);
}

void TipOfDay::ShowError(const char* text) {
    tvane::ShowMessage(text);
}

bool TipOfDay::ReadTip() {
    char line[kLineLimit + 1];
    while (std::fgets(line, sizeof line, m_file) != nullptr) {
        const char first = line[0];
        if (first == ' ' || first == '\t' || first == '\n' || first == '\r' || first == ';' ||
            first == '\0')
            continue;
        m_tip = line;
        return true;
    }
    return false;
}

void TipOfDay::NextTip() {
    if (m_file == nullptr)
        return;
    if (ReadTip())
        return;
    // From the start once more; a file without a single tip line shows none.
    std::clearerr(m_file);
    if (std::fseek(m_file, 0, SEEK_SET) != 0) {
        ShowError(kReadError);
        return;
    }
    if (!ReadTip())
        m_tip.clear();
}
