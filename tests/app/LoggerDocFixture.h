#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/LastScanChannel.h"
#include "database/CStateInfo.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TimerService.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/FakeSetupEditor.h"
#include "tests/support/TempHome.h"

namespace tvane::test {

// The main frame as the document sees it: its timers, its panes and a page
// layout of named pages.
class FakeFrame final : public IDocumentFrame {
public:
    FakeTimerService timers;
    std::string panes[4];
    std::vector<std::string> pages{"Graphics 1"};
    std::uint32_t selected = 0;

    ITimerService& Timers() override { return timers; }
    void SetPaneText(int pane, const std::string& text) override { panes[pane] = text; }
    int eventLogShown = 0;
    void ShowEventLog() override { ++eventLogShown; }
    void SerializeLayout(CArchive& ar, CLoggerDoc&) override {
        if (ar.IsStoring()) {
            ar << static_cast<std::uint32_t>(pages.size());
            for (const auto& page : pages)
                ar << page;
            ar << selected;
            return;
        }
        std::uint32_t count = 0;
        ar >> count;
        // Page by page: a damaged count runs into the end of the file.
        std::vector<std::string> read;
        for (std::uint32_t i = 0; i < count; ++i)
            ar >> read.emplace_back();
        ar >> selected;
        pages = std::move(read);
    }
};

class FakeApp final : public ILoggerApp {
public:
    CStateInfo state;
    FakeFrame frame;
    bool withFrame = true;
    bool discard = false;
    FakeSetupEditor* editor = nullptr;

    CStateInfo& GetStateInfo() override { return state; }
    COleKXQT7100* GetInstrument() override { return nullptr; }
    bool IsSetupDiscard() const override { return discard; }
    IDocumentFrame* GetMainFrame() override { return withFrame ? &frame : nullptr; }
    ISetupEditor* GetSetupEditor() override { return editor; }
};

// The counts of active channels of slots 1 to 3, as the document file keeps them.
inline std::vector<std::int32_t> StoredSlotCounts(CLoggerDoc& doc) {
    MemoryStream memory;
    {
        CArchive ar(memory, CArchive::store);
        doc.Serialize(ar);
    }
    memory.Seek(0);
    CArchive ar(memory, CArchive::load);
    std::uint32_t version = 0, headerValue = 0;
    std::uint16_t headerWord = 0;
    std::string module;
    ar >> version >> headerValue >> headerWord >> module >> module >> module;
    std::vector<std::int32_t> counts(3);
    for (std::int32_t& count : counts)
        ar >> count;
    return counts;
}

// Records the calls; each answers with its scripted result.
class FakeOperations final : public IDocumentOperations {
public:
    std::vector<std::string> calls;
    bool createStorage = true, loadChannels = true, saveDataset = true, loadDataset = true;
    bool saveSetupAs = true, upload = true;
    int saveMode = -1;
    // Rows LoadModuleChannels puts into the setup: (module, channel, function type).
    std::vector<std::pair<std::string, std::uint32_t>> rows;

