#pragma once
#include "comm/CCommInterface.h"

namespace tvane::comm {

// The transport of the simulated interface: talks to no device and succeeds at
// everything, so the control can be opened, searched and closed without hardware.
// The driver sees interface type 0 and simulates its readings itself.
class CSimInterface : public CCommInterface {
public:
    CSimInterface();
    ~CSimInterface() override;

    bool Open(const char* address) override;
    bool Close() override;
    bool Send(const char* command) override;
    // Answers an empty text, counted as one byte.
    bool Read(char* buffer, int32_t size, int32_t& count) override;
    // One simulated instrument per model of the comma-separated list.
    bool Search(std::vector<std::string>& results, const char* models, int32_t flag) override;
    int16_t IsMsgAvailable() override;
    bool ParseIdentity(std::string& reply, std::string& description) override;
};

} // namespace tvane::comm
