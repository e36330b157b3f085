#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scan/CReadingQuery.h"

namespace tvane {
class IPrompter;
class OdbcDatabase;
} // namespace tvane

// The texts of the export dialogs, exactly as the user sees them.
namespace exportdlgtext {
inline constexpr const char* kExportDataCaption = "Export Data";
inline constexpr const char* kOptionsCaption = "Export Data Options";
inline constexpr const char* kSaveScanDataCaption = "Save Scan Data";
inline constexpr const char* kKinds[3] = {"Measurement Data", "Event Log", "Setup Information"};
inline constexpr const char* kFormats[3] = {"Comma delimited (CSV)", "Tab delimited",
                                            "Locale (txt)"};
inline constexpr const char* kStartTime = "Start Time";
inline constexpr const char* kEndTime = "End Time";
inline constexpr const char* kAlarmedDataOnly = "Alarmed Data Only";
inline constexpr const char* kOptionalFields = "Optional Fields";
inline constexpr const char* kChannels = "Channels";
inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";
inline constexpr const char* kTimeStamp = "Time stamp";
inline constexpr const char* kSeconds = "Seconds";
inline constexpr const char* kUnits = "Units";
inline constexpr const char* kAlarmConditions = "Alarm Conditions";
inline constexpr const char* kNone = "(none)";
inline constexpr const char* kInvalidName = "%s is not a valid filename";
inline constexpr const char* kReadOnly = "Unable to export data.\nFile %s is read only.";
inline constexpr const char* kInvalidFileName = "Invalid filename";
inline constexpr const char* kOverwrite = "Export file exists, overwrite it?";
inline constexpr const char* kFileFilter =
    "Formatted Text (*.CSV,*.TXT)|*.csv;*.txt|All Files (*.*)|*.*||";
inline constexpr const char* kSaveAsTitle = "Save %s As";
inline constexpr const char* kEditDataset = "Edit Dataset - ";
} // namespace exportdlgtext

// The Export Data dialog without its window: destination, kind of data and
// format with the rules that tie them, the summary of the other options, and
// the checks of OK before the choices go into the request.
class ExportDataModel {
public:
    // Asks for another file name (the file dialog); false when cancelled.
    using Browse = std::function<bool(std::string& name)>;

    ExportDataModel(CReadingQuery& query, tvane::IPrompter& prompter)
        : m_query(query), m_prompter(prompter) {}

    // Set by the caller before Init: whether the dataset holds readings or
    // events, the time bounds of both, and the time text of a request time.
    bool m_hasContent = true;
    double m_firstReading = 0.0;
    double m_lastReading = 0.0;
    double m_firstEvent = 0.0;
    double m_lastEvent = 0.0;
    std::function<std::string(double)> m_formatTime;

    // The dialog's members.
    std::string m_fileName;
    std::int16_t m_destination = CReadingQuery::kToFile;
    std::int16_t m_format = CReadingQuery::kCommaDelimited;
    std::int16_t m_kind = CReadingQuery::kReadings;
    bool m_kindFixed = false;
    double m_start = 0.0;
    double m_end = 0.0;
    double m_earliest = 0.0;
    double m_latest = 0.0;
    std::string m_channelText; // the summary's labels, each followed by ","

    void Init();
    // The destination radios: the format follows (CSV to disk, tab to the clipboard).
    void SetDestination(std::int16_t destination);
    void SelectFormat(std::int16_t format);
    // Written into the request at once; the times follow the kind.
    void SelectKind(std::int16_t kind);
    bool OptionsEnabled() const { return m_kind != CReadingQuery::kSetupListing; }
    bool FileControlsEnabled() const { return m_destination == CReadingQuery::kToFile; }
    // Label TAB value lines; continuation lines of the channels start with two TABs.
    std::vector<std::string> Summary();
    // The name edit's text; false (after telling the user) when it is not a file name.
    bool TakeName(const std::string& text);
    // The file dialog's answer: the chosen path, with an extension when it has none.
    void TakeBrowsedName(const std::string& path);
    // After OK of the options dialog.
    void TakeOptionTimes(double start, double end);
    // OK: false keeps the dialog open (the user has been told). selectName is
    // set when the name in the edit should be selected.
    bool Accept(const std::string& text, const Browse& browse, bool& selectName);

    CReadingQuery& Query() { return m_query; }

