#pragma once
#include <memory>
#include <string>

#include "comm/CCommInterface.h"
#include "comm/ICallProgressDialog.h"
#include "comm/ITransportSettings.h"

namespace tvane::comm {

class ModemAnswerBlock;
struct RememberedNumber;

// The transport of an instrument reached through a dial-up modem (interface type 6).
// It places the call through the telephony layer (ModemTelephony), then talks to the
// instrument through the port threads (ModemPort): a command is posted to the writer,
// its answer waited for in the answer block. The address text is the line the setup
// page shows: the number and "Not connected, click 'Connect now' button" until a
// call is up, then the instrument's model, the number and its description.
class CModemInterface final : public CCommInterface, public ITransportSettings {
public:
    CModemInterface();
    ~CModemInterface() override;

    // Offers to dial unless the setup page made the transport; true unless that fails.
    bool Initialize() override;
    bool Open(const char* address) override;
    // Dials the remembered number (asking for one when there is none), waits for the
    // call to connect and asks the instrument who it is; false when that fails.
    bool Connect() override;
    // Hangs up and ends the telephony session.
    bool Close() override;
    bool Send(const char* command) override;
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool SetCommTimeout(int32_t ms) override;
    int32_t GetCommTimeout() override;
    // Lists the remembered number without dialling it.
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag) override;
    // Waits up to 5 s for the answer to the last command; 1 when it is there.
    int16_t IsMsgAvailable() override;
    void Clear() override;
    // The Dial dialog; the number chosen is remembered. Always false.
    bool EditSettings() override;
    bool FormatSearchLine(std::string& line) override;
    // Hangs up a connected call, after asking when confirm is set; false when the user
    // keeps the call.
    bool ReleaseLine(bool confirm) override;

    // Writes a step of the call to the debug output and, when show is set, to the
    // progress dialog.
    void StatusMessage(const std::string& text, bool show);
    // The progress dialog of a call being set up, null otherwise.
    ICallProgressDialog* Progress() const { return m_progressDialog.get(); }
    // The line dropped: the call is hung up and the transport is no longer open.
    void LineDropped();

    static constexpr uint32_t kAnswerWaitMs = 5000;
    static constexpr uint32_t kAnswerStepMs = 50;

private:
    bool ShowDialDialog(RememberedNumber& number, bool connectPath);
    void DestroyProgress();
    std::string NotConnectedLine(const std::string& number) const;

    void* m_instance = nullptr;
    std::unique_ptr<ICallProgressDialog> m_progressDialog;
    std::shared_ptr<ModemAnswerBlock> m_sharedMemory;
};

} // namespace tvane::comm
