#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CDateTimeEdit.h"
#include "app/CFXUndo.h"
#include "app/CIntervalTimer.h"
#include "app/CScanEngine.h"
#include "app/CTextExport.h"
#include "app/CWndTimer.h"
#include "app/DocumentServices.h"
#include "app/IDataBrowser.h"
#include "platform/archive/CTime.h"
#include "scan/CReadingInfo.h"
#include "scan/CReadingQuery.h"
#include "scan/records/ReadingRecord.h"
#include "shared/DocumentHints.h"
#include "shared/IView.h"

struct CStateInfo;
class CChannelArray;
class CChannelInfo;
class CChannelMath;
class CCompChnlArray;
class CDataset;
class CDatasetEvent;
class CDatasetStore;
class CFXScan;
class CFXSetup;
class CFXSetupArray;
class COleKXQT7100;
class SetupGridOperations;
class ILoggerApp;
class IDocumentOperations;
class IScanHost;
class IScanInstrument;
class IDocumentInstrument;
class IEventEditDialog;
class IInstrumentUi;
class IClipboard;
class IExportDataDialog;
class IDiskSpaceCheck;

namespace tvane {
class CArchive;
class OdbcDatabase;
} // namespace tvane

// The program's single document: one scan setup (the channel rows of the three
// module slots, the computed channels and the scan settings) with everything a
// run of it needs (timers, the reading buffer the driver fills, the reading
// store, the current dataset, the event record, the time formats). Views observe
// it. It lives as long as the program; New and Open reuse it.
//
// The instrument work (connection, download, upload, monitor, display actions,
// the scan engine) adds further member functions in files of its own; the
// members below are what it works on.
class CLoggerDoc : public IUndoDocument {
public:
    // A measurement function's defaults: range limits and advanced settings.
    struct FunctionDefaults {
        double minRange = 0.0;
        double maxRange = 0.0;
        std::uint32_t advSettingsType = 0;
        std::string defaultAdvSettings;
    };

    static constexpr std::int16_t kReadingBufferCapacity = CScanEngine::kReadingBufferCapacity;
    // The run ended because its dataset could take no more readings.
    static constexpr std::int16_t kTerminationDatasetFull = CScanEngine::kTerminationDatasetFull;
    static constexpr unsigned kScanTimerId = CScanEngine::kScanTimerId;
    static constexpr unsigned kStartTimerId = CScanEngine::kStartTimerId;
    static constexpr unsigned kMonitorTimerId = 3314;
    // Version 3 adds the setup view's part after the scan settings.
    static constexpr std::uint32_t kFileVersion = 3;
    // Time bounds that mean "none": before and after the run.
    static constexpr double kBeforeScan = -1.0;
    static constexpr double kAfterScan = -1e12;
    // Reading times (milliseconds from the run's start) from this on are beyond
    // any run: about 30000 years.
    static constexpr double kLatestReadingTime = 1e15;

    // The function table is loaded from the application's database when one is
    // open. Throws std::bad_alloc when an owned object cannot be set up.
    explicit CLoggerDoc(ILoggerApp& app);
    ~CLoggerDoc() override;
    CLoggerDoc(const CLoggerDoc&) = delete;
    CLoggerDoc& operator=(const CLoggerDoc&) = delete;

    // --- Views ----------------------------------------------------------------
    void AddView(IView* view);
    void RemoveView(IView* view);
    // Tells every view but the sender.
    void UpdateAllViews(IView* sender, long hint = 0, const HintObject& object = {});
    IView* GetSetupView() const;
    void RefreshAllViews();

