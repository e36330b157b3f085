#include "comm/InterfaceSettingsModel.h"

#include <utility>

#include "platform/core/Format.h"

namespace tvane::comm {

CInterfaceSettingsModel::CInterfaceSettingsModel(Settings settings)
    : m_settings(std::move(settings)) {
    if (m_settings.controllers.size() > kStoredControllers)
        m_settings.controllers.resize(kStoredControllers);
    for (const IWenxSettingsDialog::Controller& c : m_settings.controllers)
        m_names.push_back(c.name);
    for (const std::string& name : m_settings.moreControllers)
        m_names.push_back(name);
}

std::string CInterfaceSettingsModel::Title() const {
    return IsLan() ? "LAN/GPIB Gateway Settings" : "Interface Settings";
}

std::vector<std::string> CInterfaceSettingsModel::Lines() const {
    std::vector<std::string> lines;
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_names.size())
        return lines;
    const std::string& name = m_names[static_cast<std::size_t>(m_shown)];
    for (int address = 0; address < kAddresses; ++address)
        lines.push_back(IsLan() ? Format("%s[%s]%s,%d", name.c_str(), m_settings.ipAddress.c_str(),
                                         m_settings.gatewayName.c_str(), address)
                                : Format("%s,%d", name.c_str(), address));
    return lines;
}

std::vector<bool> CInterfaceSettingsModel::Marks() const {
    std::vector<bool> marks;
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_names.size())
        return marks;
    const uint32_t mask = Mask(m_shown);
    for (int address = 0; address < kAddresses; ++address)
        marks.push_back((mask >> address & 1u) != 0);
    return marks;
}

void CInterfaceSettingsModel::Store(const std::vector<bool>& marks) {
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_settings.controllers.size())
        return;
    uint32_t mask = 0;
    for (std::size_t i = 0; i < marks.size() && i < static_cast<std::size_t>(kAddresses); ++i)
        if (marks[i])
            mask |= 1u << i;
    m_settings.controllers[static_cast<std::size_t>(m_shown)].exclude = static_cast<int32_t>(mask);
}

void CInterfaceSettingsModel::Show(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_names.size())
        m_shown = index;
}

uint32_t CInterfaceSettingsModel::Mask(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_settings.controllers.size())
        return 0;
    return static_cast<uint32_t>(m_settings.controllers[static_cast<std::size_t>(index)].exclude);
}

} // namespace tvane::comm
