#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver/CInstDriver.h"
#include "driver/CIntervalTimer.h"
#include "driver/DriverLog.h"
#include "driver/ScpiTemplates.h"
#include "scan/records/CChannelConfig.h"
#include "scan/records/ReadingRecord.h"

namespace tvane::driver {

// The reading fields the instrument puts into a block, with their widths.
struct ReadingFormat {
    static constexpr int kValueWidth = 15;
    static constexpr int kUnitWidth = 3;
    static constexpr int kTimeWidth = 12;
    static constexpr int kChannelWidth = 3;
    static constexpr int kAlarmWidth = 1;

    bool alarm = true;
    bool channel = true;
    bool time = true;
    bool relativeTime = true;
    bool unit = false;

    int FieldCount() const { return 1 + alarm + channel + time + unit; }
    int TotalWidth() const {
        return kValueWidth + (unit ? kUnitWidth : 0) + (time ? kTimeWidth : 0) +
               (channel ? kChannelWidth : 0) + (alarm ? kAlarmWidth : 0);
    }
    // Bytes of one reading in a block: every field followed by a separator.
    int ReadingLength() const { return TotalWidth() + FieldCount(); }
};

// One row of GetReading's answer.
struct ReadingRow {
    std::int32_t scan = 0;
    std::int32_t channel = 0;
    std::int32_t alarm = 0;
    double time = 0.0;
    double value = 0.0;
};

// One entry of the instrument's alarm queue.
struct AlarmQueueEntry {
    double value = 0.0;
    std::int32_t time = 0; // seconds since 1970
    std::int16_t millisecond = 0;
    std::int16_t channel = 0;
    std::int16_t limit = 0;
    std::int16_t output = 0;
    bool got = false;
};

// Seven clock fields as the dispatch interface hands them out.
struct InstrumentClock {
    std::int16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The QT7100 driver: turns calls into SCPI commands, parses replies and
// reading blocks, keeps the channel configuration and simulates the
// instrument on the simulated interface.
class CKXQT7100 : public CInstDriver {
public:
    static constexpr std::int32_t kMaxReadingsPerRequest = 231;

    explicit CKXQT7100(IInstrumentLink* link = nullptr,
                       const DriverSettings& settings = DriverSettings());
    ~CKXQT7100() override;

    // --- Custom interface (IInstDriverData) ---
    // capacity bounds the records written into buffer.
    bool GetReadings(ReadingRecord* buffer, std::int32_t capacity, std::int32_t* count);
    bool FetchReadings(ReadingRecord* buffer, std::int32_t requested, std::int32_t* count);
    bool DownloadChannelConfig(const CChannelConfig& config);
    CChannelConfig* UploadChannelConfig(std::int16_t channel, const std::string& moduleText,
                                        std::int32_t* ok);

