#pragma once
#include <functional>
#include <memory>
#include <string>

#include "app/CDocumentInstrumentBinding.h"
#include "app/CDocumentScanHost.h"
#include "app/CLoggerDoc.h"
#include "app/CScanInstrumentBinding.h"
#include "app/DocumentWorkspace.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "app/INewSetupPages.h"
#include "app/ISaveDialogs.h"
#include "app/LastScanChannel.h"
#include "app/SetupFromInstrument.h"
#include "app/frame/IFrameDocument.h"

class CMainFrame;
class EventEditDialogRunner;
class IExportDataDialog;
class CProgressDialog;
class QtDataBrowserFactory;
class CInstrumentConnection;
class FrameInstrumentUi;
class SetupSheets;
class GraphicsWiring;
class SetupViewPage;

// The main frame as the document reaches it: the frame's timer service, its
// status panes, and the page titles stored after the setup.
class FrameForDocument final : public IDocumentFrame {
public:
    explicit FrameForDocument(CMainFrame& frame) : m_frame(frame) {}
    tvane::ITimerService& Timers() override;
    void SetPaneText(int pane, const std::string& text) override;
    void SerializeLayout(tvane::CArchive& ar, CLoggerDoc& document) override;
    void ShowEventLog() override;
    // The graphics pages' own parts, after the page list (count: the pages it lists).
    void SetPagesLayout(std::function<void(tvane::CArchive&, std::uint32_t)> pages) {
        m_pages = std::move(pages);
    }

private:
    CMainFrame& m_frame;
    std::function<void(tvane::CArchive&, std::uint32_t)> m_pages;
};

// The application the document sees: the start-up's state record, the
// connection's binding and the main frame.
class ProgramLoggerApp final : public ILoggerApp {
public:
    ProgramLoggerApp(CStateInfo& state, CInstrumentConnection* connection, CMainFrame* frame);
    CStateInfo& GetStateInfo() override { return m_state; }
    COleKXQT7100* GetInstrument() override;
    bool IsSetupDiscard() const override { return m_discard; }
    IDocumentFrame* GetMainFrame() override { return m_frame.get(); }
    FrameForDocument* Frame() const { return m_frame.get(); }
    ISetupEditor* GetSetupEditor() override { return m_editor; }
    void SetSetupDiscard(bool discard) { m_discard = discard; }
    void SetSetupEditor(ISetupEditor* editor) { m_editor = editor; }

private:
    CStateInfo& m_state;
    CInstrumentConnection* m_connection;
    std::unique_ptr<FrameForDocument> m_frame;
    ISetupEditor* m_editor = nullptr;
    bool m_discard = false;
};

// The document's operations: the database steps in the workspace, the run's
// start and end in the document's scan engine. Steps whose windows the program
// does not have yet (the data browser, building a setup from the instrument)
// report failure or do nothing.
class ProgramDocumentOperations final : public IDocumentOperations {
public:
    ProgramDocumentOperations(CLoggerDoc& doc, ISaveSetupDialog& propertiesDialog,
                              ISaveSetupAsDialog& conflictDialog)
        : m_workspace(doc, propertiesDialog, conflictDialog) {}

    bool CreateSetupStorage(CLoggerDoc&, CStateInfo& state) override {
        return m_workspace.CreateSetupStorage(state);
    }
    bool LoadModuleChannels(CLoggerDoc&, CStateInfo& state) override {
        return m_workspace.LoadModuleChannels(state);
    }
    bool SaveDataset(CLoggerDoc&, CStateInfo& state) override {
        return m_workspace.SaveDataset(state);
    }
    bool LoadDatasetFile(CLoggerDoc&, CStateInfo& state) override {
        return m_workspace.LoadDatasetFile(state);
    }
    std::int32_t GetLastScanMaxChannel(CLoggerDoc& doc) override {
        return LastScanMaxChannel(doc.GetDataset(), doc.GetSetup());
    }
    bool DeleteSetup(CLoggerDoc&, const std::string& name) override {
        return m_workspace.DeleteSetup(name);
    }
    bool DeleteDataset(CLoggerDoc&, CStateInfo& state) override {
        return m_workspace.DeleteDataset(state);
    }
    bool SaveSetupAs(CLoggerDoc&, CStateInfo& state, int mode) override {
        return m_workspace.SaveSetupAs(state, mode);
    }
    // The rows of a new setup from the instrument, with the Upload dialog's choices.
    bool UploadSetup(CLoggerDoc& doc, CStateInfo&) override {
        return doc.UploadSetup(m_upload.includeData, m_upload.keepScanning);
    }
    void StartScan(CLoggerDoc& doc) override { doc.OnStartScan(); }
    void EndScan(CLoggerDoc& doc) override { doc.EndScan(false); }
    void ShowWaitingStatus(CLoggerDoc& doc) override { doc.ShowWaitingStatus(); }

    DocumentWorkspace& Workspace() { return m_workspace; }
    UploadChoices& PendingUpload() { return m_upload; }

private:
    DocumentWorkspace m_workspace;
    UploadChoices m_upload;
};

// The run's windows over the main frame: the status bar, the title, the
// progress dialog; questions go through the prompter.
class FrameScanHost final : public CDocumentScanHost {
public:
    FrameScanHost(CLoggerDoc& doc, CAppPreferences* preferences, CMainFrame* frame,
                  IDocumentOperations& operations, CInstrumentConnection* connection = nullptr);
    ~FrameScanHost() override;

