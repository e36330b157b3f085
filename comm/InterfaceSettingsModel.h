#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "comm/IWenxSettingsDialog.h"

namespace tvane::comm {

// What the "Interface Settings" dialog shows and keeps: one line per bus address of
// the controller shown, marked when the address is searched, and the gateway's host
// and GPIB name in the LAN form. Masks are kept for the first four controllers only;
// a further one shows every address unmarked and is not stored.
class CInterfaceSettingsModel {
public:
    using Settings = IWenxSettingsDialog::Settings;
    static constexpr int kAddresses = 31; // bus addresses 0-30
    static constexpr std::size_t kStoredControllers = 4;

    explicit CInterfaceSettingsModel(Settings settings);

    bool IsLan() const { return m_settings.lan; }
    std::string Title() const;
    // Every controller the combo offers, the stored ones first.
    const std::vector<std::string>& Names() const { return m_names; }
    int Shown() const { return m_shown; }

    // The lines of the controller shown and which of them are marked.
    std::vector<std::string> Lines() const;
    std::vector<bool> Marks() const;
    // Keeps the marks as the mask of the controller shown (lines past 30 are ignored).
    void Store(const std::vector<bool>& marks);
    // Shows another controller; store the marks of the current one first.
    void Show(int index);
    void SetIpAddress(std::string text) { m_settings.ipAddress = std::move(text); }
    void SetGatewayName(std::string text) { m_settings.gatewayName = std::move(text); }

    // The mask of controller index; 0 for one that is not stored.
    uint32_t Mask(int index) const;
    const Settings& Result() const { return m_settings; }

private:
    Settings m_settings;
    std::vector<std::string> m_names;
    int m_shown = 0;
};

} // namespace tvane::comm
