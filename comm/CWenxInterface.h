#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/ITransportSettings.h"
#include "platform/com/Activation.h"
#include "platform/wenx/WenxApi.h"

namespace tvane::comm {

// The transport through the instrument I/O library "wenx32.so": GPIB addresses
// behind a GPIB controller (interface types 1 and 4) or behind a LAN/GPIB gateway
// (type 5, the LAN form). The library is loaded by Initialize, found beside the
// program or on LD_LIBRARY_PATH, and its entry points are bound by name. Unless the
// transport is exclusive, every operation opens its own library session and closes
// it again, so other users of the library can reach the same instruments.
class CWenxInterface final : public CCommInterface, public ITransportSettings {
public:
    static constexpr const char* kLibraryName = "wenx32.so";
    static constexpr int32_t kAddresses = 31; // bus addresses 0-30

    // lan: 1 for the LAN/GPIB gateway form. libraryName: the file to load.
    explicit CWenxInterface(int32_t lan, std::string libraryName = kLibraryName);
    ~CWenxInterface() override;

    bool GetListenerMask(const std::string& controller, uint32_t& mask) override;
    // Loads the library once and lists its GPIB and LAN controllers.
    bool Initialize() override;
    bool Open(const char* address) override;
    bool LoadEntryPoints() override;
    bool Close() override;
    bool Send(const char* command) override;
    bool Transfer(int32_t a, int32_t b, int32_t c, int32_t d) override;
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool GoToRemote() override;
    // Finds the addresses of one controller that answer a serial poll.
    bool ScanController(const std::string& controller) override;
    bool SetAddress(const char* address) override;
    bool SetCommTimeout(int32_t ms) override;
    int32_t GetCommTimeout() override;
    bool SetLanTimeout(int32_t ms) override;
    int32_t GetLanTimeout() override;
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag) override;
    // 1 when the serial poll says an answer waits, 0 when not, -1 when it fails.
    int16_t IsMsgAvailable() override;
    void Clear() override;
    bool EditSettings() override;
    bool GetControllerName(int32_t index, std::string& name) override;

    bool IsLibraryLoaded() const { return m_hLibrary.IsLoaded(); }
    bool IsLan() const { return m_isLan != 0; }
    const std::vector<std::string>& GpibControllers() const { return m_gpibControllers; }
    const std::vector<std::string>& LanControllers() const { return m_lanControllers; }
    const std::string& IpAddress() const { return m_ipAddress; }
    const std::string& GatewayName() const { return m_gatewayName; }
    // The search record of a bus address: the address text found there (empty when
    // none) and whether the controller's settings leave it out of searches.
    std::string FoundAddress(int32_t address) const;
    bool IsExcluded(int32_t address) const;

private:
    struct EntryPoints {
        WenxReadFn iread = nullptr;
        WenxWriteFn iwrite = nullptr;
        WenxOpenFn iopen = nullptr;
        WenxSessionFn iclose = nullptr;
        WenxErrorTextFn igeterrstr = nullptr;
        WenxErrnoFn igeterrno = nullptr;
        WenxOnErrorFn ionerror = nullptr;
        WenxSetTimeoutFn ilantimeout = nullptr;
        WenxGetTimeoutFn ilangettimeout = nullptr;
        WenxSetTimeoutFn itimeout = nullptr;
        WenxGetTimeoutFn igettimeout = nullptr;
        WenxReadStbFn ireadstb = nullptr;
        WenxSessionFn ilocal = nullptr;
        WenxSessionFn iremote = nullptr;
        WenxSessionFn iclear = nullptr;
        WenxSessionFn ilock = nullptr;
        WenxSessionFn iunlock = nullptr;
        WenxLuListFn igetlulist = nullptr;
        WenxLuInfoFn igetluinfo = nullptr;
        WenxBusStatusFn igpibbusstatus = nullptr;
        WenxSendCmdFn igpibsendcmd = nullptr;
        WenxLineFn igpibatnctl = nullptr;
        WenxLineFn igpibrenctl = nullptr;
        WenxLineFn ihint = nullptr;
        WenxVersionFn iversion = nullptr;
    };

    // The library's path, empty when it is nowhere on the search path.
    std::string FindLibrary() const;
    void UnloadLibrary();
    void EnumerateControllers();
    const std::vector<std::string>& Controllers() const;
    void ReadControllerSettings(const std::string& controller);
    std::string DeviceAddress(const std::string& controller, int32_t address) const;
    // Opens the library session of the address when none is open.
    bool OpenConnection();
    void CloseConnection();
    // Ends an operation: the session closes unless the transport is exclusive.
    void EndOperation();
    // Records a failed library call as the error: its code and the library's text.
    void SetLibraryError(int32_t code);
    void ShowNoControllers();

    int32_t m_connection = 0;
    EntryPoints m_fn;
    DynamicLibrary m_hLibrary;
    int32_t m_lastResult = 0;
    int32_t m_readCount = 0;
    int32_t m_readReason = 0;
    int32_t m_statusByte = 0;
    int32_t m_isLan;
    std::string m_ipAddress = "0.0.0.0";
    std::string m_gatewayName = "gpib";
    std::vector<std::string> m_gpibControllers;
    std::vector<std::string> m_lanControllers;
    std::string m_controllerName;
    std::string m_libraryName;
};

} // namespace tvane::comm
