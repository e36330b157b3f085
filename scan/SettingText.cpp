#include "scan/SettingText.h"

#include <algorithm>

std::string GetSettingField(int position, const std::string& text) {
    if (position < 1)
        return {};
    std::size_t start = 0;
    for (int n = 1;; ++n) {
        std::size_t sep = text.find(';', start);
        if (sep == std::string::npos)
            return {};
        if (n == position)
            return text.substr(start, sep - start);
        start = sep + 1;
    }
}

void SetSettingField(int position, std::string& text, const std::string& value) {
    if (position < 1)
        return;
    auto separators = static_cast<int>(std::count(text.begin(), text.end(), ';'));
    // Too few fields: pad so that the value becomes field n with its own ";".
    if (separators < position) {
        if (separators < position - 1)
            text.append(static_cast<std::size_t>(position - 1 - separators), ';');
        text += ';';
    }
    std::size_t start = 0;
    for (int n = 1; n < position; ++n)
        start = text.find(';', start) + 1;
    std::size_t end = text.find(';', start);
    text.replace(start, end - start, value);
}

int SettingPosition(std::uint32_t settingBit) {
    for (int n = 1; n <= kAdvancedSettingCount; ++n)
        if (settingBit == (1u << (n - 1)))
            return n;
    return -1;
}

void BuildSettingsList(const std::string& advancedText, std::uint32_t advSettingsType,
                       std::vector<CChannelSetting>& list) {
    if (advSettingsType == 0)
        return;
    for (int n = 1; n <= kAdvancedSettingCount; ++n) {
        std::uint32_t bit = 1u << (n - 1);
        if (advSettingsType & bit)
            list.emplace_back(static_cast<std::int32_t>(bit), GetSettingField(n, advancedText));
    }
}

std::string GetIntegrationText(std::uint32_t advSettingsType,
                               const std::vector<CChannelSetting>& list) {
    if (!(advSettingsType & kSetIntegration))
        return {};
    for (const auto& item : list)
        if (item.Id == static_cast<std::int32_t>(kSetIntegration))
            return item.Text;
    return {};
}
