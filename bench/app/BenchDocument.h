#pragma once
// What the document benchmarks share: a temporary TVANE_HOME and an application
// without windows or instrument.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "database/CStateInfo.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

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

// Scanned setup rows for channels 101, 102, ... of one module model, each
// finished by fill.
template <typename Fill>
void AddChannels(CLoggerDoc& doc, int count, const char* model, Fill fill) {
    doc.GetSetup()->SetSize(count);
    for (int i = 0; i < count; ++i) {
        auto* row = new CFXSetup;
        row->Name = model;
        row->Channel = static_cast<std::uint32_t>(101 + i);
        row->ChannelMode = 1;
        fill(*row);
        doc.GetSetup()->SetSetup(i, row);
    }
}

} // namespace bench
