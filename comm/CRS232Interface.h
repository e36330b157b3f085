#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"
#include "comm/IRs232SettingsDialog.h"
#include "comm/ITransportSettings.h"
#include "platform/serial/SerialPort.h"

namespace tvane::comm {

// The transport of an instrument on a serial port (interface type 3). The port and its
// line settings come from the [RS232] section of "linkwell.ini"; every open checks that
// the instrument's own serial settings match the port's. Answers end with a line feed
// (or CR LF). Waits poll the tick clock while pumping messages, so the host's timers
// run during a send or a read.
class CRS232Interface final : public CCommInterface, public ITransportSettings {
public:
    using Codes = IRs232SettingsDialog::Codes;

    CRS232Interface();
    ~CRS232Interface() override;

    // Reads the port settings from the ini file; always true.
    bool Initialize() override;
    // Opens the configured port (the address text is only kept) and checks the
    // instrument's settings against the port's.
    bool Open(const char* address) override;
    // Puts the instrument back to local, then closes the port.
    bool Close() override;
    // Sends the text and a line feed.
    bool Send(const char* command) override;
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool SetCommTimeout(int32_t ms) override;
    // Looks for an instrument on the configured port.
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag) override;
    // Waits for one whole answer and keeps it for Read; its length, 0 when none came.
    int16_t IsMsgAvailable() override;
    bool EditSettings() override;
    bool IsInstrumentResponding() override;
    bool GetSerialSettings(std::string& baud, std::string& parity, std::string& handshake) override;

    // Tries the settings on the instrument and tells the user what it found; the port
    // goes back to the transport's own settings afterwards. Serves the settings dialog.
    bool TestSettings(int32_t portIndex, int32_t baud, int32_t parity, int32_t length,
                      int32_t handshake, WindowHandle window);

    Codes GetCodes() const;

    // The ini texts of the setting codes and back (texts trimmed and in upper case).
    static std::string BaudText(int32_t code);
    static std::string ParityText(int32_t code);
    static std::string LengthText(int32_t code);
    static std::string HandshakeText(int32_t code);
    static std::optional<int32_t> BaudCode(std::string_view text);
    static std::optional<int32_t> ParityCode(std::string_view text);
    static std::optional<int32_t> LengthCode(std::string_view text);
    static std::optional<int32_t> HandshakeCode(std::string_view text);

    static constexpr int32_t kReceiveBuffer = 4096;
    static constexpr int32_t kMinTimeout = 1;
    static constexpr int32_t kMaxTimeout = 65534;

private:
    void ReadSettings();
    void TakeCodes(const Codes& codes);
    bool OpenPort();
    bool ClosePort();
    bool SetCharacteristics();
    bool LinesReady() const;
    // Compares the instrument's serial settings with the port's; the mismatch text
    // goes to message when one is given.
    bool CheckSettings(std::string* message);
    // Sends a query and reads its answer (empty when none came); false when the query
    // could not be sent.
    bool Query(const char* command, int32_t size, std::string& reply);
    bool Transmit(const std::string& bytes);

    SerialPort m_port;
    int32_t m_portIndex = 0;
    int32_t m_ioAddress = 0x3F8;
    int32_t m_irq = 4;
    int32_t m_baudCode = 10;
    int32_t m_parityCode = 0;
    int32_t m_lengthCode = 3;
    int32_t m_stopCode = 0;
    int32_t m_protocolCode = 7;
    int32_t m_timeout = 5000;
    std::array<char, kReceiveBuffer> m_receive{};
    SerialLineErrors m_lineErrors; // found by the last read
};

} // namespace tvane::comm
