#pragma once
#include "comm/CCommInterface.h"

namespace tvane::comm {

// The transport of the simulated interface: talks to no device and succeeds at
// everything, so the control can be opened, searched and closed without hardware.
// The driver sees interface type 0 and simulates its readings itself.
class CSimInterface final : public CCommInterface {
public:
    CSimInterface();
    ~CSimInterface() override;

    bool IsKind(int32_t kind) const override;
    bool HasKind(int32_t kind) const override;
    bool Initialize() override;
    bool Open(const char* address) override;
    bool LoadEntryPoints() override;
    bool Prepare() override;
    bool Connect() override;
    bool Close() override;
    bool Send(const char* command) override;
    bool Transfer(int32_t a, int32_t b, int32_t c, int32_t d) override;
    // Answers an empty text, counted as one byte.
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    bool GoToLocal() override;
    bool GoToRemote() override;
    bool ScanController(const std::string& controller) override;
    bool SetAddress(const char* address) override;
    bool SetCommTimeout(int32_t ms) override;
    int32_t GetCommTimeout() override;
    // One simulated instrument per model of the comma-separated list.
    bool Search(std::vector<std::string>& results, const char* models, int32_t flag) override;
    int16_t IsMsgAvailable() override;
    void Clear() override;
    bool ParseIdentity(std::string& reply, std::string& description) override;
};

} // namespace tvane::comm
