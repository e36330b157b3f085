#pragma once
#include <cstdint>
#include <memory>
#include <string>

class CChannelConfig;
struct ReadingRecord;
class CLoggerDoc;

// The instrument as the document drives it outside the scan loop: the driver
// and communications calls, each with the driver's success flag. The program
// adapts the application's binding to it; tests give a scripted one. A call
// that cannot reach the driver object throws tvane::Exception.
class IDocumentInstrument {
public:
    virtual ~IDocumentInstrument() = default;

    // The communications control's interface type: 0 is the simulated one.
    virtual int GetInterfaceTypeValue() = 0;
    virtual bool IsValidInterface() = 0;

    // Errors and alarms.
    virtual bool IsInstrumentError() = 0;
    // One queued error; code 0 when the queue is empty.
    virtual bool GetInstrumentError(std::int16_t& code, std::string& text) = 0;
    virtual bool GetLastError(std::int32_t& code, std::string& text) = 0;
    virtual bool IsAlarmInQue() = 0;
    struct Alarm {
        double value = 0.0;
        std::string units;
        std::int64_t time = 0; // seconds since 1970
        std::int16_t milliseconds = 0;
        std::int16_t channel = 0; // 0: the queue is empty
        std::int16_t limit = 0;
        std::int16_t output = 0;
    };
    virtual bool GetAlarmInQue(Alarm& alarm) = 0;
    virtual std::string GetCardInfoInSlot(std::int16_t slot, bool& ok) = 0;
    virtual bool GetReadingsCount(std::int32_t& count) = 0;

    // Immediate control.
    virtual bool DigitalRead(std::int16_t channel, std::int16_t& value) = 0;
    virtual bool DigitalWrite(std::int16_t channel, double value) = 0;
    virtual bool TotalizeRead(std::int16_t channel, double& value, bool reset) = 0;
    virtual bool AnalogWrite(std::int16_t channel, double value) = 0;
    virtual bool CloseChannel(std::int16_t channel) = 0;
    virtual bool OpenChannel(std::int16_t channel) = 0;

    // The monitor.
    virtual bool SetMonitorChnl(std::int16_t channel) = 0;
    virtual bool EnableMonitorChnl(bool enable) = 0;
    virtual bool GetMonitorChannel(std::int16_t& channel) = 0;
    virtual bool IsMonitorChannelEnabled() = 0;
    virtual bool ReadMonitorChnl(double& value) = 0;

    // Download and configuration.
    // Shows its own messages when the serial settings differ.
    virtual bool CheckSerialSettings() = 0;
    virtual bool IsDMMInstalled() = 0;
    virtual bool IsDMMEnabled() = 0;
    virtual bool IsInstrumentScanning(bool& scanning) = 0;
    virtual bool StopMeasurement() = 0;
    virtual bool ClearScanList() = 0;
    virtual bool DownloadChannelConfig(CChannelConfig& config) = 0;
    virtual bool SetAlarmOutputTracking() = 0;
    virtual bool SetAlarmOutputLatched() = 0;
    virtual bool SetLowAlarmPolarity() = 0;
    virtual bool SetHighAlarmPolarity() = 0;
    virtual bool SetTriggerSource(const std::string& source) = 0;
    virtual bool SetScanCount(std::int32_t count) = 0;
    virtual bool SetScanInterval(double seconds) = 0;
    virtual bool SetReadingFormat(const std::uint8_t format[5]) = 0;
    virtual bool InitInstrument() = 0;
    virtual bool IsConfigChanged() = 0;
    virtual std::string GetScanList() = 0;

    // Upload.
    virtual bool ConfigureUpload() = 0;
    virtual std::string GetAlarmList(std::int16_t output) = 0;
    virtual bool IsAlarmOutputTracking() = 0;
    virtual bool IsAlarmPolarityLowOnFail() = 0;
    // The driver's own settings sheet, modal.
    virtual bool EditControlProperties() = 0;
    virtual std::string GetTriggerSource() = 0;
    virtual bool GetScanCount(std::int32_t& count) = 0;
    virtual bool GetScanInterval(double& seconds) = 0;
    // One channel's configuration as the instrument holds it.
    virtual bool UploadChannelConfig(std::int16_t channel, const std::string& moduleText,
                                     CChannelConfig& config) = 0;
    // At most requested stored readings into buffer; count is how many came.
    virtual bool FetchReadings(ReadingRecord* buffer, std::int32_t requested,
                               std::int32_t& count) = 0;
    // The instrument's run start: its date and time (seconds since 1970) and
    // its tick count.
    virtual bool GetScanTime(std::int64_t& time, std::int16_t& milliseconds) = 0;
    virtual bool GetStartTickCount(double& tick) = 0;
};

// The progress dialog of a long instrument operation.
class IInstrumentProgress {
public:
    virtual ~IInstrumentProgress() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPos(int pos) = 0;
    virtual void SetText(const std::string& text) = 0;
    // True once after Cancel was pressed.
    virtual bool CheckCancel() = 0;
};

class CDownloadNotice;

// The windows the instrument work shows: progress, the monitor bar, the
// download notice and the new setup from an upload.
class IInstrumentUi {
public:
    virtual ~IInstrumentUi() = default;
    virtual std::unique_ptr<IInstrumentProgress> CreateProgress(const std::string& caption) = 0;
    // The monitor bar: the channel and whether it is monitored, then its values.
    virtual void ShowMonitorChannel(std::int32_t channel, bool monitored) = 0;
    virtual void ShowMonitorValue(double value, const std::string& label) = 0;
    // Runs the notice modally; true for OK.
    virtual bool RunDownloadNotice(CDownloadNotice& notice) = 0;
    // A new setup made from an instrument upload (the notice's upload choice).
    virtual void NewSetupFromUpload(CLoggerDoc& document) = 0;
};

// The logic of the Download Setup Notice dialog: what it shows and what the
// user chose.
class CDownloadNotice {
public:
    // Reads the instrument's conditions (stored data ticked without asking for
    // the count while the instrument scans) and selects Continue.
    void Init(IDocumentInstrument& instrument);
    // OK: upload is chosen exactly when Continue is not selected.
    void OnOk() { uploadChosen = !continueSelected; }

    bool scanInProgress = false;
    bool storedData = false;
    bool uploadChosen = false;
    bool continueSelected = true;
};