    static bool IsValidFileName(const std::string& name);
    // The name cut at its last '.' (unless that is its first character) with
    // ".csv" for the comma format, ".txt" for the others.
    static std::string WithFormatExtension(const std::string& name, std::int16_t format);
    static std::string WithExtensionIfNone(const std::string& name, std::int16_t format);
    // ',' TAB or the first character of the user's list separator.
    static char SeparatorFor(std::int16_t format);

private:
    void LoadTimes();
    // One existing or creatable file, or false after telling the user.
    enum class FileCheck { Free, Exists, Refused };
    FileCheck CheckFile(bool& selectName);

    CReadingQuery& m_query;
    tvane::IPrompter& m_prompter;
};

// The Export Data Options dialog without its window: time span, channels,
// optional fields and layout of the request.
class ExportOptionsModel {
public:
    struct Channel {
        std::string label;
        std::uint32_t number = 0;
        bool selected = false;
    };

    explicit ExportOptionsModel(CReadingQuery& query) : m_query(query) {}

    // Set by the caller before Init.
    double m_start = 0.0;
    double m_end = 0.0;
    double m_earliest = 0.0;
    double m_latest = 0.0;

    std::vector<Channel> m_channels;
    bool m_timeStamp = true;
    bool m_seconds = true;
    bool m_alarmFlag = false;
    bool m_alarmedOnly = false;
    bool m_units = true;

    // With defaults: the whole span, the default fields and columns.
    void Init(bool defaults = false);
    bool IsEventLog() const { return m_query.m_dataKind == CReadingQuery::kEvents; }
    // The fields, the channel list and the alarm filter: off for the event log.
    bool ChoicesEnabled() const { return !IsEventLog(); }
    bool LayoutShown() const { return !IsEventLog(); }
    std::int16_t Layout() const { return m_query.m_layout; }
    // Written into the request at once, kept even when the dialog is cancelled.
    void SetLayout(std::int16_t layout) { m_query.m_layout = layout; }
    void SetToStart() { m_start = m_earliest; }
    void SetToEnd() { m_end = m_latest; }
    // The allowed range of each time field.
    double StartMin() const { return m_earliest; }
    double StartMax() const { return m_end; }
    double EndMin() const { return m_start; }
    double EndMax() const { return m_latest; }
    // OK: channels and fields into the request (measurement data only).
    void Accept();

private:
    CReadingQuery& m_query;
};

// The Save Scan Data dialog without its window: the name the run's dataset is
// kept under, with its properties, and the check that a new name is free.
class SaveScanDataModel {
public:
    static constexpr std::size_t kNameLimit = 35;
    static constexpr unsigned kNameInUseId = 920;
    static constexpr const char* kNameInUse =
        "The dataset name is currently being used, choose a different name";

    // The Dataset row of a setup and name: 1 when found, else 0 or 2.
    using Lookup = std::function<std::int16_t(const std::string& setup, const std::string& name)>;
    struct Properties {
        std::string name;
        std::string user;
        std::string dateText;
        std::string note;
    };
    // Reads the row's user, note and date text; false when it cannot be read.
    using RowReader =
        std::function<bool(const std::string& setup, const std::string& name, Properties& row)>;

    // The Dataset table's search and row; a failed search answers 0 or false.
    static Lookup DatabaseLookup(tvane::OdbcDatabase* database);
    static RowReader DatabaseRowReader(tvane::OdbcDatabase* database,
                                       std::function<std::string(std::int64_t)> formatTime);

    SaveScanDataModel(Lookup lookup, tvane::IPrompter& prompter)
        : m_lookup(std::move(lookup)), m_prompter(prompter) {}

    // Set by the caller before Init.
    std::string m_setupName;
    std::string m_storedName;
    std::string m_exportName;
    bool m_exportAfterScan = false;

    std::string m_name;
    std::string m_user;
    std::string m_dateText;
    std::string m_note;
    bool m_modified = false;

    // The name field shows the stored name; the row's user and note are read so
    // that a changed name alone does not clear them.
    void Init(const RowReader& reader = {});
    void EditName(const std::string& text);
    void EditExportName(const std::string& text);
    bool OkEnabled() const;
    // The properties dialog's fields from the row; false when there is no row.
    bool LoadProperties(const RowReader& reader, Properties& shown);
    // After OK of the properties dialog.
    void TakeProperties(const Properties& shown, const Properties& edited);
    // OK: false when another dataset of the setup has the name (the user is told).
    bool Accept();

private:
    Lookup m_lookup;
    tvane::IPrompter& m_prompter;
};
