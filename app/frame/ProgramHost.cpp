#include "app/frame/ProgramHost.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CPrefPage.h"
#include "app/frame/CStartupDialogs.h"
#include "app/frame/CTransferDialogs.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/LogindPowerMonitor.h"
#include "app/frame/SingleInstance.h"
#include "database/CStateInfo.h"
#include "database/DataSource.h"
#include "platform/core/Folders.h"
#include "platform/profile/Profile.h"
#include "platform/ui/TimerService.h"
#include "shared/DiskSpace.h"
#include "shared/MainWindow.h"

bool ReadYesNoPreference(int id) {
    const std::string value = tvane::GetPrivateProfileString("PREFERENCES", std::to_string(id),
                                                             id == 10004 ? "N" : "Y", kProfileFile);
    return value == "Y";
}

ProgramHost::ProgramHost(std::string programDirectory)
    : m_programDirectory(std::move(programDirectory)) {}

ProgramHost::~ProgramHost() {
    CSplashWnd::HideSplashScreen();
    m_files.reset();
    m_document.reset();
    if (m_frame)
        tvane::SetTimerService(nullptr);
}

std::optional<double> ProgramHost::FreeDiskBytes(std::string& error) {
    return ::FreeDiskBytes(tvane::DataDir().string(), error);
}

void ProgramHost::ShowSplash() {
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen();
}

void ProgramHost::CloseSplash() {
    CSplashWnd::HideSplashScreen();
}

void ProgramHost::LoadSettings() {
    m_recent.Load();
}

bool ProgramHost::RaiseRunningInstance() {
    m_instance =
        std::make_unique<SingleInstance>(QString::fromStdString(tvane::ConfigDir().string()));
    return !m_instance->Acquire();
}

bool ProgramHost::RegisterDataSource() {
    return ::RegisterDataSource();
}

void ProgramHost::CreateInstrument(const std::string&) {
    m_connection = std::make_unique<CInstrumentConnection>(static_cast<IHost&>(*this));
    m_connection->CreateInstrument();
}

void ProgramHost::SetInterfacePane(const std::string& text) {
    if (m_frame)
        m_frame->SetStatusText(text, 4);
}

CLoggerDoc* ProgramHost::Document() const {
    return m_document ? &m_document->Document() : nullptr;
}

bool ProgramHost::OpenDatabase(CStateInfo& state) {
    m_state = &state;
    return state.OpenDatabase();
}

bool ProgramHost::CreateDocument() {
    m_frame = std::make_unique<CMainFrame>();
    tvane::SetTimerService(&m_frame->Timers());
    tvane::SetMainWindow(m_frame.get());
    m_power = std::make_unique<LogindPowerMonitor>();
    m_frame->SetPowerMonitor(m_power.get());
    if (m_instance)
        m_instance->SetWindow(m_frame.get());
    if (m_state)
        m_document = std::make_unique<DocumentWiring>(*m_state, m_connection.get(), m_frame.get(),
                                                      &m_preferences);
    m_frame->SetCommandHandler(cmd::kPreferences, [this] { OnPreferences(); });
    if (m_document) {
        DocumentWiring* wiring = m_document.get();
        QWidget* parent = m_frame.get();
        m_frame->SetCommandHandler(cmd::kExportSetups, [wiring, parent] {
            RunExportSetups(wiring->Document(), wiring->App().GetStateInfo(),
                            wiring->Operations().Workspace().Workspace(), parent);
        });
        m_frame->SetCommandHandler(cmd::kImportSetups, [wiring, parent] {
            RunImportSetups(wiring->Document(), wiring->App().GetStateInfo(),
                            wiring->Operations().Workspace().Workspace(), parent);
        });
        m_files = std::make_unique<FileCommandWiring>(
            wiring->Document(), wiring->Operations().Workspace().Workspace(), *m_frame, m_recent,
            m_preferences,
            m_programDirectory.empty() ? CStateInfo::ProgramDirectory() : m_programDirectory);
    }
    if (m_connection) {
        CInstrumentConnection* connection = m_connection.get();
        m_frame->SetCommandHandler(CInstrumentConnection::kCommandCommunicationsSetup,
                                   [connection] { connection->OnCommunicationsSetup(); });
    }
    return true;
}

void ProgramHost::OnPreferences() {
    int showAllBefore = 0, showAllAfter = 0;
    m_preferences.GetPrefValue(CAppPreferences::kShowAllChannels, showAllBefore);
    EditPreferences(m_preferences, m_frame.get());
    m_preferences.GetPrefValue(CAppPreferences::kShowAllChannels, showAllAfter);
    // The document numbers its display preferences from the first id on.
    if (showAllAfter != showAllBefore)
        if (CLoggerDoc* doc = Document())
            doc->OnPreferenceChanged(CAppPreferences::kShowAllChannels -
                                     CAppPreferences::FirstId() + 1);
}

bool ProgramHost::CreateEventLog() {
    return m_frame->CreateEventLog(false);
}

int ProgramHost::SavedWindowState() {
    return m_frame->WindowState();
}

void ProgramHost::ShowMainWindow(int state) {
    if (state == 1)
        m_frame->showNormal();
    else if (state == 2)
        m_frame->showMinimized();
    else
        m_frame->showMaximized();
    m_frame->update();
}

void ProgramHost::LoadPreferences() {
    m_preferences.Initialize();
}

std::optional<bool> ProgramHost::Preference(int id) {
    return ReadYesNoPreference(id);
}

bool ProgramHost::RestoreLastSetup(const std::string& setup, const std::string& dataset) {
    const bool restored = m_files && m_files->Commands().RestoreLastSetup(setup, dataset);
    // The bars' buttons follow the setup that is now open.
    m_frame->UpdateToolbars();
    return restored;
}

void ProgramHost::ConnectInstrument() {
    if (m_connection && m_connection->GetInstrument())
        m_connection->ConnectInstrument(true);
}

void ProgramHost::ShowTipOfTheDay() {
    if (m_files)
        m_files->ShowTipOfTheDay();
}

void ProgramHost::Welcome() {
    if (!m_files)
        return;
    struct Refresh {
        CMainFrame& frame;
        ~Refresh() { frame.UpdateToolbars(); }
    } refresh{*m_frame};
    m_files->Commands().Welcome();
}

void ProgramHost::DeleteInstrument() {
    // The document drives the instrument through the binding: it goes first.
    m_files.reset();
    m_document.reset();
    m_connection.reset();
}

void ProgramHost::CloseDatabase(CStateInfo& state) {
    state.CloseDatabase();
}

void ProgramHost::EmptyClipboardIfOurs() {
    if (!QApplication::instance())
        return;
    QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard->mimeData();
    if (data && data->hasFormat(kClipboardFormat))
        clipboard->clear();
}

void ProgramHost::SaveSettings() {
    m_recent.Save();
}