    // --- Dispatch methods, in DISPID order ---
    std::string GetInstrumentName() const { return m_name; }                         // 1
    std::int16_t GetReading(std::vector<ReadingRow>& rows);                          // 3
    bool SetMonitorChnl(std::int16_t channel);                                       // 4
    bool EnableMonitorChnl(bool enable);                                             // 5
    bool DigitalWrite(std::int16_t channel, std::int16_t value);                     // 6
    bool CloseChannel(std::int16_t channel);                                         // 7
    bool OpenChannel(std::int16_t channel);                                          // 8
    bool IsChannelOpen(std::int16_t channel);                                        // 9
    bool IsChannelClosed(std::int16_t channel);                                      // 10
    bool ReadMonitorChnl(double* value, std::int16_t* alarm);                        // 11
    bool AnalogWrite(std::int16_t channel, double volts);                            // 12
    bool AnalogRead(std::int16_t channel, double* volts);                            // 13
    bool GetScanTime(InstrumentClock& clock);                                        // 14
    bool GetStartTickCount(double* out);                                             // 15
    bool GetInstrumentTime(InstrumentClock& clock);                                  // 16
    std::string GetCardInfoInSlot(std::int16_t slot, bool* ok);                      // 17
    bool SetInstrumentDate(std::int16_t year, std::int16_t month, std::int16_t day); // 18
    bool SetInstrumentTime(std::int16_t hour, std::int16_t minute, std::int16_t second,
                           std::int16_t millisecond);              // 19
    std::string GetInstrumentError(std::int16_t* code, bool* has); // 20
    bool SetTriggerSource(const std::string& source);              // 21
    bool DisplayText(const std::string& text);                     // 22
    bool DisplayToggle(bool on);                                   // 23
    bool ClearScanList();                                          // 24
    bool SetScanCount(std::int32_t count);                         // 25
    bool SetScanInterval(double seconds);                          // 26
    // 27 GetLastError: CInstDriver::GetLastError
    std::string GetDriverFiles() const { return m_fileName; }               // 28
    std::string GetDriverVersion() const { return m_version; }              // 29
    bool StartMeasurement();                                                // 30
    bool StopMeasurement();                                                 // 31
    bool InitInstrument();                                                  // 32
    std::string GetScanList();                                              // 34
    std::string GetAlarmList(std::int16_t output);                          // 35
    bool SetChannelDelay(std::int16_t channel, const std::string& seconds); // 36
    bool SetAutoChannelDelay(std::int16_t channel, bool automatic);         // 37
    bool GetReadingsCount(std::int32_t* count);                             // 38
    bool GetMonitorChannel(std::int16_t* channel);                          // 39
    std::string GetTriggerSource();                                         // 40
    bool GetScanCount(std::int32_t* count);                                 // 41
    bool GetScanInterval(double* seconds);                                  // 42
    bool SetReadingFormat(bool alarm, bool channel, bool time, bool relativeTime,
                          bool unit);                                           // 43
    bool IsMonitorChannelEnabled();                                             // 44
    bool IsInstrumentError();                                                   // 45
    bool IsPowerCycled();                                                       // 46
    bool StoreInstState(std::int16_t state);                                    // 47
    bool RecallInstState(std::int16_t state);                                   // 48
    bool RenameInstState(std::int16_t state, const std::string& name);          // 49
    bool ClearAlarmOutput(std::int16_t output);                                 // 50
    bool ResetCard(std::int16_t slot);                                          // 51
    bool SetHighAlarmPolarity();                                                // 52
    bool SetLowAlarmPolarity();                                                 // 53
    bool SetAlarmOutputTracking();                                              // 54
    bool SetAlarmOutputLatched();                                               // 55
    bool IsAlarmOutputTracking();                                               // 56
    bool IsAlarmPolarityLowOnFail();                                            // 57
    bool ConfigureUpload();                                                     // 58
    bool TotalizeRead(std::int16_t channel, double* count, bool reset);         // 59
    bool InitMeasurement(std::int32_t count);                                   // 60
    bool WriteDigitalPattern(std::int16_t channel, const std::string& pattern); // 61
    std::string ReadDigitalPattern(std::int16_t channel);                       // 62
    bool RecallFactoryPreset();                                                 // 63
    bool RecallPreset();                                                        // 64
    bool IsAlarmInQue();                                                        // 65
    std::string GetAlarmInQue(AlarmQueueEntry& entry);                          // 66
    bool IsDigitalWriteMode(std::int16_t channel);                              // 67
    bool DigitalReadState(std::int16_t channel, std::int16_t* value);           // 68
    bool DigitalRead(std::int16_t channel, std::int16_t* value);                // 69
    bool IsConfigChanged();                                                     // 70
    bool IsDMMEnabled();                                                        // 71
    bool IsDMMInstalled();                                                      // 72
    bool IsInstrumentScanning(bool* scanning);                                  // 73

