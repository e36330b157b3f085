// The document's lifecycle (new, open, save, reset, new setup) and its file.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/DocumentTexts.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CMfxFileException.h"
#include "database/CStateInfo.h"
#include "database/SetupFileHeader.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Clock.h"
#include "platform/storage/Storage.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetupArray.h"
#include "shared/ExceptionReport.h"

namespace fs = std::filesystem;

namespace {

// Shows an exception's own text the way the document reports failures.
void ReportException(const std::exception& e) {
    ShowMfxErrorMessage(e, {}, -1);
}

} // namespace

struct CLoggerDoc::LoadedFile {
    std::uint32_t version = 0;
    std::uint32_t headerValue = 0;
    std::uint16_t headerWord = 0;
    std::string modules[3];
    std::int32_t slots[3] = {0, 0, 0};
    std::uint32_t monitorChannel = 0;
    std::int32_t monitorInterval = 0;
    std::string setupText;
    std::uint32_t frameCounter = 0;
    std::unique_ptr<CFXSetupArray> setup = std::make_unique<CFXSetupArray>();
    std::unique_ptr<CCompChnlArray> computed = std::make_unique<CCompChnlArray>();
    std::unique_ptr<CFXScan> scan = std::make_unique<CFXScan>();
    // The setup view's part, from version 3 on.
    std::vector<std::uint8_t> setupView;

    LoadedFile() = default;
    LoadedFile(const LoadedFile&) = delete;
    LoadedFile& operator=(const LoadedFile&) = delete;
    ~LoadedFile() {
        if (setup)
            setup->RemoveAll();
        if (computed)
            computed->RemoveAll();
    }
};

// --- Serialisation ------------------------------------------------------------

void CLoggerDoc::Serialize(tvane::CArchive& ar) {
    CStateInfo& state = GetStateInfo();
    if (ar.IsStoring()) {
        ar << kFileVersion << m_headerValue << static_cast<std::uint16_t>(m_headerWord);
        for (const std::string& module : state.m_modules)
            ar << module;
        for (std::int16_t count : m_slotActive)
            ar << static_cast<std::int32_t>(count);
        ar << m_monitorChannel << static_cast<std::int32_t>(m_monitorInterval) << m_setupText
           << m_frameCounter;
        m_setup->Serialize(ar);
        m_compChannels->Serialize(ar);
        m_scan->Serialize(ar);
        WriteSetupViewState(ar);
        if (IDocumentFrame* frame = m_app.GetMainFrame())
            frame->SerializeLayout(ar, *this);
        return;
    }

    // Everything is read into a scratch copy first: a file that ends early or
    // is malformed leaves the document as it was.
    LoadedFile file;
    ar >> file.version;
    ar >> file.headerValue >> file.headerWord;
    for (std::string& module : file.modules)
        ar >> module;
    for (std::int32_t& count : file.slots)
        ar >> count;
    ar >> file.monitorChannel >> file.monitorInterval >> file.setupText >> file.frameCounter;
    file.setup->Serialize(ar);
    // The document's array always owns its rows, whatever the file says.
    file.setup->SetOwnsRows(1);
    file.computed->Serialize(ar);
    file.scan->Serialize(ar, static_cast<std::int32_t>(file.version));
    if (file.version >= 3)
        file.setupView = ReadSetupViewState(ar);
    // The views read their parts last and may look at the new setup; should
    // that fail, the old setup comes back.
    SwapLoadedFile(file);
    try {
        if (IView* view = GetSetupView(); view != nullptr && !file.setupView.empty()) {
            tvane::MemoryStream block(std::move(file.setupView));
            tvane::CArchive inner(block, tvane::CArchive::load);
            view->SerializeState(inner);
        }
        if (IDocumentFrame* frame = m_app.GetMainFrame())
            frame->SerializeLayout(ar, *this);
    } catch (...) {
        SwapLoadedFile(file);
        throw;
    }
    // What the file replaced goes with the scratch copy.
    m_setupLoaded = 0;
    if (m_undo)
        m_undo->Clear();
}

void CLoggerDoc::WriteSetupViewState(tvane::CArchive& ar) {
    // A block of its own, so a file is read past it whatever the view wrote
    // and a document without a setup view writes an empty one.
    tvane::MemoryStream block;
    if (IView* view = GetSetupView()) {
        tvane::CArchive inner(block, tvane::CArchive::store);
        view->SerializeState(inner);
    }
    ar << static_cast<std::uint32_t>(block.Size());
    ar.Write(block.Bytes().data(), block.Size());
}

