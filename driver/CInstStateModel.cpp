#include "driver/CInstStateModel.h"

#include <algorithm>

#include "driver/CKXQT7100.h"
#include "driver/DriverStrings.h"
#include "platform/core/Format.h"

namespace tvane::driver {

namespace {
constexpr const char* kLastPowerDown = "Last Power Down";

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

CInstStateModel::CInstStateModel(CKXQT7100& driver) : m_driver(driver) {
    Fill();
    Select(m_rows.empty() ? -1 : 0);
}

std::vector<std::string> CInstStateModel::Entries() const {
    std::vector<std::string> out;
    for (const Row& r : m_rows)
        out.push_back(r.text);
    return out;
}

void CInstStateModel::Fill() {
    const auto& names = m_driver.StateNames();
    const auto& recall = m_driver.RecallList();
    m_rows.clear();
    // Each row carries its state number, so that an action reaches the state
    // the user picked whatever the list shows above it.
    auto addRecall = [&](bool skipShown) {
        for (std::size_t i = 0; i < recall.size(); ++i) {
            if (recall[i].empty())
                continue;
            if (skipShown && std::any_of(m_rows.begin(), m_rows.end(),
                                         [&](const Row& r) { return r.text == recall[i]; }))
                continue;
            m_rows.push_back({recall[i], i < names.size() ? static_cast<int>(i) + 1 : 0});
        }
    };
    if (m_mode != Mode::Recall)
        for (std::size_t i = 0; i < names.size(); ++i)
            m_rows.push_back({names[i], static_cast<int>(i) + 1});
    if (m_mode == Mode::None)
        addRecall(true);
    else if (m_mode == Mode::Recall)
        addRecall(false);
}

void CInstStateModel::Select(int row) {
    m_selection = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    m_currentName = m_selection >= 0 ? m_rows[static_cast<std::size_t>(m_selection)].text : "";
    UpdateButtons();
}

int CInstStateModel::SelectedState() const {
    return m_selection >= 0 ? m_rows[static_cast<std::size_t>(m_selection)].state : 0;
}

void CInstStateModel::UpdateButtons() {
    const bool stored = SelectedState() > 0;
    m_canEdit = stored;
    m_canStore = stored;
    const auto& recall = m_driver.RecallList();
    const bool recallable = std::find(recall.begin(), recall.end(), m_currentName) != recall.end();
    m_canRecall = m_selection >= 0 && !(stored && !recallable);
}

void CInstStateModel::SetMode(Mode mode) {
    m_mode = mode;
    Fill();
    Select(m_rows.empty() ? -1 : 0);
    m_canEdit = mode == Mode::Rename && SelectedState() > 0;
}

void CInstStateModel::Store() {
    const int state = SelectedState();
    if (state <= 0)
        return;
    if (m_driver.StoreInstState(static_cast<std::int16_t>(state)))
        m_driver.SetRecallEntry(static_cast<std::size_t>(state - 1), m_currentName);
}

void CInstStateModel::StoreCurrentState() {
    Store();
    UpdateButtons();
}

void CInstStateModel::Recall(bool lastPowerDown) {
    if (m_currentName == DriverText(1033)) {
        m_driver.RecallFactoryPreset();
    } else if (m_currentName == DriverText(1034)) {
        m_driver.RecallPreset();
    } else if (lastPowerDown && m_currentName == kLastPowerDown) {
        m_driver.RecallInstState(0);
    } else {
        const auto& names = m_driver.StateNames();
        auto it = std::find(names.begin(), names.end(), m_currentName);
        if (it != names.end())
            m_driver.RecallInstState(static_cast<std::int16_t>(it - names.begin() + 1));
    }
}

void CInstStateModel::RecallStoredState() {
    if (m_selection >= 0)
        Recall(true);
}

bool CInstStateModel::Rename(const std::string& name) {
    const int state = SelectedState();
    if (state <= 0 || !NameError(name).empty())
        return false;
    const auto index = static_cast<std::size_t>(state - 1);
    m_rows[static_cast<std::size_t>(m_selection)].text = name;
    m_driver.RenameInstState(static_cast<std::int16_t>(state), name);
    // A stored state stays recallable under its new name.
    if (index < m_driver.RecallList().size() && !m_driver.RecallList()[index].empty())
        m_driver.SetRecallEntry(index, name);
    m_driver.SetStateName(index, name);
    m_currentName = name;
    UpdateButtons();
    return true;
}

void CInstStateModel::Apply() {
    if (m_selection < 0)
        return;
    if (m_mode == Mode::Store) {
        Store();
    } else if (m_mode == Mode::Rename) {
        const int state = SelectedState();
        if (state > 0 && NameError(m_currentName).empty())
            m_driver.RenameInstState(static_cast<std::int16_t>(state), m_currentName);
    } else {
        Recall(false);
    }
    UpdateButtons();
    if (m_mode == Mode::Store || m_mode == Mode::Recall)
        m_canEdit = false;
}

std::vector<std::string> CInstStateModel::SlotEntries() {
    std::vector<std::string> out;
    for (int slot = 1; slot <= 3; ++slot)
        out.push_back(tvane::Format(DriverText(1023).c_str(), slot));
    return out;
}

void CInstStateModel::ResetSlot(int row) {
    // Without a slot chosen nothing is reset: 0 would reset every module.
    if (row >= 0 && row < 3)
        m_driver.ResetCard(static_cast<std::int16_t>(100 * (row + 1)));
}

std::string CInstStateModel::NameError(const std::string& name) {
    if (name.empty() || !IsLetter(name.front()))
        return tvane::Format("Invalid name: %s   A state name must be at least one character and "
                             "cannot begin with an underscore or digit (0-9).",
                             name.c_str());
    for (char c : name)
        if (!IsLetter(c) && !IsDigit(c) && c != '_')
            return tvane::Format("Invalid name: %s   A state name may only contain characters "
                                 "(A-Z), digits (0-9) or underscores.",
                                 name.c_str());
    return "";
}

} // namespace tvane::driver