    // --- State the tests and the settings sheet look at ---
    const ReadingFormat& Format() const { return m_format; }
    const CChannelConfig* StoredConfig(std::int16_t channel) const;
    std::size_t StoredConfigCount() const { return m_configs.size(); }
    const std::vector<std::int16_t>& ChannelArray() const { return m_channelArray; }
    std::int16_t LowestConfigured() const { return m_lowestConfigured; }
    std::int16_t HighestConfigured() const { return m_highestConfigured; }
    std::int32_t ScanCounter() const { return m_scanCounter; }
    bool IsScanning() const { return m_scanning; }
    const std::string& UploadedScanList() const { return m_uploadedScanList; }
    int StoredStates() const { return m_storedStates; }
    void SetStoredStates(int n) { m_storedStates = n; }
    bool AlarmLatched() const { return m_alarmLatched; }
    bool AlarmPolarityHigh() const { return m_alarmPolarityHigh; }
    const std::string& TriggerSources() const { return m_triggerSources; }
    DriverLog& Log() { return m_log; }
    // A line for the log, written only with LogErrors on and only when it has at
    // most 98 characters.
    void WriteLog(const std::string& text);

    // The instrument's stored states: their names and, per state, the name when
    // the state holds a setup (else empty), then "Last Power Down", "Factory
    // Reset" and "Preset". Read before the settings sheet is shown.
    void GetStateNames();
    const std::vector<std::string>& StateNames() const { return m_stateNames; }
    const std::vector<std::string>& RecallList() const { return m_recallList; }
    // The settings sheet keeps the lists in step with what it sends.
    void SetStateName(std::size_t index, const std::string& name);
    void SetRecallEntry(std::size_t index, const std::string& name);
    // The page the settings sheet opens on.
    int LastSettingsPage() const { return m_lastSettingsPage; }
    void SetLastSettingsPage(int index) { m_lastSettingsPage = index; }

    // The firmware revision: the fourth field of the identification answer.
    std::string GetSystemVersion();
    // The module in slot (100, 200, 300) as model + " REV:" + revision; empty
    // for an empty slot. False when the query failed.
    bool GetSlotRevision(int slot, std::string& text);

    // The readings of one block, parsed from text of byteCount bytes into at
    // most capacity records; returns the number stored. False in ok when a
    // reading was rejected.
    std::int32_t ParseReadings(const char* text, std::int32_t byteCount, ReadingRecord* buffer,
                               std::int32_t capacity, bool& ok);
    // Simulated readings of one poll into at most capacity records.
    std::int32_t SimulateReadings(ReadingRecord* buffer, std::int32_t capacity);

    // Default simulated range of a function code.
    static void GetDefaultRange(int function, double& low, double& high);
    static std::uint8_t EvaluateAlarm(const CChannelConfig& config, double value);
    // Data and mask bits of a compare pattern ("1", "0", "X"; last = bit 0).
    static void ParseDigitalPattern(const std::string& pattern, int& data, int& mask);
    static std::string MakeDigitalPattern(int data, int mask);
    // Removes an IEEE 488.2 definite-length header from an answer.
    static std::string StripBlockHeader(const std::string& answer);

private:
    struct BlockHeader {
        int headerSize = 0;         // "#", n and the n length digits
        std::int32_t byteCount = 0; // L
        std::int32_t readings = 0;
        std::int32_t residual = 0;
    };
    BlockHeader ParseBlockHeader(const char* block, std::int32_t received) const;
    void ClearAfterLongAnswer(std::int32_t received, const BlockHeader& header,
                              std::int32_t present);
    bool IsValidChannelId(const char* field, int number) const;
    void ResetReadingState();
    bool SimulateReading(const CChannelConfig& config, ReadingRecord& record);
    bool ReadDateTime(InstrumentClock& clock, bool scanTime);
    static double Draw(); // uniform 0..1

    // Lines and raw bytes written whenever the log is open.
    void WriteLogAlways(const std::string& text);
    void WriteLogId(unsigned id);

