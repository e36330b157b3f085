#include "tests/database/ZipImportFuzzBody.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CDynaDatabase.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/IWorkspaceDocument.h"
#include "database/SeedDatabase.h"
#include "database/SetupTransfer.h"
#include "platform/core/Exception.h"
#include "platform/core/Folders.h"
#include "platform/ui/Prompter.h"
#include "platform/zip/Zip.h"
#include "scan/CFXSetupArray.h"

namespace tvane::test {

namespace {

namespace fs = std::filesystem;

// The document's side of a workspace that imports and runs nothing.
class ImportDocument final : public IWorkspaceDocument {
public:
    ~ImportDocument() override {
        CloseDatasetStore();
        m_rows.RemoveAll();
    }
    CStateInfo& AppState() override { return state; }
    CDatasetStore& Store() override { return m_store; }
    CDataset& Dataset() override { return m_dataset; }
    void CloseDatasetStore() override {
        if (m_dataset.IsOpen())
            m_dataset.Close();
        m_store.Close();
    }
    CFXSetupArray& SetupRows() override { return m_rows; }
    std::int32_t ChannelLimit() const override { return 100; }
    int CountActiveChannels(bool) const override { return 0; }
    RunSummary GetRunSummary() const override { return {}; }
    void SetRunSummary(const RunSummary&) override {}
    void SetEventPositions(double, double) override {}

    CStateInfo state;

private:
    CDatasetStore m_store;
    CDataset m_dataset;
    CFXSetupArray m_rows;
};

// One seeded workspace database for the whole process, copied for each input.
const fs::path& PristineDatabase() {
    static const fs::path path = [] {
        const fs::path file = DataDir().parent_path() / "zip-fuzz-seed.mdb";
        if (!fs::exists(file))
            CreateSeedDatabase(file);
        return file;
    }();
    return path;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "zip import fuzzing: %s\n", what);
        std::abort();
    }
}

void Import(const std::string& archive, const fs::path& folder, TransferScope scope) {
    const fs::path database = folder / "tvane.mdb";
    fs::copy_file(PristineDatabase(), database, fs::copy_options::overwrite_existing);
    ImportDocument doc;
    auto db = std::make_shared<CDynaDatabase>();
    Check(db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"),
          "the workspace database does not open");
    doc.state.m_pDatabase = db;
    doc.state.m_dataDir = folder.string();
    CWorkspace workspace(doc);
    ScriptedPrompter prompter;
    try {
        SetupImporter importer(workspace, doc.state.GetDatabase(), folder.string(), prompter);
        if (importer.HasIndex(archive) && importer.ExtractIndex(archive))
            importer.Import(archive, scope, 0);
    } catch (const tvane::Exception&) {
        // reported to the user as a failed import
    }
    doc.CloseDatasetStore();
    doc.state.m_pDatabase.reset();
}

// Zips the members the text lists; false when it lists none the archive takes.
bool MakeArchive(const std::string& text, const fs::path& members, const fs::path& archive) {
    fs::create_directories(members);
    std::vector<fs::path> files;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find(kMemberMark, at);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(at, end - at);
        at = end + std::strlen(kMemberMark);
        const std::size_t line = std::min(part.find('\n'), part.size());
        const std::string name = zip::MemberBaseName(part.substr(0, line));
        if (name.empty() || name.find('\0') != std::string::npos)
            continue;
        const fs::path file = members / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        const std::string content = line < part.size() ? part.substr(line + 1) : std::string();
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (out)
            files.push_back(file);
    }
    return !files.empty() && zip::CreateArchive(archive, files) == zip::ZipStatus::Ok;
}

} // namespace

void ExerciseZipImport(const std::uint8_t* data, std::size_t size) {
    const fs::path root = DataDir().parent_path() / "zip-fuzz";
    const fs::path folder = root / "data";
    fs::remove_all(root);
    fs::create_directories(folder);
    const fs::path archive = root / "import.qmx";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!bytes.empty() && bytes[0] == 'M') {
        if (!MakeArchive(bytes.substr(1), root / "members", archive)) {
            fs::remove_all(root);
            return;
        }
    } else {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    Import(archive.string(), folder, TransferScope::AllDatasets);
    Import(archive.string(), folder, TransferScope::OneDataset);
    // Whatever the archive names, nothing lands beside the data folder.
    for (const auto& entry : fs::directory_iterator(root))
        Check(entry.path() == folder || entry.path() == archive || entry.path() == root / "members",
              "the import wrote outside the data folder");
    fs::remove_all(root);
}

} // namespace tvane::test
