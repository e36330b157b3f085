#include "app/frame/DocumentWiring.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QString>
#include <QTabWidget>

#include "app/CInstrumentConnection.h"
#include "app/ExportDialogModels.h"
#include "app/IExportServices.h"
#include "app/INewSetupPages.h"
#include "app/SaveSetupAsModel.h"
#include "app/SaveSetupModel.h"
#include "app/SetupGridOperations.h"
#include "app/eventlog/CEventEditDialog.h"
#include "app/eventlog/CEventFrame.h"
#include "app/frame/CDataBrowserDialog.h"
#include "app/frame/CExportDataDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CProgressDialog.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupAsDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/CUploadDlg.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/FrameInstrumentUi.h"
#include "app/frame/GraphicsWiring.h"
#include "app/frame/SetupSheets.h"
#include "app/frame/SetupViewPage.h"
#include "app/startup/FileCommands.h"
#include "database/CDataset.h"
#include "graphics/GraphPageLayout.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/archive/CArchive.h"
#include "platform/print/PrintSetupModel.h"
#include "shared/DiskSpace.h"

namespace {

// A new setup from an upload starts its pages as New Setup does.
class FrameNewSetupPages final : public INewSetupPages {
public:
    explicit FrameNewSetupPages(CMainFrame& frame) : m_frame(frame) {}
    void ResetPages() override { m_frame.ResetPages(); }
    void InsertStripChart() override { m_frame.CreateGraph(cmd::kStripChart); }

private:
    CMainFrame& m_frame;
};

// The text export's clipboard: plain text, added to what the clipboard holds
// unless it is to be emptied first.
class QtTextClipboard final : public IClipboard {
public:
    bool SetText(const std::string& text, bool emptyFirst) override {
        if (!QApplication::instance())
            return false;
        QClipboard* clipboard = QApplication::clipboard();
        auto* data = new QMimeData;
        if (const QMimeData* held = clipboard->mimeData(); held && !emptyFirst)
            for (const QString& format : held->formats())
                data->setData(format, held->data(format));
        data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        clipboard->setMimeData(data);
        return true;
    }
};

class FreeSpaceCheck final : public IDiskSpaceCheck {
public:
    bool HasFreeSpace(double bytes, const std::string& folder) override {
        std::string error;
        const auto free = FreeDiskBytes(folder, error);
        return CheckDiskSpace(static_cast<std::uint32_t>(std::min(bytes, 4294967295.0)), free,
                              error);
    }
};

// The Upload dialog, modal over the frame.
class QtUploadDialog final : public IUploadDialog {
public:
    explicit QtUploadDialog(QWidget* parent) : m_parent(parent) {}
    bool Run(CUploadDialogModel& model) override {
        CUploadDlg dialog(model, m_parent);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    QWidget* m_parent;
};

QtTextClipboard g_exportClipboard;
FreeSpaceCheck g_exportSpaceCheck;

} // namespace

tvane::ITimerService& FrameForDocument::Timers() {
    return m_frame.Timers();
}

void FrameForDocument::SetPaneText(int pane, const std::string& text) {
    m_frame.SetStatusText(text, pane);
}

void FrameForDocument::ShowEventLog() {
    m_frame.CreateEventLog(true);
}

void FrameForDocument::SerializeLayout(tvane::CArchive& ar, CLoggerDoc&) {
    // The graphics pages by title and the selected page, then the pages.
    if (ar.IsStoring()) {
        const auto count = static_cast<std::uint32_t>(m_frame.GraphicsPageCount());
        pagelayout::WriteHeader(ar, count, static_cast<std::uint32_t>(CMainFrame::PageNumber()));
        if (m_pages)
            m_pages(ar, count);
        return;
    }
    std::uint32_t selected = 0;
    const std::uint32_t count = pagelayout::ReadHeader(ar, selected);
    if (m_pages)
        m_pages(ar, count);
}

ProgramLoggerApp::ProgramLoggerApp(CStateInfo& state, CInstrumentConnection* connection,
                                   CMainFrame* frame)
    : m_state(state), m_connection(connection),
      m_frame(frame ? std::make_unique<FrameForDocument>(*frame) : nullptr) {}

COleKXQT7100* ProgramLoggerApp::GetInstrument() {
    return m_connection ? m_connection->GetInstrument() : nullptr;
}

FrameScanHost::FrameScanHost(CLoggerDoc& doc, CAppPreferences* preferences, CMainFrame* frame,
                             IDocumentOperations& operations, CInstrumentConnection* connection)
    : CDocumentScanHost(doc, preferences), m_frame(frame), m_operations(operations),
      m_connection(connection) {}

IScanHost::SaveAnswer FrameScanHost::ShowSaveScanData(CStateInfo& state, std::int32_t exportFlag) {
    tvane::OdbcDatabase* database = state.GetDatabase();
    SaveScanDataModel model(SaveScanDataModel::DatabaseLookup(database), tvane::Prompter());
    model.m_setupName = state.m_setupName;
    model.m_storedName = state.m_datasetName;
    model.m_exportName = m_doc.GetExportRequest().m_fileName;
    model.m_exportAfterScan = exportFlag != 0;
    CLoggerDoc& doc = m_doc;
    CSaveScanDataDialog dialog(
        model, m_propertiesDialog,
        SaveScanDataModel::DatabaseRowReader(
            database, [&doc](std::int64_t time) { return doc.FormatTime(tvane::CTime(time)); }),
        [&doc] {
            doc.OnExportData();
            return doc.GetExportRequest().m_fileName;
        },
        m_frame);
    SaveAnswer answer;
    answer.ok = dialog.exec() == QDialog::Accepted;
    answer.applyNames = answer.ok && model.m_modified;
    answer.exportChoice = exportFlag;
    m_saveState = answer.ok ? &state : nullptr;
    m_saveNames = {model.m_name, model.m_user, model.m_note};
    return answer;
}

void FrameScanHost::ApplySaveNames() {
    if (m_saveState == nullptr || m_workspace == nullptr)
        return;
    CStateInfo& state = *m_saveState;
    m_saveState = nullptr;
    // A row that could not be updated keeps the run under its old name.
    if (m_workspace->Workspace().UpdateDatasetRecord(state.m_setupName, state.m_datasetName,
                                                     m_saveNames))
        state.m_datasetName = m_saveNames.name;
}

bool FrameScanHost::ShowScanStatus(bool setupInInstrument, bool& dontShowAgain) {
    dontShowAgain = false;
    if (m_doc.GetScan() == nullptr)
        return false;
    std::string interfaceName;
    if (m_connection)
        m_connection->GetInterfaceDescription(interfaceName);
    CScanStatusDialog dialog(*m_doc.GetScan(), interfaceName, setupInInstrument, m_frame);
    CLoggerDoc& doc = m_doc;
    dialog.SetSettingsCommand([&doc] { doc.DoScanSettings(); });
    const bool start = dialog.exec() == QDialog::Accepted;
    dontShowAgain = start && dialog.ShowAgain() == 0;
    return start;
}

FrameScanHost::~FrameScanHost() = default;

bool FrameScanHost::SaveBeforeRun(CStateInfo& state) {
    if (m_doc.IsModified() && !m_doc.OnFileSave())
        return false;
    // The save may have named the setup: the run goes on with those names.
    m_doc.GetApp().CopyStateInfo(state);
    // The run's datasets are kept with the setup in the workspace, so its file
    // holds the channels they were measured with even when the user left the
    // setup unsaved.
    if (m_doc.IsNeverSaved() != 0 && !state.m_setupFile.empty())
        return m_doc.OnSaveDocument(state.m_setupFile);
    return true;
}

bool FrameScanHost::SaveDatasetIfAny(CStateInfo& state) {
    const bool any = m_doc.GetDataset() &&
                     (m_doc.GetDataset()->GetReadingCount() > 0 || m_doc.GetEventCount() > 0);
    return !any || m_operations.SaveDataset(m_doc, state);
}

void FrameScanHost::EnableSetupView(bool enable) {
    if (m_frame)
        if (QWidget* page = m_frame->Pages()->widget(0))
            page->setEnabled(enable);
}

void FrameScanHost::RefreshToolBars() {
    if (m_frame)
        m_frame->UpdateToolbars();
}

void FrameScanHost::ActivateGraphView() {
    if (m_frame)
        m_frame->ShowGraphView();
}

void FrameScanHost::RefreshTitle() {
    if (!m_frame)
        return;
    CStateInfo& state = m_doc.GetApp().GetStateInfo();
    QString title = "Tallyvane";
    if (!state.m_setupName.empty())
        title += " - " + QString::fromStdString(state.m_setupName);
    if (m_doc.IsScanning())
        title += " [Scanning]";
    m_frame->setWindowTitle(title);
}

void FrameScanHost::ShowProgress(const std::string& title) {
    m_progress = std::make_unique<CProgressDialog>();
    m_progress->setWindowTitle(QString::fromStdString(title));
    m_progress->Create(m_frame);
    m_progress->SetRange(0, 100);
}

bool FrameScanHost::IsProgressCancelled() {
    return m_progress && m_progress->CheckCancel();
}

void FrameScanHost::SetProgress(int position, const std::string& text) {
    if (!m_progress)
        return;
    m_progress->SetStatusText(text);
    m_progress->SetPos(position);
}

void FrameScanHost::CloseProgress() {
    if (m_progress)
        m_progress->DestroyWindow();
    m_progress.reset();
}

void FrameDocumentAdapter::LogEvent(const std::string& text) {
    CDatasetEvent event(0, 0, m_doc.GetElapsedRunTime(), text);
    m_doc.AddEvent(event);
}

void FrameDocumentAdapter::EndRun() {
    if (m_doc.IsScanning()) {
        m_doc.GetScanEngine().SetTerminationCode(CScanEngine::kTerminationCompleted);
        m_doc.EndScan(false);
    }
}

bool FrameDocumentAdapter::SaveModified() {
    if (!m_doc.IsSetupLoaded())
        return true;
    // An edit still being typed is part of the setup; one that is not valid
    // keeps the window open so it is not lost.
    if (!m_doc.FinishCellEdit())
        return false;
    // The same question File New, Open and Close ask: the setup's change
    // flags say whether there is anything to save.
    switch (FileCommands::SaveModifiedSetup(m_doc, m_app.GetStateInfo())) {
    case FileCommands::kCancelled:
        return false;
    case FileCommands::kDiscard:
        // A setup that was never saved and is not kept goes with the document.
        m_app.SetSetupDiscard(true);
        return true;
    default:
        return true;
    }
}

DocumentWiring::DocumentWiring(CStateInfo& state, CInstrumentConnection* connection,
                               CMainFrame* frame, CAppPreferences* preferences)
    : m_app(state, connection, frame), m_frame(frame) {
    m_conflictDialog = std::make_unique<QtSaveSetupAsDialog>(
        SaveSetupAsModel::DatabaseLookup(state.GetDatabase()), frame);
    m_propertiesDialog = std::make_unique<QtSaveSetupDialog>(
        SaveSetupModel::DatabaseLookups(state.GetDatabase()), frame);
    m_doc = std::make_unique<CLoggerDoc>(m_app);
    m_eventDialog = std::make_unique<EventEditDialogRunner>();
    m_exportDialog = std::make_unique<QtExportDataDialog>(frame);
    m_browserFactory = std::make_unique<QtDataBrowserFactory>(frame);
    m_operations =
        std::make_unique<ProgramDocumentOperations>(*m_doc, *m_propertiesDialog, *m_conflictDialog);
    if (COleKXQT7100* binding = m_app.GetInstrument()) {
        m_instrument = std::make_unique<CDocumentInstrumentBinding>(*binding);
        m_scanInstrument = std::make_unique<CScanInstrumentBinding>(*binding);
    }
    m_scanHost =
        std::make_unique<FrameScanHost>(*m_doc, preferences, frame, *m_operations, connection);
    m_scanHost->SetSaveScanDataDialogs(&m_operations->Workspace(), m_propertiesDialog.get());
    m_instrumentUi = std::make_unique<FrameInstrumentUi>(frame);
    m_uploadDialog = std::make_unique<QtUploadDialog>(frame);
    DocumentWorkspace& workspace = m_operations->Workspace();
    m_setupFromInstrument = std::make_unique<SetupFromInstrument>(
        *m_doc, *m_uploadDialog, m_operations->PendingUpload(),
        [&workspace] { return workspace.Workspace().MakeDefaultSetupName(); });
    FrameScanHost* host = m_scanHost.get();
    SetupFromInstrument* upload = m_setupFromInstrument.get();
    const auto newSetupFromUpload = [upload, host] {
        if (upload->Run())
            host->RefreshTitle();
    };
    m_instrumentUi->SetNewSetupHandler([newSetupFromUpload](CLoggerDoc&) { newSetupFromUpload(); });
    // The setup editor's sheets: the grid's operations run the channel sheet,
    // and the sheets ask the grid whether a row may take a function.
    m_sheets = std::make_unique<SetupSheets>(*m_doc, state.GetDatabase(), frame);
    m_app.SetSetupEditor(&m_sheets->Editor());
    m_sheets->Source().SetGridOperations(&m_doc->GetSetupGridOperations());
    m_doc->GetSetupGridOperations().SetChannelDetailsSheet(&m_sheets->ChannelSheet());
    DocumentServices services;
    services.scanHost = m_scanHost.get();
    services.scanInstrument = m_scanInstrument.get();
    services.instrument = m_instrument.get();
    services.instrumentUi = m_instrumentUi.get();
    services.clipboard = &g_exportClipboard;
    services.exportDialog = m_exportDialog.get();
    services.diskSpaceCheck = &g_exportSpaceCheck;
    services.eventEditDialog = m_eventDialog.get();
    services.operations = m_operations.get();
    services.dataBrowser = m_browserFactory.get();
    m_doc->SetServices(services);
    m_adapter = std::make_unique<FrameDocumentAdapter>(*m_doc, m_app);
    if (frame) {
        frame->SetDocument(m_adapter.get());
        CLoggerDoc* doc = m_doc.get();
        frame->SetCommandHandler(cmd::kStartScan, [doc] { doc->OnStartScan(); });
        frame->SetCommandEnabler(cmd::kStartScan, [doc] { return doc->IsStartScanEnabled(); });
        frame->SetCommandHandler(cmd::kStopScan, [doc] { doc->OnStopScan(); });
        frame->SetCommandEnabler(cmd::kStopScan, [doc] { return doc->IsScanning() != 0; });
        frame->SetCommandHandler(cmd::kInstrumentSettings, [doc] { doc->OnInstrumentSettings(); });
        frame->SetCommandEnabler(cmd::kInstrumentSettings,
                                 [doc] { return doc->IsInstrumentSettingsEnabled(); });
        frame->SetCommandHandler(cmd::kDownloadSetup, [doc] { doc->OnDownloadSetup(); });
        frame->SetCommandEnabler(cmd::kDownloadSetup, [doc] { return doc->IsDownloadEnabled(); });
        frame->SetCommandHandler(cmd::kUploadSetup, newSetupFromUpload);
        frame->SetCommandEnabler(cmd::kUploadSetup, [upload] { return upload->IsEnabled(); });
        for (unsigned id : {cmd::kFileSave, cmd::kFileSaveAs}) {
            // The document's own command numbers are the frame's.
            frame->SetCommandHandler(id, [doc, id, host] {
                doc->OnCmdMsg(id);
                host->RefreshTitle();
            });
            frame->SetCommandEnabler(id, [doc, id] { return doc->IsCommandEnabled(id); });
        }
        frame->SetCommandHandler(cmd::kScanSettings, [doc] { doc->DoScanSettings(); });
        frame->SetCommandEnabler(cmd::kScanSettings,
                                 [doc] { return doc->IsCommandEnabled(cmd::kScanSettings); });
        SetupSheets* sheets = m_sheets.get();
        frame->SetCommandHandler(cmd::kMonitorChannel, [sheets] { sheets->EditMonitorChannel(); });
        frame->SetCommandHandler(cmd::kAddEvent, [doc] { doc->AddUserEvent(); });
        frame->SetCommandHandler(cmd::kExportData, [doc] { doc->OnExportData(); });
        frame->SetCommandEnabler(cmd::kExportData, [doc] { return doc->IsExportDataEnabled(); });
        frame->SetCommandHandler(cmd::kDataBrowser, [doc] { doc->OnDataBrowser(); });
        frame->SetCommandEnabler(cmd::kDataBrowser, [doc] { return doc->IsDataBrowserEnabled(); });
        frame->SetCommandChecker(cmd::kDataBrowser, [doc] { return doc->IsDataBrowserOpen(); });
        m_setupPage = std::make_unique<SetupViewPage>(*doc, *frame);
        m_setupPage->SetSheets(&m_sheets->Editor());
        m_setupPage->SetOptionsSheet(&m_sheets->OptionsSheet());
        m_app.SetSetupEditor(m_setupPage.get());
        // The event log is made at start-up; its table shows this document.
        if (!frame->EventLog())
            frame->CreateEventLog(false);
        if (CEventFrame* log = frame->EventFrame())
            log->SetDocument(doc);
        m_graphics = std::make_unique<GraphicsWiring>(*frame, *doc);
        SetupViewPage* setupPage = m_setupPage.get();
        GraphicsWiring* graphics = m_graphics.get();
        m_setupPage->SetOtherPageEdit(
            [graphics](unsigned id) {
                CGraphViewWnd* page = graphics->CurrentPage();
                return page != nullptr && page->IsCommandEnabled(id);
            },
            [graphics](unsigned id) {
                if (CGraphViewWnd* page = graphics->CurrentPage())
                    page->RunCommand(id);
            });
        m_graphics->SetOtherPagePrint(
            [setupPage] { setupPage->View().Print(); },
            [setupPage] { setupPage->View().PrintPreview(); },
            [doc] { return tvane::PrintSetupModel::IsPrintEnabled(true, doc->IsScanning() != 0); });
        m_newSetupPages = std::make_unique<FrameNewSetupPages>(*frame);
        m_setupFromInstrument->SetPages(m_newSetupPages.get());
        if (FrameForDocument* layout = m_app.Frame()) {
            layout->SetPagesLayout([graphics](tvane::CArchive& ar, std::uint32_t count) {
                graphics->SerializePages(ar, count);
            });
        }
    }
}

DocumentWiring::~DocumentWiring() {
    if (FrameForDocument* layout = m_app.Frame())
        layout->SetPagesLayout({});
    if (m_setupFromInstrument)
        m_setupFromInstrument->SetPages(nullptr);
    if (m_setupPage)
        m_setupPage->SetOtherPageEdit({}, {});
    m_graphics.reset();
    if (m_frame) {
        m_frame->SetDocument(nullptr);
        for (unsigned id :
             {cmd::kStartScan, cmd::kStopScan, cmd::kInstrumentSettings, cmd::kDownloadSetup,
              cmd::kUploadSetup, cmd::kFileSave, cmd::kFileSaveAs}) {
            m_frame->SetCommandHandler(id, {});
            m_frame->SetCommandEnabler(id, {});
        }
        m_frame->SetCommandHandler(cmd::kAddEvent, {});
        m_frame->SetCommandHandler(cmd::kScanSettings, {});
        m_frame->SetCommandEnabler(cmd::kScanSettings, {});
        m_frame->SetCommandHandler(cmd::kMonitorChannel, {});
        m_frame->SetCommandHandler(cmd::kExportData, {});
        m_frame->SetCommandEnabler(cmd::kExportData, {});
        m_frame->SetCommandHandler(cmd::kDataBrowser, {});
        m_frame->SetCommandEnabler(cmd::kDataBrowser, {});
        m_frame->SetCommandChecker(cmd::kDataBrowser, {});
        if (CEventFrame* log = m_frame->EventFrame())
            log->SetDocument(nullptr);
    }
    m_app.SetSetupEditor(nullptr);
    m_setupPage.reset();
    m_doc->GetSetupGridOperations().SetChannelDetailsSheet(nullptr);
    m_instrumentUi->SetNewSetupHandler({});
    m_doc->CloseDataBrowser();
    m_doc->SetServices({});
    m_doc.reset();
}
