#pragma once
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "comm/CCommInterface.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/com/Activation.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/COleKXQT7100.h"
#include "tests/support/TempHome.h"

namespace tvane::test {

// An instrument that answers every query with its identity and logs what the
// control asks of the link: "[open address]", "[search pattern]", "comm N",
// "poll N", "lan N".
class RecordingTransport final : public comm::CCommInterface {
public:
    RecordingTransport(std::shared_ptr<std::vector<std::string>> log, int32_t type)
        : CCommInterface(type), m_log(std::move(log)) {}

    bool IsKind(int32_t) const override { return true; }
    bool HasKind(int32_t) const override { return true; }
    bool Initialize() override { return true; }
    bool Open(const char* address) override {
        m_log->push_back(std::string("[open ") + address + "]");
        StoreAddress(address);
        m_open = 1;
        return true;
    }
    bool LoadEntryPoints() override { return true; }
    bool Prepare() override { return true; }
    bool Connect() override { return true; }
    bool Close() override {
        m_open = 0;
        return true;
    }
    bool Send(const char*) override { return true; }
    bool Transfer(int32_t, int32_t, int32_t, int32_t) override { return true; }
    bool Read(char* buffer, int32_t size, int32_t& count) override {
        const std::string reply = "ORVANTA,QT7100,0,1.2\n";
        count = static_cast<int32_t>(std::min<std::size_t>(reply.size(), size));
        reply.copy(buffer, count);
        TerminateAnswer(buffer, size, count);
        return true;
    }
    bool GoToLocal() override { return true; }
    bool GoToRemote() override { return true; }
    bool ScanController(const std::string&) override { return true; }
    bool SetAddress(const char*) override { return true; }
    bool SetCommTimeout(int32_t ms) override {
        m_log->push_back("comm " + std::to_string(ms));
        m_commTimeout = ms;
        return true;
    }
    int32_t GetCommTimeout() override { return m_commTimeout; }
    void SetPollTimeout(int32_t ms) override { m_log->push_back("poll " + std::to_string(ms)); }
    bool SetLanTimeout(int32_t ms) override {
        m_log->push_back("lan " + std::to_string(ms));
        return true;
    }
    bool Search(std::vector<std::string>& results, const char* pattern, int32_t) override {
        m_log->push_back(std::string("[search ") + (pattern ? pattern : "") + "]");
        results.push_back("QT7100\tCOM1\tOrvanta");
        return true;
    }
    int16_t IsMsgAvailable() override { return 0; }

private:
    std::shared_ptr<std::vector<std::string>> m_log;
};

// The real KXQT7100.so and Linkwell.so (and the test's own server) registered in
// a fresh home, a scripted instrument behind the bus and the serial line, and
// message boxes answered from a script.
class BindingTest : public TempHomeTest {
protected:
    void SetUp() override {
        SetPrompter(&prompter);
        const std::string bin = std::string(TVANE_BINARY_DIR) + "/bin/";
        for (const char* file : {"Linkwell.so", "KXQT7100.so", "BindingFakeServer.so"}) {
            DynamicLibrary library(bin + file);
            ASSERT_TRUE(library.IsLoaded()) << library.ErrorText();
            auto reg =
                reinterpret_cast<DllRegisterServerFunction>(library.Symbol("DllRegisterServer"));
            ASSERT_NE(reg, nullptr) << file;
            ASSERT_EQ(reg(), S_OK) << file;
        }
        script->On("*IDN?", "ORVANTA,QT7100,0,1.2");
    }
    void TearDown() override {
        SetPrompter(nullptr);
        CoFreeUnusedLibraries();
    }

    static void WriteIni(const std::string& section, const std::string& key,
                         const std::string& value) {
        WritePrivateProfileString(section, key, value, "Tvane.ini");
    }

    // The bus settings of the scripted instrument.
    static CommSettings Wenx() {
        CommSettings s;
        s.InterfaceName = "WENX";
        s.ControllerName = "GPIB0";
        s.Address = 9;
        return s;
    }

    std::shared_ptr<comm::ScriptedTransport::Script> script =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator wenx{4, [s = script](int32_t type) {
                                          return std::make_unique<comm::ScriptedTransport>(s, type);
                                      }};
    comm::ScopedTransportCreator serial{
        3,
        [s = script](int32_t type) { return std::make_unique<comm::ScriptedTransport>(s, type); }};
    ScriptedPrompter prompter;
};

} // namespace tvane::test
