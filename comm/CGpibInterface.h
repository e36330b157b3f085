#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/GpibApi.h"
#include "comm/ITransportSettings.h"
#include "platform/com/Activation.h"

namespace tvane::comm {

// The transport through an NI-488.2 GPIB board library (interface type 2): the
// library is loaded by Initialize and bound by entry point names. Address texts are
// "ib<board>,<primary address>". The board is probed and put online by Connect; the
// device handle is made by the first Send.
class CGpibInterface final : public CCommInterface, public ITransportSettings {
public:
    // linux-gpib's user library; the configuration may name another file.
    static constexpr const char* kDefaultLibrary = "libgpib.so.0";
    static constexpr const char* kConfigFile = "gpib.ini";
    static constexpr const char* kLibrarySection = "Library";
    static constexpr const char* kLibraryKey = "File";
    static constexpr int32_t kBoards = 2;
    // Library errors carry this plus the library's error value as their code, so that
    // its value 0 (a system error) is not read as "no error".
    static constexpr int32_t kLibraryErrorBase = 3000;

    // libraryName: the file to load; empty for the configured one.
    explicit CGpibInterface(std::string libraryName = {});
    ~CGpibInterface() override;

    // Loads the library once and lists the boards that go online.
    bool Initialize() override;
    bool Open(const char* address) override;
    bool LoadEntryPoints() override;
    bool Connect() override;
    bool Close() override;
    bool Send(const char* command) override;
    bool Transfer(int32_t a, int32_t b, int32_t c, int32_t d) override;
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool GoToRemote() override;
    // Finds the listeners of one board.
    bool ScanController(const std::string& controller) override;
    // False (error 1008) unless the text names a board and a primary address 1-30.
    bool SetAddress(const char* address) override;
    bool SetCommTimeout(int32_t ms) override;
    int32_t GetCommTimeout() override;
    void SetPollTimeout(int32_t ms) override;
    int32_t GetPollTimeout() override;
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag) override;
    int16_t IsMsgAvailable() override;
    void Clear() override;
    bool EditSettings() override;
    bool GetControllerName(int32_t index, std::string& name) override;

    // The library file Initialize loads: the constructor's name, else the one the
    // configuration gives, else linux-gpib's.
    std::string LibraryName() const;
    bool IsLibraryLoaded() const { return m_library.IsLoaded(); }
    bool IsConnected() const { return m_connected; }
    const std::vector<std::string>& Controllers() const { return m_controllers; }
    int32_t Board() const { return m_board; }
    int16_t PrimaryAddress() const { return m_primary; }
    const std::string& LastCommand() const { return m_lastCommand; }
    bool IsExcluded(int32_t address) const;

    // The library's time-out codes and milliseconds.
    static int32_t TimeoutCode(int32_t ms);
    static int32_t TimeoutMs(int32_t code);
    // The text of a library error value.
    static const char* ErrorText(int32_t iberr);

private:
    struct EntryPoints {
        volatile int* ibsta = nullptr;
        volatile int* iberr = nullptr;
        volatile int* ibcnt = nullptr;
        GpibIbonlFn ibonl = nullptr;
        GpibIbtmoFn ibtmo = nullptr;
        GpibIbdevFn ibdev = nullptr;
        GpibIbwrtFn ibwrt = nullptr;
        GpibIbrdFn ibrd = nullptr;
        GpibBoardFn SendIFC = nullptr;
        GpibReadStatusByteFn ReadStatusByte = nullptr;
        GpibFindLstnFn FindLstn = nullptr;
        GpibDevClearFn DevClear = nullptr;
        GpibAddressListFn EnableRemote = nullptr;
        GpibAddressListFn EnableLocal = nullptr;
    };

    // The status word, error and count the library left after its last call.
    int Status() const { return *m_fn.ibsta; }
    int ErrorValue() const { return *m_fn.iberr; }
    int Count() const { return *m_fn.ibcnt; }
    bool Failed() const { return (Status() & kGpibErr) != 0; }
    bool RequireLibrary();
    void UnloadLibrary();
    void ListControllers();
    void ReadControllerSettings(const std::string& controller);
    // Makes the device handle when there is none.
    bool MakeDevice();
    void FreeDevice();
    // Records the library's time-out or error as the transport's error.
    void ReportLibraryError();

    DynamicLibrary m_library;
    EntryPoints m_fn;
    std::string m_libraryName;
    std::vector<std::string> m_controllers;
    int32_t m_board = 0;
    int16_t m_primary = 0;
    int32_t m_device = -1;
    bool m_connected = false;
    int32_t m_commTimeoutCode = 12;
    int32_t m_pollTimeoutCode = 7;
    std::string m_lastCommand;
};

} // namespace tvane::comm
