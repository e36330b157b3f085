#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/DialogOwner.h"
#include "comm/ICommSetupSheet.h"

namespace tvane::comm {

// The logic of the "Select Instrument" page: which interfaces are offered, the
// instruments each search found, which buttons are enabled, and the transport the
// selection is made on. The window only shows it.
class CSetupPageModel {
public:
    struct Entry {
        int32_t type = -1;
        std::string name;               // the display name
        std::vector<std::string> lines; // result lines, or one message line
    };

    // What the button beside the interfaces does: search, or dial or hang up a modem.
    enum class LineButton { Search, Connect, HangUp };

    explicit CSetupPageModel(const ICommSetupSheet::Request& request);
    ~CSetupPageModel();
    CSetupPageModel(const CSetupPageModel&) = delete;
    CSetupPageModel& operator=(const CSetupPageModel&) = delete;

    // Lists the interfaces that can be used, selects the requested one (or the first
    // of Wenx, GPIB-32 and RS-232, else the first); true when the selection is one
    // that searches at once.
    bool Open();
    const std::vector<Entry>& Entries() const { return m_entries; }
    int Selected() const { return m_selected; }
    int SelectedType() const;
    // Selects interface index; true when it searches at once (modem, simulated).
    bool SelectInterface(int index);
    bool SearchesAtOnce() const;

    // The instrument lines of the selected interface and the one selected (-1 none).
    const std::vector<std::string>& Lines() const;
    int SelectedLine() const { return m_selectedLine; }
    void SelectLine(int index);
    bool CanAccept() const;
    // The selected line's description (its third field).
    std::string Details() const;

    // Searches the selected interface; false when the search failed, which is shown
    // (the list left as it was) when messages is set. The page's window becomes the
    // transport's owner.
    bool Search(bool messages, WindowHandle owner);
    LineButton Button() const { return m_button; }
    // Dials when the modem has no call up, else hangs up; the line shows the call.
    // False when the dialling failed.
    bool ConnectOrHangUp(WindowHandle owner);

    // The selected interface's settings dialog; true when a new search should follow.
    bool ChangeSettings(WindowHandle owner);

    // OK: false keeps the page open. The result carries the selection and the page's
    // transport, which the caller takes over.
    bool Accept(ICommSetupSheet::Result& result);
    // Cancel: the page's transport is released and deleted.
    void Cancel();

    CCommInterface* Transport() const;

private:
    bool EnsureTransport(bool messages);
    bool IsRealLine(const std::string& line) const;
    bool IsDialling() const;
    void ShowError(CCommInterface& transport, bool search) const;

    ICommSetupSheet::Request m_request;
    std::vector<Entry> m_entries;
    int m_selected = -1;
    int m_selectedLine = -1;
    std::string m_lastLine; // kept to find the selection again after a change
    int32_t m_pageType = -1;
    LineButton m_button = LineButton::Search;
    std::unique_ptr<CCommInterface> m_own;
    std::string m_clickSearch;
    std::string m_noDevices;
};

} // namespace tvane::comm