std::vector<std::uint8_t> CLoggerDoc::ReadSetupViewState(tvane::CArchive& ar) {
    std::uint32_t size = 0;
    ar >> size;
    // Read as it comes: a damaged size runs into the end of the file rather
    // than into an allocation of its own.
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    while (bytes.size() < size) {
        const std::size_t n = std::min<std::size_t>(sizeof chunk, size - bytes.size());
        ar.ReadExact(chunk, n);
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

void CLoggerDoc::SwapLoadedFile(LoadedFile& file) {
    CStateInfo& state = GetStateInfo();
    std::swap(m_headerValue, file.headerValue);
    std::uint32_t headerWord = file.headerWord;
    file.headerWord = static_cast<std::uint16_t>(m_headerWord);
    m_headerWord = headerWord;
    for (int i = 0; i < 3; ++i) {
        std::swap(state.m_modules[i], file.modules[i]);
        std::int32_t count = file.slots[i];
        file.slots[i] = m_slotActive[i];
        m_slotActive[i] = static_cast<std::int16_t>(count);
    }
    std::swap(m_monitorChannel, file.monitorChannel);
    std::int32_t interval = file.monitorInterval;
    file.monitorInterval = static_cast<std::int32_t>(m_monitorInterval);
    m_monitorInterval = static_cast<std::uint32_t>(interval);
    std::swap(m_setupText, file.setupText);
    std::swap(m_frameCounter, file.frameCounter);
    m_setup.swap(file.setup);
    m_compChannels.swap(file.computed);
    m_scan.swap(file.scan);
}

// The workspace checks imported setup files against the same header.
static_assert(CLoggerDoc::kFileVersion == setup_file::kLatestVersion);
static_assert(std::string_view(doctext::kContentsStream) == setup_file::kContentsStream);

void CLoggerDoc::ReadDocumentFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    {
        tvane::Storage root =
            tvane::StgOpenStorage(path, tvane::STGM_READ | tvane::STGM_SHARE_DENY_WRITE);
        tvane::Stream stream = root.OpenStream(doctext::kContentsStream,
                                               tvane::STGM_READ | tvane::STGM_SHARE_EXCLUSIVE);
        bytes.resize(static_cast<std::size_t>(stream.Size()));
        const std::size_t got = stream.Read(bytes.data(), bytes.size());
        bytes.resize(got);
    }
    tvane::MemoryStream memory(std::move(bytes));
    tvane::CArchive ar(memory, tvane::CArchive::load);
    Serialize(ar);
}

void CLoggerDoc::WriteDocumentFile(const std::string& path) {
    tvane::MemoryStream memory;
    {
        tvane::CArchive ar(memory, tvane::CArchive::store);
        Serialize(ar);
    }
    try {
        tvane::SaveWholeFile(path, [&memory](const fs::path& newFile) {
            tvane::Storage root = tvane::StgCreateDocfile(
                newFile, tvane::STGM_CREATE | tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE);
            tvane::Stream stream = root.CreateStream(doctext::kContentsStream,
                                                     tvane::STGM_CREATE | tvane::STGM_READWRITE |
                                                         tvane::STGM_SHARE_EXCLUSIVE);
            stream.Write(memory.Bytes().data(), memory.Size());
            stream.Close();
            root.Commit();
            root.Close();
        });
    } catch (const fs::filesystem_error& e) {
        ThrowMfxFileException(tvane::FileException::accessDenied, e.code().value(), path.c_str());
    }
}

// --- Lifecycle ----------------------------------------------------------------

std::string CLoggerDoc::MakeCompanionFileName(const std::string& path) {
    fs::path result(path);
    std::string name = result.filename().string();
    if (name.empty())
        return path;
    name[0] = 'Y';
    result.replace_filename(name);
    return result.string();
}

void CLoggerDoc::ShowModuleTexts(const CStateInfo& state) {
    if (IDocumentFrame* frame = m_app.GetMainFrame())
        for (int i = 0; i < 3; ++i)
            frame->SetPaneText(i + 1, state.m_modules[i]);
}

bool CLoggerDoc::OnNewDocument() {
    DeleteContents();
    m_pathName.clear();
    CloseDatasetStore();
    ResetDocument();
    DeleteLatestReadings();
    m_engine->ResetRunTimes(tvane::Clock().TickCount());
    m_firstTimeBound = kBeforeScan;
    m_secondTimeBound = kAfterScan;
    m_engine->ClearRunData();
    m_setupLoaded = 0;
    m_setupInInstrument = 0;
    m_neverSaved = 1;
    SetModifiedFlag(true);
    CStateInfo state;
    m_app.CopyStateInfo(state);
    state.m_flags = {1, 0, 0, 0};
    m_app.SetStateInfo(state);
    UpdateAllViews(nullptr, HINT_NEW_DOCUMENT);
    return true;
}

bool CLoggerDoc::OnOpenDocument(const std::string& path) {
    try {
        DeleteContents();
        ReadDocumentFile(path);
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, path, -1);
        return false;
    }
    m_pathName = path;
    SetModifiedFlag(false);
    try {
        m_neverSaved = 0;
        m_setupInInstrument = 0;
        m_firstTimeBound = kBeforeScan;
        m_secondTimeBound = kAfterScan;
        DeleteLatestReadings();
        CStateInfo state;
        m_app.CopyStateInfo(state);
        state.m_flags = {0, 0, 0, state.m_datasetName.empty() ? 0 : 2};
        CloseDatasetStore();
        const std::string companion = MakeCompanionFileName(state.m_setupFile);
        // The store reports a file it cannot open by throwing; either way the
        // setup cannot be used without it.
        try {
            if (!m_datasetStore->Open(companion,
                                      tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE))
                return false;
        } catch (const std::exception& e) {
            ShowMfxErrorMessage(e, companion, -1);
            return false;
        }
        if (state.m_datasetName.empty() &&
            (m_services.operations == nullptr || !m_services.operations->SaveDataset(*this, state)))
            return false;
        if (m_services.operations != nullptr) {
            m_services.operations->LoadDatasetFile(*this, state);
            m_engine->SetLastScanChannel(m_services.operations->GetLastScanMaxChannel(*this));
        }
        m_engine->CountFromStartTick();
        ShowModuleTexts(state);
        state.SaveRecentNames();
        m_setupLoaded = 1;
        m_app.SetStateInfo(state);
        UpdateAllViews(nullptr, HINT_NEW_DOCUMENT);
    } catch (const std::exception& e) {
        ReportException(e);
    }
    return true;
}