    // --- Document shell -------------------------------------------------------
    void SetPathName(const std::string& path) { m_pathName = path; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    // --- Commands -------------------------------------------------------------
    enum Command : unsigned {
        kCommandFileSave = 57603,
        kCommandFileSaveAs = 57604,
        kCommandScanSettings = 32824,
    };
    // Runs a command of the document; false when it is not one of its own.
    bool OnCmdMsg(unsigned command);
    // Whether a command of the document is enabled now.
    bool IsCommandEnabled(unsigned command) const;
    // Save and Save As: finish the edit of the grid's current cell first.
    bool OnFileSave();
    bool OnFileSaveAs();
    // The value being typed into the grid's current cell is validated and
    // stored into the setup; false (after the editor said why) when it is not
    // valid and stays in its cell. Every command that saves, replaces or
    // starts measuring the setup runs this first.
    bool FinishCellEdit();

    // --- Lifecycle ------------------------------------------------------------
    bool OnNewDocument();
    // Reads the file; a file that cannot be read completely reports failure
    // and leaves the document as it was.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // Save Setup As, with the mode chosen from the document's state; an empty
    // path means Save As.
    bool DoSave(const std::string& path);
    bool DoFileSave() { return DoSave(m_pathName); }
    void DeleteContents();
    void ResetDocument();
    // mode 1: upload the setup from the instrument; takeOver then continues the
    // run the instrument is doing.
    bool CreateNewSetup(CStateInfo& state, int mode, bool takeOver);

    // The document file: a compound file whose stream "Contents" holds the
    // archive. Saving writes a new file beside the old one and renames it over.
    void ReadDocumentFile(const std::string& path);
    void WriteDocumentFile(const std::string& path);
    void Serialize(tvane::CArchive& ar);

    // --- Timers ---------------------------------------------------------------
    void RestartTimers() { m_engine->RestartTimers(); }
    void StopTimers() { m_engine->StopTimers(); }

    // --- Lookups --------------------------------------------------------------
    CFXSetup* FindSetupRow(std::int32_t channel) const;
    CFXSetup* GetSetupRow(std::int32_t index) const;
    std::int32_t GetGridRow(std::int32_t channel) const;
    std::string MakeExportFileName(const std::string& extension);
    void DoScanSettings() { OnScanSettings(); }
    // Status panes 1 to 3: the module texts of the state record's three slots.
    void ShowModuleTexts(const CStateInfo& state);

    // --- Time texts -----------------------------------------------------------
    std::string FormatNow();
    std::string FormatTime(tvane::CTime time);
    std::string FormatTimeMs(tvane::CTime time, int milliseconds);
    // A reading time in ms from the run start as date, time and milliseconds.
    std::string FormatReadingTime(double time);
    const std::string& GetDateTimeFormat() const { return m_formatDateTime; }
    const std::string& GetDateTimeMsFormat() const { return m_formatDateTimeMs; }
    const std::string& GetDateFormat() const { return m_formatDate; }
    const std::string& GetTimeFormat() const { return m_formatTime; }
    const std::string& GetTimeMsFormat() const { return m_formatTimeMs; }

    // --- Setup operations for the setup editor -------------------------------
    std::int32_t GetMonitorChannel() const { return static_cast<std::int32_t>(m_monitorChannel); }
    void OnScanSettings();
    int CountActiveChannels(bool includeComputed) const;
    void FillChannelInfo(const CFXSetup& row, CChannelInfo* info, std::uint32_t kind) const;
    bool FillChannelInfoArray(CChannelArray* out, std::uint32_t kindMask, bool activeOnly) const;
    void BroadcastChannelEdit(std::int32_t count, std::int32_t first);
    // Tells the views what the setup editor changed since the last call: the
    // edited rows one by one, or, when a change flag is set, the whole setup.
    void NotifySetupChanged();
    // From the VTFunction table; the first row of a name wins.
    void LoadFunctionTable(tvane::OdbcDatabase* database);
    // The channel total of the modules in the state record's three slots.
    std::int32_t LoadModuleCards(const CStateInfo& state);
    void FormatResolution(CFXSetup& row) override;
    bool GetResolutionFormat(const CFXSetup& row) const;
    // The setup grid's operations on the rows (cells, lists, copy, paste,
    // undo, defaults, pairing, computed channels), a part of the document.
    SetupGridOperations& GetSetupGridOperations() const { return *m_setupGridOperations; }
    // What the setup editor changed since the last NotifySetupChanged: the
    // setup indices of edited rows; the setup's shape changed (a channel's
    // module, function or scan flag); a four-wire pair was made or undone.
    // Either flag makes the views redraw the setup whole.
    std::vector<std::uint32_t>& GetEditedRows() { return m_editedRows; }
    void SetStructureChanged() { m_structureChanged = true; }
    void SetPairingChanged() { m_pairingChanged = true; }
    // The file's header word says that the setup was given computed channels.
    void SetComputedChannelsPresent() { m_headerWord = 1; }

    // --- Channel utilities ----------------------------------------------------
    void CountActiveChannelsPerSlot();
    bool IsSlotActive(const CFXSetup& row) const;
    std::uint32_t GetModuleKind(const CFXSetup& row) const;
    void RaiseFrameCounter(std::uint32_t value);
    void AddViewFlags(std::uint32_t bits) { m_viewFlags |= bits; }

    // --- Reading store --------------------------------------------------------
    void DeleteReadingLists() { m_engine->DeleteReadingLists(); }
    void DeleteLatestReadings() { m_engine->DeleteLatestReadings(); }

    // --- Accessors ------------------------------------------------------------
    ILoggerApp& GetApp() const { return m_app; }
    // The services from outside, handed in once by the program or a test.
    void SetServices(const DocumentServices& services) { m_services = services; }
    const DocumentServices& GetServices() const { return m_services; }
    IDocumentOperations* GetOperations() const { return m_services.operations; }
    bool IsNeverSaved() const { return m_neverSaved; }
    void SetNeverSaved(bool value) { m_neverSaved = value; }
    bool IsScanning() const { return m_engine->IsScanning(); }
    bool IsSetupLoaded() const { return m_setupLoaded; }
    void SetSetupLoaded(bool value) { m_setupLoaded = value; }
    bool IsSetupInInstrument() const { return m_setupInInstrument; }
    void SetSetupInInstrument(bool value) { m_setupInInstrument = value; }
    // The document file's header value: the channel total of the setup's modules.
    std::uint32_t GetHeaderValue() const { return m_headerValue; }
    std::uint32_t GetMonitorInterval() const { return m_monitorInterval; }
    void SetMonitorInterval(std::uint32_t ms) { m_monitorInterval = ms; }
    // The run's start, as the scan engine keeps it: its time and the
    // instrument's tick then.
    tvane::CTime GetDocumentTime() const { return m_engine->GetDocumentTime(); }
    double GetStartTick() const { return m_engine->GetStartTick(); }
    // The event time bounds before and after a run.
    void SetEventTimeBounds(double first, double second) {
        m_firstTimeBound = first;
        m_secondTimeBound = second;
    }
    // A display's instrument action is being served.
    bool IsActionBusy() const { return m_actionBusy; }
    CFXSetupArray* GetSetup() const { return m_setup.get(); }
    CCompChnlArray* GetComputedChannels() const { return m_compChannels.get(); }
    CChannelMath* GetChannelMath() const { return m_channelMath.get(); }
    CFXScan* GetScan() const { return m_scan.get(); }
    CFXUndo* GetUndo() const { return m_undo.get(); }
    CDataset* GetDataset() const { return m_engine->GetDataset(); }
    CDatasetStore* GetDatasetStore() const { return m_datasetStore.get(); }
    ReadingRecord* GetReadingBuffer() const { return m_engine->GetReadingBuffer(); }
    CScanEngine& GetScanEngine() const { return *m_engine; }
    CStateInfo& GetStateInfo() const;
    void CloseDatasetStore();

    // --- The scan engine ------------------------------------------------------
    // The run's operations, kept here for the windows and commands that reach
    // them through the document.
    void OnStartScan() { m_engine->OnStartScan(); }
    // Start Scan: idle, with at least one active measured channel.
    bool IsStartScanEnabled() const { return !IsScanning() && CountActiveChannels(false) > 0; }
    void OnStartCountdownTimer() { m_engine->OnStartCountdownTimer(); }
    void OnScanTimer() { m_engine->OnScanTimer(); }
    void OnStopScan() { m_engine->OnStopScan(); }
    void EndScan(bool offerBrowser) { m_engine->EndScan(offerBrowser); }
    void ShowWaitingStatus() { m_engine->ShowWaitingStatus(); }
    void UpdateScanStatus(bool stateOnly) { m_engine->UpdateScanStatus(stateOnly); }
    std::int16_t GetChannelReadings(std::int32_t channel, std::vector<ReadingRecord*>& out) const {
        return m_engine->GetChannelReadings(channel, out);
    }

    // --- Stored readings and the Data Browser ---------------------------------
    static constexpr unsigned kCommandDataBrowser = 32853;
    // The Data Browser command: opens the browser, or closes the open one.
    void OnDataBrowser();
    // Enabled while not scanning with a current dataset that holds readings.
    bool IsDataBrowserEnabled() const;
    // Checked while a browser exists.
    bool IsDataBrowserOpen() const { return m_dataBrowser != nullptr; }
    // Shows the graphics page; makes a new browser when the current dataset
    // holds readings (an open one is closed first).
    void CreateDataBrowser();
    void CloseDataBrowser();
    // The browser's window closed by itself: the document forgets it.
    void DataBrowserClosed();
    // Resends the current data to one view alone (the others ignore the hints
    // meanwhile).
    void RefreshDataBrowser(IView* view);
    // Reloads at the browse position, or, while the shown data are not a stored
    // run's, at the newest reading; the browse scan, -1 when nothing loaded.
    long UpdateDataBrowserRange();
    // Moves the views to a time, clamped into the run; the browse scan, -1 when
    // the dataset has no readings or no scan there.
    long SetBrowseTime(double& time);
    // Reloads the readings and events of the window of scans that ends at
    // scanIndex; time -1.0 takes the window's last reading time. Returns the
    // time used.
    double BrowseToTime(std::int32_t& scanIndex, double time);
    // The stored readings of the current dataset at its browse scan, as a
    // setup opened with its dataset shows them.
    void LoadStoredReadings();
    // The shown data are a stored run's: set from the current dataset when a
    // run ends or a setup opens, cleared when a run starts.
    void UpdateHasReadings();
    bool HasReadings() const { return m_hasReadings; }
    void ClearHasReadings() { m_hasReadings = false; }
    // The highest channel among the first scan's records; without readings the
    // setup's last active channel.
    std::int16_t GetMaxChannelInFirstScan();
    // The current dataset's times for the browser (ms on the run's time axis).
    double GetRunStartTime() const;
    double GetRunEndTime() const;
    double GetMeanScanInterval() const;
    std::int32_t GetDatasetScanCount() const;
    double GetBrowsePosition() const;
    void SetBrowsePosition(double position);
    std::int32_t GetBrowseScan() const;
    // Stores 0 when the dataset holds no scan.
    void SetBrowseScan(std::int32_t scan);
    // A reading time as an absolute time and its milliseconds, and back,
    // clamped into the run.
    void GetReadingDateTime(double time, tvane::CTime& out, int& milliseconds) const;
    double ToReadingTime(tvane::CTime time, int milliseconds) const;

    // --- The event log --------------------------------------------------------
    std::int32_t GetEventCount() const;
    static std::string GetEventTypeText(std::uint32_t type);
    static void GetEventTypeFromText(const std::string& text, std::int32_t& type);
    bool GetEventCellText(std::int32_t index, int column, std::string& text);
    void AddEvent(CDatasetEvent& event);
    void LogEvent();
    bool IsEventLogFull() const;
    bool GetEvent(std::int32_t index, CDatasetEvent& event);
    bool SetEvent(std::int32_t index, const CDatasetEvent& event);
    bool DeleteEvent(std::int32_t index);
    // The Add Event command: a user's note at the run's current time.
    void AddUserEvent();
    // Shows the event log at the first event from the criteria's time on whose
    // type shares a bit with the criteria's and whose channel matches (-1: any).
    void ShowEventInLog(const CDatasetEvent& criteria);
    // False when the instrument's modules differ from the setup's or cannot be
    // read; a difference is logged and, when asked, shown.
    bool CheckInstrumentConfig(bool showMessage);
    // The current dataset's run time value (its first tick); 0 without one.
    double GetRunTimeOffset() const;
    // Process-wide: the full log was reported and is not reported again until
    // it stops being full.
    static bool s_eventLogFullReported;

    // --- Text export -----------------------------------------------------------
    static constexpr unsigned kCommandExportData = 32893;
    CTextExport& GetExport() const { return *m_export; }
    // Export Data and its enable rule, and the export at the end of a run.
    void OnExportData() { m_export->OnExportData(); }
    bool IsExportDataEnabled() const { return m_export->IsExportDataEnabled(); }
    bool ExportReadingsAfterScan() { return m_export->ExportReadingsAfterScan(); }
    CReadingQuery& GetExportRequest() const { return m_export->GetRequest(); }
    // Display preferences 0..6 redraw the views.
    void OnPreferenceChanged(int index);

    // --- Instrument outside the scan loop ------------------------------------
    // Without the services' instrument every instrument operation does nothing
    // and reports failure.
    IDocumentInstrument* GetInstrumentLink() const { return m_services.instrument; }

    // Errors, alarms and the offline guard.
    bool IsInstrumentOffline();
    void LogInstrumentError();
    // After the poll's GetReadings failed. True when the instrument answered with a
    // block that was not good: logged as LogInstrumentError does. False when nothing
    // came from it (a time-out, a lost link): then only the driver's error is
    // logged, and only when report is set, since asking the instrument for its
    // errors would only wait for it again.
    bool LogReadingsFailure(bool report);
    void ReadAlarmQueue();
    std::string GetCardInfoInSlot(std::int16_t slot, bool& ok);
    bool GetReadingsCount(std::int32_t& count);
    // The time stamp of an event: milliseconds since the run began. Outside a
    // run each call gives the next lower time below kBeforeScan (no readings
    // yet) or kAfterScan (after a run), so such events keep their order.
    double GetElapsedRunTime();

    // Download.
    void OnDownloadSetup();
    bool IsDownloadEnabled() const { return !IsScanning(); }
    bool CheckInstrumentConditions(bool& cancelled, bool& uploadChosen);
    bool DownloadSetup();
    bool DownloadOutputValue(CFXSetup& row, int functionCode);
    void GetOutputValue(CFXSetup& row, double& value, std::uint32_t kind);
    bool ConfigureScan();
    bool IsScanListCurrent();
    bool ValidateInstrumentForRun(bool forceDownload, bool checkConditions);
    // Whether the instrument holds the setup's modules in its three slots; true
    // while offline.
    bool InstrumentModulesMatch();

    // The Instrument Settings command (802): the driver's own settings sheet
    // with the scan settings' alarm output choice sent before and read after.
    void OnInstrumentSettings();
    bool IsInstrumentSettingsEnabled() const { return !IsScanning(); }
    // The scan settings' alarm output mode and polarity, sent to the instrument;
    // the results are not tested.
    void SendAlarmOutputChoice();

    // Upload from the instrument. The channel lists hold the channel numbers
    // met in the fetched readings.
    bool UploadSetup(bool uploadData, bool keepScanning);
    void UploadScanSettings();
    bool UploadStoredData(CDataset& dataset, std::vector<std::int32_t>& channels);
    bool UploadStoredReadings(CDataset& dataset, std::vector<std::int32_t>& channels);
    bool IsScanListSame(const std::vector<std::int32_t>& channels) const;
    void ApplyScanList(const std::vector<std::int32_t>& channels);
    void GetConnectSpeed();

    // The monitor channel.
    void ConfigureMonitorChannel(std::int32_t channel);
    void StartMonitor();
    void StopMonitor();
    void StartMonitorTimer(std::uint32_t interval);
    void StopMonitorTimer();
    // During a run the poll reads the monitor channel: the window timer stops
    // and the in-run interval counts from now; both stop at the run's end.
    void ScheduleMonitorInRun(std::uint32_t now);
    void HaltMonitorTimers();
    // Whether the poll reads the monitor channel now (advances its interval).
    bool IsMonitorReadDue(std::uint32_t now);
    // The run's newest reading of the monitor channel.
    void SetMonitorValue(double value) { m_monitorValue = value; }
    void RestartMonitor();
    bool IsMonitorChannelUsable(std::int32_t channel) const;
    void OnMonitorTimer();
    bool SyncMonitorChannel(bool askInstrument);

    // Display actions: each is served at once, answering every view.
    bool DoInstrumentAction(CReadingInfo& request, bool ask);
    void SetOutputValue(CFXSetup& row, double value);
    void AnnounceOpenedSwitch(const CReadingInfo& request, int moduleCode);
    static std::int32_t FindChannelIndex(std::int32_t channel,
                                         const std::vector<std::int32_t>& channels);
    static void GetFunctionDefaultValue(const std::string& function, double& value);

private:
    // The loaded parts of a document file, taken over only once all was read.
    struct LoadedFile;
    // Exchanges the document's file contents with the scratch copy.
    void SwapLoadedFile(LoadedFile& file);
    // The setup view's part of the file: a 32-bit byte count, then the bytes.
    void WriteSetupViewState(tvane::CArchive& ar);
    static std::vector<std::uint8_t> ReadSetupViewState(tvane::CArchive& ar);
    static std::int32_t ReadSettingNumber(const char* key, long def);
    // The dataset storage beside a setup's storage: the file name's first letter
    // becomes 'Y'.
    static std::string MakeCompanionFileName(const std::string& path);

    ILoggerApp& m_app;
    DocumentServices m_services;
    std::unique_ptr<SetupGridOperations> m_setupGridOperations;
    std::vector<IView*> m_views;
    std::string m_pathName;
    bool m_modified = false;
    std::unique_ptr<CTextExport> m_export;

    // Sends one event to the views while a dataset is current and open.
    void BroadcastEvent(CDatasetEvent& event);
    // An instrument or driver error as an event, stamped outside a run.
    void PostInstrumentError(std::string text);
    // The instrument's queue of errors, each as an event.
    void LogQueuedInstrumentErrors();

    // --- Members --------------------------------------------------------------

    // Flags of the document shell.
    bool m_setupLoaded = false;
    bool m_neverSaved = true;
    bool m_setupInInstrument = false;
    std::uint32_t m_headerValue = 0;
    std::uint32_t m_headerWord = 0; // 16 bits in the file
    // The setup editor's change flags and its pending list of edited rows.
    bool m_structureChanged = false;
    bool m_pairingChanged = false;
    std::vector<std::uint32_t> m_editedRows;

    // Owned objects and the setup.
    std::unique_ptr<CFXSetupArray> m_setup;
    std::unique_ptr<CFXUndo> m_undo;
    std::int16_t m_slotActive[3] = {0, 0, 0};
    bool m_actionBusy = false; // a display's instrument action is being served
    std::unique_ptr<CCompChnlArray> m_compChannels;
    std::unique_ptr<CChannelMath> m_channelMath;
    std::uint32_t m_monitorChannel = 0; // 0: none, else slot x 100 + channel
    std::uint32_t m_monitorInterval = 5000;
    std::string m_setupText;
    double m_monitorValue = 0.0;

    // The monitor's timers; the window timer belongs to the main frame.
    CWndTimer m_monitorTimer;
    CIntervalTimer m_monitorIntervalTimer;

    // The event time bounds outside a run.
    double m_firstTimeBound = kBeforeScan;
    double m_secondTimeBound = kAfterScan;

    // Run data.
    std::unique_ptr<CFXScan> m_scan;
    std::unique_ptr<CDatasetStore> m_datasetStore;
    // The run, with the dataset it writes to: it goes before the store its
    // dataset is kept in.
    std::unique_ptr<CScanEngine> m_engine;
    COleKXQT7100* m_instrument = nullptr; // the application's binding
    std::int32_t m_readingPathWord = 0;
    std::uint32_t m_frameCounter = 0;
    std::uint32_t m_viewFlags = 0;
    std::uint8_t m_options[5] = {1, 1, 1, 1, 0};
    std::map<std::string, FunctionDefaults> m_functionTable;
    std::unique_ptr<CDatasetEvent> m_eventRecord;
    std::int32_t m_eventIndex = -1;
    std::vector<std::string> m_textList1;
    std::vector<std::string> m_textList2;
    CDateTimeEdit m_timeFormatter;
    std::string m_formatDateTime;
    std::string m_formatDateTimeMs;
    std::string m_formatDate;
    std::string m_formatTime;
    std::string m_formatTimeMs;
    std::int32_t m_eventLogLimit = 2147483646;
    // The Data Browser and the state of the stored data shown.
    std::unique_ptr<IDataBrowser> m_dataBrowser;
    int m_browserState = 0;
    bool m_hasReadings = false;
    bool m_rangeUpdate = false;
    // While set, only this view is told of hints.
    IView* m_hintTarget = nullptr;
};
