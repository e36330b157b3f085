#include "tests/app/DocumentLoadFuzzBody.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "app/frame/GraphDocument.h"
#include "database/CStateInfo.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphPageLayout.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TimerService.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/displays/strip/StripFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/FuzzCorpus.h"

namespace tvane::test {

namespace {

// The main frame around one document: its graphics pages are page models on
// windows that remember where they were put, as the program's pages are read
// from and written to the setup file.
class BareFrame final : public IDocumentFrame {
public:
    explicit BareFrame(CLoggerDoc& doc) : m_graphDoc(doc) { m_pages.push_back(MakePage()); }
    ITimerService& Timers() override { return m_timers; }
    void SetPaneText(int, const std::string&) override {}
    void ShowEventLog() override {}
    void SerializeLayout(CArchive& ar, CLoggerDoc&) override {
        if (ar.IsStoring()) {
            pagelayout::WriteHeader(ar, static_cast<std::uint32_t>(m_pages.size()), 1);
            std::vector<CGraphView*> views;
            for (const auto& page : m_pages)
                views.push_back(&page->view);
            pagelayout::WritePages(ar, views);
            return;
        }
        std::uint32_t selected = 0;
        const std::uint32_t count = pagelayout::ReadHeader(ar, selected);
        std::vector<std::unique_ptr<Page>> pages;
        pagelayout::ReadPages(ar, count, [&]() -> CGraphView& {
            pages.push_back(MakePage());
            return pages.back()->view;
        });
        if (pages.empty())
            pages.push_back(MakePage());
        else
            for (const auto& page : pages)
                page->view.OnInitialUpdate(true);
        m_pages = std::move(pages);
    }

    // New pages, each with the displays of its commands.
    void MakePages(const std::vector<std::vector<unsigned>>& pages) {
        m_pages.clear();
        for (const auto& commands : pages) {
            m_pages.push_back(MakePage());
            m_pages.back()->view.OnInitialUpdate(false);
            for (unsigned command : commands)
                m_pages.back()->view.CreateDisplay(command);
        }
    }

private:
    struct Page {
        explicit Page(IGraphDocument* doc) : view(&window, doc) {
            window.client = {0, 0, 800, 600};
        }
        graphicstest::FakeViewWindow window;
        CGraphView view;
    };
    std::unique_ptr<Page> MakePage() { return std::make_unique<Page>(&m_graphDoc); }

    FakeTimerService m_timers;
    GraphDocument m_graphDoc;
    std::vector<std::unique_ptr<Page>> m_pages;
};

// The program around one document.
class BareApp final : public ILoggerApp {
public:
    CStateInfo& GetStateInfo() override { return m_state; }
    COleKXQT7100* GetInstrument() override { return nullptr; }
    bool IsSetupDiscard() const override { return false; }
    IDocumentFrame* GetMainFrame() override { return m_frame.get(); }
    ISetupEditor* GetSetupEditor() override { return nullptr; }
    void SetFrame(std::unique_ptr<IDocumentFrame> frame) { m_frame = std::move(frame); }

private:
    CStateInfo m_state;
    std::unique_ptr<IDocumentFrame> m_frame;
};

// The frame and its document: the frame goes first, as its pages observe the
// document.
struct Program {
    BareApp app;
    CLoggerDoc doc{app};
    BareFrame* frame;
    Program() {
        auto made = std::make_unique<BareFrame>(doc);
        frame = made.get();
        app.SetFrame(std::move(made));
    }
    ~Program() { app.SetFrame(nullptr); }
};

std::vector<std::uint8_t> Save(CLoggerDoc& doc) {
    MemoryStream memory;
    {
        CArchive ar(memory, CArchive::store);
        doc.Serialize(ar);
    }
    return memory.Bytes();
}

bool Load(CLoggerDoc& doc, std::vector<std::uint8_t> bytes) {
    MemoryStream memory(std::move(bytes));
    CArchive ar(memory, CArchive::load);
    try {
        doc.Serialize(ar);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

} // namespace

namespace {

// The displays' windows, the messages a page shows answered at once, and a
// clock that stands still: a chart of a document without a run shows the time
// the document was opened.
struct QuietPages {
    graphicstest::FakeStripWindows strip;
    displays::Windows<IStripChartWindows>::Scoped stripScope{&strip};
    graphicstest::FakeTextWindows text;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> quiet{SetPrompter, &prompter};
    FakeClock clock{1700000000, 5000};
    ScopedService<IClock> still{SetClock, &clock};
};

} // namespace

std::vector<std::uint8_t> DocumentWithPages(const std::function<void(CLoggerDoc&)>& fill,
                                            const std::vector<std::vector<unsigned>>& pages) {
    QuietPages quiet;
    Program program;
    fill(program.doc);
    program.frame->MakePages(pages);
    return Save(program.doc);
}

void ExerciseDocumentLoad(const std::uint8_t* data, std::size_t size) {
    QuietPages quiet;

    Program program;
    if (!Load(program.doc, std::vector<std::uint8_t>(data, data + size)))
        return;
    const std::vector<std::uint8_t> first = Save(program.doc);
    Program other;
    if (!Load(other.doc, first)) {
        std::fprintf(stderr, "document fuzzing: a saved document does not load\n");
        std::abort();
    }
    const std::vector<std::uint8_t> second = Save(other.doc);
    if (second != first) {
        std::fprintf(stderr,
                     "document fuzzing: a saved document does not load back as saved "
                     "(%zu and %zu bytes, apart from byte %zu)\n",
                     first.size(), second.size(), FirstDifference(first, second));
        std::abort();
    }
}

} // namespace tvane::test
