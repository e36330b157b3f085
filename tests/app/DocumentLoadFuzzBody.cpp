#include "tests/app/DocumentLoadFuzzBody.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "database/CStateInfo.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/Exception.h"

namespace tvane::test {

namespace {

// The program around one document, without a main frame.
class BareApp final : public ILoggerApp {
public:
    CStateInfo& GetStateInfo() override { return m_state; }
    COleKXQT7100* GetInstrument() override { return nullptr; }
    bool IsSetupDiscard() const override { return false; }
    IDocumentFrame* GetMainFrame() override { return nullptr; }
    ISetupEditor* GetSetupEditor() override { return nullptr; }

private:
    CStateInfo m_state;
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

void ExerciseDocumentLoad(const std::uint8_t* data, std::size_t size) {
    BareApp app;
    CLoggerDoc doc(app);
    if (!Load(doc, std::vector<std::uint8_t>(data, data + size)))
        return;
    const std::vector<std::uint8_t> first = Save(doc);
    BareApp otherApp;
    CLoggerDoc other(otherApp);
    if (!Load(other, first) || Save(other) != first) {
        std::fprintf(stderr, "document fuzzing: a saved document does not load back as saved\n");
        std::abort();
    }
}

} // namespace tvane::test
