#pragma once
// What the document benchmarks share: a temporary TVANE_HOME and an application
// without windows or instrument.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/ILoggerApp.h"
#include "database/CStateInfo.h"

namespace bench {

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tvane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
        setenv("TVANE_HOME", m_path.c_str(), 1);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

class BenchApp final : public ILoggerApp {
public:
    CStateInfo state;
    CStateInfo& GetStateInfo() override { return state; }
    COleKXQT7100* GetInstrument() override { return nullptr; }
    bool IsSetupDiscard() const override { return false; }
    IDocumentFrame* GetMainFrame() override { return nullptr; }
    ISetupEditor* GetSetupEditor() override { return nullptr; }
};

} // namespace bench