    // Formatting a template by id.
    std::string Cmd(ScpiTemplate id) const;
    bool SendId(ScpiTemplate id);
    bool SendCh(ScpiTemplate id, int channel);
    bool SendTextCh(ScpiTemplate id, const std::string& text, int channel);
    bool SendIntCh(ScpiTemplate id, int value, int channel);

    // Download helpers.
    CChannelConfig& StoreCopy(std::int16_t channel);
    bool DownloadFunction(const CChannelConfig& c);
    bool DownloadTemperature(const CChannelConfig& c);
    bool DownloadDigital(const CChannelConfig& c);
    bool DownloadTotalizer(const CChannelConfig& c);
    bool DownloadScaling(const CChannelConfig& c);
    bool DownloadLimits(const CChannelConfig& c);
    bool AlarmSourceCommand(const CChannelConfig& c);
    bool SetDelayCommand(const CChannelConfig& c);
    bool SendIntegration(const CChannelConfig& c, ScpiTemplate nplcId, ScpiTemplate apertureId);
    bool SendDigitalPattern(std::int16_t channel, const std::string& pattern);

    // Upload helpers.
    bool ParseFunction(CChannelConfig& c, bool measuring);
    bool UploadUnit(CChannelConfig& c);
    bool UploadFunctionSettings(CChannelConfig& c);
    bool UploadRange(CChannelConfig& c, ScpiTemplate autoId, ScpiTemplate rangeId);
    bool ParseIntegration(CChannelConfig& c, ScpiTemplate nplcId, ScpiTemplate apertureId);
    bool UploadFreqPeriod(CChannelConfig& c, ScpiTemplate autoId, ScpiTemplate rangeId,
                          ScpiTemplate apertureId);
    bool UploadTemperature(CChannelConfig& c);
    bool UploadDigital(CChannelConfig& c);
    bool UploadTotalizer(CChannelConfig& c);
    bool UploadScaling(CChannelConfig& c);
    bool UploadLimits(CChannelConfig& c);
    bool UploadDelay(CChannelConfig& c);
    bool QueryOnOff(ScpiTemplate id, int channel, std::string& out);
    bool ReadPattern(std::int16_t channel, std::string& pattern);

    static bool IsMeasuring(const CChannelConfig& c);
    static const CChannelSetting* FindOption(const CChannelConfig& c, std::int32_t id);

    DriverSettings m_settings;
    DriverLog m_log;

    std::string m_name, m_fileName, m_version;
    std::string m_triggerSources;
    unsigned m_triggerSourceId = 2015;
    std::int32_t m_scanCountLimit = -1;

    ReadingFormat m_format;

    // Reading parse state.
    double m_lastTime = 0.0;
    std::int32_t m_scanCounter = 0;
    std::int16_t m_lowestChannel = 0;
    std::int16_t m_previousChannel = 0;
    bool m_firstReading = true;
    bool m_requestPending = true;
    bool m_uploadFlag = true;

    // Channel configuration, ascending by channel number.
    std::map<std::int16_t, std::unique_ptr<CChannelConfig>> m_configs;
    std::vector<std::int16_t> m_channelArray;
    std::int16_t m_lowestConfigured = 0x7fff;
    std::int16_t m_highestConfigured = 0;

    // Simulation.
    bool m_scanning = false;
    CIntervalTimer m_timer;
    std::uint32_t m_scanInterval = 0;
    double m_simStartTime = 0.0;
    std::int32_t m_totalizer = 0;

    std::int16_t m_monitorChannel = 0;
    bool m_monitorEnabled = false;

    std::string m_uploadedScanList;

    int m_lastSettingsPage = 0;
    int m_storedStates = 5;
    std::vector<std::string> m_stateNames;
    std::vector<std::string> m_recallList;
    bool m_alarmLatched = false;
    bool m_alarmPolarityHigh = false;
};

} // namespace tvane::driver
