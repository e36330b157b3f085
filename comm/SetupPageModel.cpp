#include "comm/SetupPageModel.h"

#include "comm/CommStrings.h"
#include "comm/DialogOwner.h"
#include "comm/ITransportSettings.h"
#include "comm/InterfaceTypes.h"
#include "comm/TransportFactory.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {

namespace {

// The order in which the page lists the interfaces.
constexpr int32_t kListOrder[] = {kTypeWenx,  kTypeGpib32,  kTypeRs232,
                                  kTypeModem, kTypeWenxLan, kTypeSimulated};
constexpr int32_t kPreferred[] = {kTypeWenx, kTypeGpib32, kTypeRs232};
constexpr const char* kPhoneNumber = "Phone number: ";

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

CSetupPageModel::CSetupPageModel(const ICommSetupSheet::Request& request)
    : m_request(request), m_clickSearch(LoadResString(IDS_CLICK_SEARCH)),
      m_noDevices(LoadResString(IDS_NO_DEVICES)) {}

CSetupPageModel::~CSetupPageModel() = default;

bool CSetupPageModel::Open() {
    m_entries.clear();
    CCommInterface* current = m_request.current;
    for (int32_t type : kListOrder) {
        bool listed = current && current->GetType() == type;
        if (!listed && type == kTypeSimulated) {
            listed = m_request.flag != 0;
        } else if (!listed) {
            // Offered only when its transport can start here; the probe goes at once.
            std::unique_ptr<CCommInterface> probe = CreateTransportByType(type);
            if (probe) {
                probe->SetPageMode(true);
                listed = probe->Initialize();
            }
        }
        if (listed)
            m_entries.push_back({type, TypeToDisplayName(type), {m_clickSearch}});
    }
    int select = -1;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_request.type != -1 && m_entries[i].type == m_request.type)
            select = static_cast<int>(i);
    if (select >= 0) {
        m_entries[static_cast<std::size_t>(select)].lines = {m_request.status};
    } else {
        for (int32_t type : kPreferred)
            for (std::size_t i = 0; i < m_entries.size() && select < 0; ++i)
                if (m_entries[i].type == type)
                    select = static_cast<int>(i);
        if (select < 0 && !m_entries.empty())
            select = 0;
    }
    return select >= 0 && SelectInterface(select);
}

int CSetupPageModel::SelectedType() const {
    return m_selected >= 0 ? m_entries[static_cast<std::size_t>(m_selected)].type : -1;
}

bool CSetupPageModel::SearchesAtOnce() const {
    const int32_t type = SelectedType();
    return type == kTypeModem || type == kTypeSimulated;
}

bool CSetupPageModel::SelectInterface(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return false;
    m_selected = index;
    m_selectedLine = -1;
    if (SearchesAtOnce())
        return true;
    m_button = LineButton::Search;
    const std::vector<std::string>& lines = Lines();
    if (lines.size() == 1 && IsRealLine(lines[0])) {
        m_selectedLine = 0;
    } else if (lines.size() >= 2) {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == m_lastLine)
                m_selectedLine = static_cast<int>(i);
    }
    return false;
}

const std::vector<std::string>& CSetupPageModel::Lines() const {
    static const std::vector<std::string> none;
    return m_selected >= 0 ? m_entries[static_cast<std::size_t>(m_selected)].lines : none;
}

bool CSetupPageModel::IsRealLine(const std::string& line) const {
    return line != m_clickSearch && line != m_noDevices;
}

void CSetupPageModel::SelectLine(int index) {
    const std::vector<std::string>& lines = Lines();
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size() ||
        !IsRealLine(lines[static_cast<std::size_t>(index)])) {
        m_selectedLine = -1;
        return;
    }
    m_selectedLine = index;
    m_lastLine = lines[static_cast<std::size_t>(index)];
}

bool CSetupPageModel::CanAccept() const {
    if (m_selectedLine < 0)
        return false;
    // A modem line is only good once its call is up.
    if (SelectedType() == kTypeModem)
        if (CCommInterface* t = Transport())
            return t->GetAddress().find(kPhoneNumber) == std::string::npos;
    return true;
}

std::string CSetupPageModel::Details() const {
    if (m_selectedLine < 0)
        return {};
    const std::vector<std::string> fields =
        Fields(Lines()[static_cast<std::size_t>(m_selectedLine)]);
    return fields.size() > 2 ? fields[2] : std::string();
}

CCommInterface* CSetupPageModel::Transport() const {
    return m_own ? m_own.get() : m_request.current;
}

