#include "PasteFuzzBody.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include "GraphFakes.h"
#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphView.h"
#include "graphics/DisplayDrag.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/controls/DragDrop.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/graphics/displays/strip/StripFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/FuzzCorpus.h"

namespace graphicstest {

namespace {

// A page as the program has it: a model on a window that remembers where its
// displays were put.
struct PastePage {
    explicit PastePage(IGraphDocument* doc) : view(&window, doc) {
        view.SetClipboard(&clipboard);
        view.OnInitialUpdate(false);
    }
    FakeViewWindow window;
    FakeClipboard clipboard;
    CGraphView view;
};

// The display that arrived, copied and pasted on another page, stores the
// same archive.
void ExpectTheSameCopy(PastePage& from, IGraphDocument* doc) {
    CGraphFrame* arrived = from.view.GetSelected();
    if (!arrived)
        return;
    const std::vector<std::uint8_t> bytes = CGraphView::StoreFrame(*arrived);
    PastePage to(doc);
    to.clipboard.archive = bytes;
    if (!to.view.Paste(false) || !to.view.GetSelected()) {
        std::fprintf(stderr, "paste fuzzing: a copied display does not paste\n");
        std::abort();
    }
    const std::vector<std::uint8_t> again = CGraphView::StoreFrame(*to.view.GetSelected());
    if (again != bytes) {
        std::fprintf(stderr,
                     "paste fuzzing: a pasted display does not copy as it was "
                     "(%zu and %zu bytes, apart from byte %zu)\n",
                     bytes.size(), again.size(), tvane::test::FirstDifference(bytes, again));
        std::abort();
    }
}

} // namespace

void ExercisePaste(const std::uint8_t* data, std::size_t size) {
    FakeStripWindows windows;
    displays::Windows<IStripChartWindows>::Scoped install{&windows};
    FakeTextWindows textWindows;
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> quiet{tvane::SetPrompter, &prompter};
    FakeGraphDocument doc;
    const std::vector<std::uint8_t> bytes(data, data + size);

    // Edit Paste of what another program put on the clipboard.
    {
        PastePage page(&doc);
        page.clipboard.archive = bytes;
        if (page.view.Paste(false))
            ExpectTheSameCopy(page, &doc);
    }
    // A display dropped from another page: the bytes are the drag file.
    {
        std::ofstream(tvane::GetDragFileName(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        PastePage page(&doc);
        if (displaydrag::Drop(page.view))
            ExpectTheSameCopy(page, &doc);
        tvane::RemoveDragFile();
    }
}

} // namespace graphicstest