    bool CreateSetupStorage(CLoggerDoc&, CStateInfo&) override {
        calls.push_back("CreateSetupStorage");
        return createStorage;
    }
    bool LoadModuleChannels(CLoggerDoc& doc, CStateInfo&) override;
    std::function<bool(CLoggerDoc&)> onSaveDataset;
    bool SaveDataset(CLoggerDoc& doc, CStateInfo&) override {
        calls.push_back("SaveDataset");
        return onSaveDataset ? onSaveDataset(doc) : saveDataset;
    }
    bool LoadDatasetFile(CLoggerDoc&, CStateInfo&) override {
        calls.push_back("LoadDatasetFile");
        return loadDataset;
    }
    // The program's own answer, so runs count their scans as the program does.
    std::int32_t GetLastScanMaxChannel(CLoggerDoc& doc) override {
        calls.push_back("GetLastScanMaxChannel");
        return LastScanMaxChannel(doc.GetDataset(), doc.GetSetup());
    }
    bool DeleteSetup(CLoggerDoc&, const std::string& name) override {
        calls.push_back("DeleteSetup " + name);
        return true;
    }
    bool DeleteDataset(CLoggerDoc&, CStateInfo&) override {
        calls.push_back("DeleteDataset");
        return true;
    }
    bool SaveSetupAs(CLoggerDoc&, CStateInfo&, int mode) override {
        saveMode = mode;
        return saveSetupAs;
    }
    bool UploadSetup(CLoggerDoc&, CStateInfo&) override {
        calls.push_back("UploadSetup");
        return upload;
    }
    void StartScan(CLoggerDoc& doc) override {
        calls.push_back(doc.GetScanEngine().IsResuming() ? "StartScan resume" : "StartScan");
    }
    void EndScan(CLoggerDoc&) override { calls.push_back("EndScan"); }
    void ShowWaitingStatus(CLoggerDoc&) override { calls.push_back("ShowWaitingStatus"); }
};

inline bool FakeOperations::LoadModuleChannels(CLoggerDoc& doc, CStateInfo&) {
    calls.push_back("LoadModuleChannels");
    std::int32_t i = 0;
    for (const auto& [module, channel] : rows) {
        auto* row = new CFXSetup;
        row->Name = module;
        row->Channel = channel;
        row->FunctionType = module == "Computed" || channel % 100 > 20 ? 0 : 1;
        doc.GetSetup()->SetSetup(i++, row);
    }
    return loadChannels;
}

// A view that keeps what it was told.
class RecordingView final : public IView {
public:
    explicit RecordingView(Kind kind = kOtherView) : m_kind(kind) {}
    struct Update {
        IView* sender;
        long hint;
        HintObject object;
    };
    std::vector<Update> updates;
    std::vector<long> Hints() const {
        std::vector<long> hints;
        for (const auto& u : updates)
            hints.push_back(u.hint);
        return hints;
    }
    void OnUpdate(IView* sender, long hint, const HintObject& object) override {
        updates.push_back({sender, hint, object});
        if (onUpdate)
            onUpdate(hint, object);
    }
    Kind GetKind() const override { return m_kind; }
    void Refresh() override { ++refreshes; }
    std::function<void(long, const HintObject&)> onUpdate;
    int refreshes = 0;

private:
    Kind m_kind;
};

// A fresh home, a fixed clock, a scripted prompter and an application with a
// main frame; the document is made by MakeDocument.
class LoggerDocTest : public TempHomeTest {
protected:
    LoggerDocTest()
        : m_clock(1700000000, 5000), m_clockService(SetClock, &m_clock),
          m_prompterService(SetPrompter, &prompter) {
        std::filesystem::create_directories(home.Data());
        app.state.m_dataDir = home.Data().string();
    }

    CLoggerDoc& MakeDocument() {
        doc = std::make_unique<CLoggerDoc>(app);
        services.operations = &operations;
        Wire();
        return *doc;
    }
    // Hands the services to the document again after a test changed them.
    void Wire() { doc->SetServices(services); }

    // A setup of rows in two slots, two computed channels, scan settings, a
    // monitor channel and three graphics pages.
    void FillSampleDocument(CLoggerDoc& d) {
        app.state.m_modules = {"KXQT7101", "KXQT7107", "(None)"};
        CFXSetupArray& setup = *d.GetSetup();
        setup.SetSize(4);
        const std::uint32_t channels[] = {101, 102, 201, 901};
        for (int i = 0; i < 4; ++i) {
            auto* row = new CFXSetup;
            row->Name = i == 3 ? "Computed" : (i < 2 ? "KXQT7101" : "KXQT7107");
            row->Channel = channels[i];
            row->ChannelName = "Channel " + std::to_string(i);
            row->ChannelMode = i % 2;
            row->Function = "DC volts";
            row->Range = "Auto";
            row->AdvSettings = "OFF;1;;;;;;;;AUTO;;;;";
            row->AdvSettingsType = 515;
            setup.SetSetup(i, row);
        }
        CCompChnlArray& computed = *d.GetComputedChannels();
        for (int i = 0; i < 2; ++i) {
            auto channel = std::make_unique<CCompChnl>();
            channel->Channel = 901 + i;
            channel->Arg1.Channel = 101;
            channel->Arg2.Value = 2.5 * (i + 1);
            channel->Operation = CCompChnl::kProduct;
            computed.SetAt(i, std::move(channel));
        }
        CFXScan& scan = *d.GetScan();
        scan.m_startMode = CFXScan::kStartTimed;
        scan.m_scanCount = 42;
        scan.m_scanInterval = 0.5;
        scan.m_exportOnPostScan = 1;
        d.SetComputedChannelsPresent();
        d.CountActiveChannelsPerSlot();
        // The monitor shows its channel's units.
        setup.GetSetup(1)->Units = "bench A";
        d.SetMonitorInterval(2500);
        const bool inInstrument = d.IsSetupInInstrument();
        d.SetSetupInInstrument(true);
        d.ConfigureMonitorChannel(102);
        d.SetSetupInInstrument(inInstrument);
        d.RaiseFrameCounter(17);
        app.frame.pages = {"Graphics 1", "Graphics 2", "Graphics 3"};
        app.frame.selected = 2;
    }

    FakeClock m_clock;
    ScopedService<IClock> m_clockService;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> m_prompterService;
    FakeApp app;
    FakeOperations operations;
    DocumentServices services;
    std::unique_ptr<CLoggerDoc> doc;
};

} // namespace tvane::test
