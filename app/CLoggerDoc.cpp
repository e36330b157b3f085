#include "app/CLoggerDoc.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "app/DocumentTexts.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/SetupGridOperations.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "database/CDatasetStore.h"
#include "database/CStateInfo.h"
#include "platform/core/Clock.h"
#include "platform/core/Folders.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/TimerService.h"
#include "scan/CChannelMath.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetupArray.h"
#include "scan/ISetupEditor.h"
#include "shared/ExceptionReport.h"

namespace fs = std::filesystem;

namespace {

// The next export file number to try; the program starts at 1.
int g_exportCounter = 1;
constexpr int kExportCounterLimit = 5000;

} // namespace

std::int32_t CLoggerDoc::ReadSettingNumber(const char* key, long def) {
    const std::string text = tvane::GetPrivateProfileString(
        doctext::kSettingsSection, key, tvane::Format("%ld", def), doctext::kIniFile);
    // Like atol: leading blanks, a sign and digits; anything else reads as 0,
    // which selects the default. Values beyond 32 bits are cut to the limit.
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

CLoggerDoc::CLoggerDoc(ILoggerApp& app)
    : m_app(app), m_export(std::make_unique<CTextExport>(*this)),
      m_engine(std::make_unique<CScanEngine>(*this)) {
    // The formats as the formatter expands them for this machine's settings.
    const auto expand = [this](const char* format) {
        m_timeFormatter.SetFormat(format);
        return m_timeFormatter.GetFormat();
    };
    m_formatDateTime = expand("%x %X");
    m_formatDateTimeMs = expand("%x %X.%l");
    m_formatDate = expand("%x");
    m_formatTime = expand("%X");
    m_formatTimeMs = expand("%X.%l");

    m_instrument = m_app.GetInstrument();
    m_monitorTimer.SetId(kMonitorTimerId);

    LoadFunctionTable(GetStateInfo().GetDatabase());

    m_setup = std::make_unique<CFXSetupArray>();
    m_compChannels = std::make_unique<CCompChnlArray>();
    m_undo = std::make_unique<CFXUndo>(this);
    if (!m_undo->Create())
        throw std::bad_alloc();
    m_setupGridOperations = std::make_unique<SetupGridOperations>(*this);
    m_scan = std::make_unique<CFXScan>();
    m_channelMath = std::make_unique<CChannelMath>();
    m_datasetStore = std::make_unique<CDatasetStore>();
    m_eventRecord = std::make_unique<CDatasetEvent>();

    CReadingQuery& request = m_export->GetRequest();
    request.m_fileName = MakeExportFileName("csv");
    request.m_previousFileName = request.m_fileName;

    std::int32_t limit = ReadSettingNumber(doctext::kMaxEventLogEntries, 2147483646L);
    m_eventLogLimit = limit <= 0 ? 2147483646 : limit;
    // A negative or absurd interval would never flush the run's data; it takes
    // the default like a missing one.
    const std::int32_t seconds = ReadSettingNumber(doctext::kAutoSaveIntervalSeconds, 14L);
    m_engine->SetAutoSaveInterval(seconds <= 0 || seconds > INT32_MAX / 1000
                                      ? 14000u
                                      : static_cast<std::uint32_t>(seconds) * 1000u);
}

CLoggerDoc::~CLoggerDoc() {
    CStateInfo& state = GetStateInfo();
    const bool emptyRun =
        !state.m_datasetName.empty() && GetDataset() && GetDataset()->GetReadingCount() == 0;
    CloseDatasetStore();
    try {
        if (m_services.operations != nullptr) {
            if (m_app.IsSetupDiscard() && !state.m_setupName.empty()) {
                m_services.operations->DeleteSetup(*this, state.m_setupName);
            } else if (emptyRun) {
                m_services.operations->DeleteDataset(*this, state);
                state.m_datasetName.clear();
                state.SaveRecentNames();
            }
        }
    } catch (const std::exception&) {
        // Nothing can be reported while the program ends.
    }
    m_functionTable.clear();
    DeleteLatestReadings();
    if (m_setup)
        m_setup->RemoveAll();
    if (m_compChannels)
        m_compChannels->RemoveAll();
}

// --- Views ------------------------------------------------------------------

void CLoggerDoc::AddView(IView* view) {
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CLoggerDoc::RemoveView(IView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CLoggerDoc::UpdateAllViews(IView* sender, long hint, const HintObject& object) {
    // A view may leave the document while it is told; work on a copy.
    const std::vector<IView*> views = m_views;
    for (IView* view : views)
        if (view != sender && (m_hintTarget == nullptr || view == m_hintTarget) &&
            std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(sender, hint, object);
}

IView* CLoggerDoc::GetSetupView() const {
    for (IView* view : m_views)
        if (view->GetKind() == IView::kSetupView)
            return view;
    return nullptr;
}

void CLoggerDoc::RefreshAllViews() {
    if (IView* view = GetSetupView())
        view->Refresh();
}

CStateInfo& CLoggerDoc::GetStateInfo() const {
    return m_app.GetStateInfo();
}

void CLoggerDoc::CloseDatasetStore() {
    if (GetDataset() && GetDataset()->IsOpen())
        GetDataset()->Close();
    if (m_datasetStore)
        m_datasetStore->Close();
}

// --- Commands ---------------------------------------------------------------

bool CLoggerDoc::OnCmdMsg(unsigned command) {
    switch (command) {
    case kCommandFileSave:
        if (IsCommandEnabled(command))
            OnFileSave();
        return true;
    case kCommandFileSaveAs:
        if (IsCommandEnabled(command))
            OnFileSaveAs();
        return true;
    case kCommandScanSettings:
        OnScanSettings();
        return true;
    default:
        return false;
    }
}

bool CLoggerDoc::IsCommandEnabled(unsigned command) const {
    switch (command) {
    case kCommandFileSave:
    case kCommandFileSaveAs:
        return !IsScanning();
    case kCommandScanSettings:
        return true;
    default:
        return false;
    }
}

bool CLoggerDoc::FinishCellEdit() {
    ISetupEditor* editor = m_app.GetSetupEditor();
    return editor == nullptr || editor->ValidateCurrentCell();
}

bool CLoggerDoc::OnFileSave() {
    // The value being typed into the grid belongs to the setup that is saved;
    // one that is not valid is left in its cell and the rest is saved.
    FinishCellEdit();
    return DoFileSave();
}

bool CLoggerDoc::OnFileSaveAs() {
    FinishCellEdit();
    return DoSave({});
}

// --- Lookups ----------------------------------------------------------------

CFXSetup* CLoggerDoc::FindSetupRow(std::int32_t channel) const {
    if (!m_setup)
        return nullptr;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
        CFXSetup* row = m_setup->GetSetup(i);
        if (row != nullptr && static_cast<std::int32_t>(row->Channel) == channel)
            return row;
    }
    return nullptr;
}

CFXSetup* CLoggerDoc::GetSetupRow(std::int32_t index) const {
    return m_setup ? m_setup->GetSetup(index) : nullptr;
}

std::int32_t CLoggerDoc::GetGridRow(std::int32_t channel) const {
    if (!m_setup)
        return 0;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = m_setup->GetSetup(i);
        if (row != nullptr && static_cast<std::int32_t>(row->Channel) == channel)
            return i + 2;
    }
    return 0;
}

std::string CLoggerDoc::MakeExportFileName(const std::string& extension) {
    // Before the workspace is open the data directory is not known yet; the
    // data folder stands in rather than the root of the file system.
    std::string folder = GetStateInfo().m_dataDir;
    if (folder.empty())
        folder = tvane::DataDir().string();
    const auto name = [&](int n) {
        return tvane::Format("%s/export%d.%s", folder.c_str(), n, extension.c_str());
    };
    for (; g_exportCounter < kExportCounterLimit; ++g_exportCounter) {
        std::string path = name(g_exportCounter);
        std::error_code ec;
        if (!fs::exists(path, ec))
            return path;
    }
    g_exportCounter = 1;
    return name(1);
}

// --- Time texts -------------------------------------------------------------

std::string CLoggerDoc::FormatNow() {
    return FormatTime(tvane::CTime::GetCurrentTime());
}

std::string CLoggerDoc::FormatTime(tvane::CTime time) {
    m_timeFormatter.SetFormat(m_formatDateTime);
    m_timeFormatter.SetTime(time, 0);
    return m_timeFormatter.GetText();
}

std::string CLoggerDoc::FormatTimeMs(tvane::CTime time, int milliseconds) {
    m_timeFormatter.SetFormat(m_formatDateTimeMs);
    m_timeFormatter.SetTime(time, milliseconds);
    return m_timeFormatter.GetText();
}

std::string CLoggerDoc::FormatReadingTime(double time) {
    if (time <= kAfterScan)
        return doctext::kAfterScan;
    if (time <= kBeforeScan)
        return doctext::kBeforeScan;
    // A time no clock shows (a damaged document's) has no text.
    if (!(time < kLatestReadingTime))
        return {};
    const double seconds = std::floor(time / 1000.0);
    const int ms = static_cast<int>(time - seconds * 1000.0);
    return FormatTimeMs(m_engine->GetDocumentTime() + static_cast<std::int64_t>(seconds), ms);
}

void CLoggerDoc::OnPreferenceChanged(int index) {
    if (index >= 0 && index <= 6)
        UpdateAllViews(nullptr, HINT_SETUP_CHANGED);
}

void CLoggerDoc::RaiseFrameCounter(std::uint32_t value) {
    m_frameCounter = std::max(m_frameCounter, value);
}