void CSetupPageModel::ShowError(CCommInterface& transport, bool search) const {
    std::string text;
    int32_t code = 0;
    transport.GetLastError(text, code);
    MessageRequest box;
    box.text = Format("Error %ld: %s", static_cast<long>(code), text.c_str());
    if (search) {
        box.caption = "Communication Setup";
        box.icon = MsgIcon::Warning;
    }
    Prompter().Ask(box);
}

bool CSetupPageModel::EnsureTransport(bool messages) {
    const int32_t type = SelectedType();
    if (type < 0)
        return false;
    if (type != kTypeSimulated && type == m_pageType && Transport())
        return true;
    if (m_request.current && !m_request.current->ReleaseLine(true))
        return false;
    if (m_own) {
        if (!m_own->ReleaseLine(true))
            return false;
        m_own.reset();
    }
    // The control's transport is not used again once another is made.
    m_request.current = nullptr;
    std::unique_ptr<CCommInterface> made = CreateTransportByType(type);
    if (!made) {
        if (messages)
            ShowMessage("Interface not implemented");
        return false;
    }
    made->SetPageMode(true);
    if (!made->Initialize()) {
        if (messages)
            ShowError(*made, false);
        return false;
    }
    m_own = std::move(made);
    m_pageType = type;
    return true;
}

bool CSetupPageModel::Search(bool messages, WindowHandle owner) {
    m_selectedLine = -1;
    if (!EnsureTransport(messages))
        return false;
    CCommInterface& t = *Transport();
    const ScopedDialogOwner dialogOwner(owner);
    std::vector<std::string> found;
    bool searched = true;
    const std::string address = t.GetAddress();
    if (SelectedType() == kTypeModem && !address.empty() &&
        address.find(kPhoneNumber) == std::string::npos) {
        found.push_back(address); // a call is up
    } else if (!t.Search(found, m_request.pattern.c_str(), 1)) {
        searched = false;
        // Asked for messages, the failure is shown and the list stays as it was;
        // otherwise the list tells what was found.
        if (messages) {
            ShowError(t, true);
            return false;
        }
    }
    std::vector<std::string>& lines = m_entries[static_cast<std::size_t>(m_selected)].lines;
    lines = found.empty() ? std::vector<std::string>{m_noDevices} : found;
    if (lines.size() == 1 && IsRealLine(lines[0])) {
        SelectLine(0);
        if (IsDialling())
            m_button = lines[0].find(kPhoneNumber) == std::string::npos ? LineButton::HangUp
                                                                        : LineButton::Connect;
    }
    return searched;
}

bool CSetupPageModel::IsDialling() const {
    CCommInterface* t = Transport();
    return t && t->HasKind(kKindModem);
}

bool CSetupPageModel::ConnectOrHangUp(WindowHandle owner) {
    CCommInterface* t = Transport();
    if (!t || m_selected < 0)
        return false;
    bool ok = true;
    if (t->GetAddress().find(kPhoneNumber) == std::string::npos) {
        t->Close();
        m_button = LineButton::Connect;
    } else {
        const ScopedDialogOwner dialogOwner(owner);
        ok = t->Connect();
        m_button = ok ? LineButton::HangUp : LineButton::Connect;
        // A call that did not come up says why (busy, no dial tone…).
        int32_t code = 0;
        t->GetErrorCode(code);
        if (!ok && code != 0)
            ShowError(*t, false);
    }
    m_entries[static_cast<std::size_t>(m_selected)].lines = {t->GetAddress()};
    m_selectedLine = 0;
    m_lastLine = t->GetAddress();
    return ok;
}

bool CSetupPageModel::ChangeSettings(WindowHandle owner) {
    if (!EnsureTransport(true))
        return false;
    auto* settings = dynamic_cast<ITransportSettings*>(Transport());
    if (!settings) {
        ShowMessage("Interface settings not applicable to this interface");
        return false;
    }
    const ScopedDialogOwner dialogOwner(owner);
    return settings->EditSettings() || SelectedType() == kTypeModem;
}

bool CSetupPageModel::Accept(ICommSetupSheet::Result& result) {
    if (!EnsureTransport(true))
        return false;
    result.selected = m_selectedLine >= 0;
    result.type = SelectedType();
    if (result.selected) {
        result.line = Lines()[static_cast<std::size_t>(m_selectedLine)];
        const std::vector<std::string> fields = Fields(result.line);
        result.model = fields[0];
        result.address = fields.size() > 1 ? fields[1] : std::string();
    }
    if (result.selected)
        result.transport = std::move(m_own);
    else
        Cancel();
    return true;
}

void CSetupPageModel::Cancel() {
    if (m_own) {
        m_own->ReleaseLine(true);
        m_own.reset();
    }
}

} // namespace tvane::comm