bool CLoggerDoc::OnSaveDocument(const std::string& path) {
    try {
        WriteDocumentFile(path);
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, path, -1);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CLoggerDoc::DoSave(const std::string& path) {
    CStateInfo state;
    m_app.CopyStateInfo(state);
    int mode = 3;
    if (m_neverSaved)
        mode = 2;
    else if (state.m_flags[1])
        mode = 1;
    else if (path.empty())
        mode = 0;
    return m_services.operations != nullptr &&
           m_services.operations->SaveSetupAs(*this, state, mode);
}

void CLoggerDoc::DeleteContents() {
    if (IsScanning() && m_services.operations != nullptr) {
        m_engine->SetTerminationCode(CScanEngine::kTerminationCompleted);
        m_services.operations->EndScan(*this);
    }
    DeleteReadingLists();
    CloseDataBrowser();
    m_hasReadings = false;
    m_editedRows.clear();
    m_readingPathWord = 0;
    m_engine->ClearRunData();
}

void CLoggerDoc::ResetDocument() {
    m_setupLoaded = 0;
    m_headerValue = 0;
    m_headerWord = 0;
    m_slotActive[0] = m_slotActive[1] = m_slotActive[2] = 0;
    m_monitorChannel = 0;
    if (m_setup)
        m_setup->RemoveAll();
    if (m_compChannels)
        m_compChannels->RemoveAll();
    if (m_undo)
        m_undo->Clear();
    if (m_scan)
        m_scan->Reset();
}

bool CLoggerDoc::CreateNewSetup(CStateInfo& state, int mode, bool takeOver) {
    bool ok = false;
    try {
        ok = m_services.operations != nullptr &&
             m_services.operations->CreateSetupStorage(*this, state);
        if (ok) {
            m_headerValue = static_cast<std::uint32_t>(LoadModuleCards(state));
            // Rows of an earlier setup go; the new one starts from empty slots.
            ok = m_setup->ResetSlots(static_cast<std::int32_t>(m_headerValue));
        }
        ok = ok && m_services.operations->LoadModuleChannels(*this, state);
        ok = ok && m_services.operations->SaveDataset(*this, state);
        // Failures throw; false only says the dataset was listed already, as
        // saving it has just done.
        if (ok)
            GetDataset()->WriteHeader();
        if (ok) {
            if (mode == 1) {
                ok = m_services.operations->UploadSetup(*this, state);
            } else {
                for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
                    CFXSetup* row = m_setup->GetSetup(i);
                    if (row != nullptr && row->IsMeasurement() && !row->IsComputed()) {
                        row->ChannelMode = 1;
                        break;
                    }
                }
            }
        }
        CountActiveChannelsPerSlot();
        ShowModuleTexts(state);
        m_setupLoaded = 1;
        if ((GetDataset()->GetReadingCount() == 0 || !ok) && m_services.operations != nullptr)
            m_engine->SetLastScanChannel(m_services.operations->GetLastScanMaxChannel(*this));
        if (ok)
            UpdateAllViews(nullptr, HINT_NEW_SETUP);
        if (ok && mode == 1 && takeOver) {
            m_engine->SetResuming(true);
            m_services.operations->StartScan(*this);
            m_engine->SetResuming(false);
        }
    } catch (const std::exception& e) {
        ReportException(e);
        ok = false;
    }
    return ok;
}
