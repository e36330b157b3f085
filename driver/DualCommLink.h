#pragma once
#include "comm/IDualComm.h"
#include "driver/IInstrumentLink.h"

namespace tvane::driver {

// The driver's link over the aggregated control's IDualComm slots 30, 32, 36,
// 38 and 39.
class DualCommLink final : public IInstrumentLink {
public:
    explicit DualCommLink(IDualComm* comm = nullptr) : m_comm(comm) {}
    void SetComm(IDualComm* comm) { m_comm = comm; }

    bool SendRawMsg(const char* command) override;
    bool RecvRawMsg(char* buffer, std::int32_t size, std::int32_t* count) override;
    int InterfaceType() override;
    bool GetCommError(std::string& text, std::int32_t& code) override;
    bool ClearDevice() override;

private:
    IDualComm* m_comm;
};

} // namespace tvane::driver