    void GoToLocal() override {}
    bool SaveBeforeRun(CStateInfo& state) override;
    bool SaveDatasetIfAny(CStateInfo& state) override;
    void CreateDataBrowser() override { m_doc.CreateDataBrowser(); }
    // The Save Scan Data window, modal over the frame.
    SaveAnswer ShowSaveScanData(CStateInfo& state, std::int32_t exportFlag) override;
    bool OpenSavedDataset(CStateInfo&) override { return true; }
    void CloseDataset() override {}
    // The name, user and note of the Save Scan Data window into the run's Dataset row.
    void ApplySaveNames() override;
    void ExportReadings() override { m_doc.ExportReadingsAfterScan(); }
    // The Start Scanning - Scan Status window, modal over the frame.
    bool ShowScanStatus(bool setupInInstrument, bool& dontShowAgain) override;
    // The setup grid takes no edits while a run measures its setup.
    void EnableSetupView(bool enable) override;
    void RefreshToolBars() override;
    void ActivateGraphView() override;
    void RefreshTitle() override;
    void ShowProgress(const std::string& title) override;
    bool IsProgressCancelled() override;
    void SetProgress(int position, const std::string& text) override;
    void CloseProgress() override;
    void SetSaveScanDataDialogs(DocumentWorkspace* workspace, ISaveSetupDialog* properties) {
        m_workspace = workspace;
        m_propertiesDialog = properties;
    }

private:
    CMainFrame* m_frame;
    IDocumentOperations& m_operations;
    DocumentWorkspace* m_workspace = nullptr;
    ISaveSetupDialog* m_propertiesDialog = nullptr;
    // The answer of the last Save Scan Data window, for ApplySaveNames.
    CStateInfo* m_saveState = nullptr;
    RowProperties m_saveNames;
    CInstrumentConnection* m_connection;
    std::unique_ptr<CProgressDialog> m_progress;
};

// The document as the main frame drives it.
class FrameDocumentAdapter final : public IFrameDocument {
public:
    FrameDocumentAdapter(CLoggerDoc& doc, ProgramLoggerApp& app) : m_doc(doc), m_app(app) {}
    void OnScanTimer() override { m_doc.OnScanTimer(); }
    void OnStartTimer() override { m_doc.OnStartCountdownTimer(); }
    void OnMonitorTimer() override { m_doc.OnMonitorTimer(); }
    void StopTimers() override { m_doc.StopTimers(); }
    void RestartTimers() override { m_doc.RestartTimers(); }
    bool IsSetupLoaded() const override { return m_doc.IsSetupLoaded() != 0; }
    bool IsScanning() const override { return m_doc.IsScanning() != 0; }
    void LogEvent(const std::string& text) override;
    void EndRun() override;
    bool SaveModified() override;
    void SetModifiedFlag(bool modified) override { m_doc.SetModifiedFlag(modified); }

private:
    CLoggerDoc& m_doc;
    ProgramLoggerApp& m_app;
};

// Everything the program builds around its one document, in the order it is
// taken down: the document first stops using the rest.
class DocumentWiring {
public:
    // The preferences (owned by the application) decide whether the Scan Status
    // window is shown before a run; without them it always is.
    DocumentWiring(CStateInfo& state, CInstrumentConnection* connection, CMainFrame* frame,
                   CAppPreferences* preferences = nullptr);
    ~DocumentWiring();
    CLoggerDoc& Document() { return *m_doc; }
    ProgramDocumentOperations& Operations() { return *m_operations; }
    ProgramLoggerApp& App() { return m_app; }
    // The setup editor's sheets over this document.
    SetupSheets& Sheets() { return *m_sheets; }
    // The Data Browser windows over the main window.
    QtDataBrowserFactory& DataBrowsers() { return *m_browserFactory; }
    GraphicsWiring* Graphics() const { return m_graphics.get(); }
    // The setup grid page of the main window; null without a frame.
    SetupViewPage* SetupPage() { return m_setupPage.get(); }

private:
    ProgramLoggerApp m_app;
    CMainFrame* m_frame;
    std::unique_ptr<ISaveSetupDialog> m_propertiesDialog;
    std::unique_ptr<ISaveSetupAsDialog> m_conflictDialog;
    std::unique_ptr<EventEditDialogRunner> m_eventDialog;
    std::unique_ptr<IExportDataDialog> m_exportDialog;
    std::unique_ptr<QtDataBrowserFactory> m_browserFactory;
    std::unique_ptr<CLoggerDoc> m_doc;
    std::unique_ptr<ProgramDocumentOperations> m_operations;
    std::unique_ptr<CDocumentInstrumentBinding> m_instrument;
    std::unique_ptr<CScanInstrumentBinding> m_scanInstrument;
    std::unique_ptr<FrameScanHost> m_scanHost;
    std::unique_ptr<FrameDocumentAdapter> m_adapter;
    std::unique_ptr<FrameInstrumentUi> m_instrumentUi;
    std::unique_ptr<IUploadDialog> m_uploadDialog;
    std::unique_ptr<SetupFromInstrument> m_setupFromInstrument;
    std::unique_ptr<INewSetupPages> m_newSetupPages;
    std::unique_ptr<SetupSheets> m_sheets;
    std::unique_ptr<GraphicsWiring> m_graphics;
    std::unique_ptr<SetupViewPage> m_setupPage;
};
