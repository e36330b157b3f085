#include "app/ExportDialogModels.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/ISaveDialogs.h"
#include "app/SaveSetupModel.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/LocaleFormats.h"
#include "platform/core/NameText.h"
#include "platform/ui/Prompter.h"

namespace {

std::string Cut(const std::string& text, std::size_t limit) {
    return tvane::CutUtf8(text, limit);
}

const char* Extension(std::int16_t format) {
    return format == CReadingQuery::kCommaDelimited ? ".csv" : ".txt";
}

} // namespace

// --- Export Data ------------------------------------------------------------

bool ExportDataModel::IsValidFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("*?;<>|\"") == std::string::npos;
}

std::string ExportDataModel::WithFormatExtension(const std::string& name, std::int16_t format) {
    const std::size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return stem + Extension(format);
}

std::string ExportDataModel::WithExtensionIfNone(const std::string& name, std::int16_t format) {
    return name.find('.') == std::string::npos ? name + Extension(format) : name;
}

char ExportDataModel::SeparatorFor(std::int16_t format) {
    switch (format) {
    case CReadingQuery::kCommaDelimited:
        return ',';
    case CReadingQuery::kTabDelimited:
        return '\t';
    default: {
        const std::string list = tvane::Locale().Formats().listSeparator;
        return list.empty() ? ',' : list[0];
    }
    }
}

void ExportDataModel::Init() {
    m_kind = m_query.m_dataKind;
    m_kindFixed = !m_hasContent;
    if (m_kindFixed)
        m_kind = m_query.m_dataKind = CReadingQuery::kSetupListing;
    m_format = m_query.m_outputFormat;
    m_fileName = m_query.m_fileName;
    m_destination = m_query.m_destination;
    LoadTimes();
}

void ExportDataModel::LoadTimes() {
    if (m_kind == CReadingQuery::kReadings) {
        m_start = m_query.m_startTime;
        m_end = m_query.m_endTime;
        m_earliest = m_firstReading;
        m_latest = m_lastReading;
    } else {
        m_start = m_query.m_eventStartTime;
        m_end = m_query.m_eventEndTime;
        m_earliest = m_firstEvent;
        m_latest = m_lastEvent;
    }
}

void ExportDataModel::SetDestination(std::int16_t destination) {
    m_destination = destination;
    m_format = destination == CReadingQuery::kToFile ? CReadingQuery::kCommaDelimited
                                                     : CReadingQuery::kTabDelimited;
    m_fileName = WithFormatExtension(m_fileName, m_format);
}

void ExportDataModel::SelectFormat(std::int16_t format) {
    m_format = format;
    m_fileName = WithFormatExtension(m_fileName, m_format);
}

void ExportDataModel::SelectKind(std::int16_t kind) {
    m_kind = m_query.m_dataKind = kind;
    LoadTimes();
}

std::vector<std::string> ExportDataModel::Summary() {
    namespace t = exportdlgtext;
    std::vector<std::string> lines;
    const auto timeText = [this](double time) {
        return m_formatTime ? m_formatTime(time) : std::string();
    };
    if (m_kind != CReadingQuery::kSetupListing) {
        lines.push_back(std::string(t::kStartTime) + "\t" + timeText(m_start));
        lines.push_back(std::string(t::kEndTime) + "\t" + timeText(m_end));
    }
    if (m_kind == CReadingQuery::kReadings) {
        lines.push_back(std::string(t::kAlarmedDataOnly) + "\t" +
                        (m_query.m_alarmedOnly != 0 ? t::kYes : t::kNo));
        std::string fields;
        const std::pair<std::int32_t, const char*> optional[] = {
            {m_query.m_timeStamp, t::kTimeStamp},
            {m_query.m_seconds, t::kSeconds},
            {m_query.m_units, t::kUnits},
            {m_query.m_alarmFlag, t::kAlarmConditions}};
        for (const auto& [on, name] : optional)
            if (on != 0)
                fields += (fields.empty() ? "" : ", ") + std::string(name);
        lines.push_back(std::string(t::kOptionalFields) + "\t" +
                        (fields.empty() ? t::kNone : fields));
    }
    const std::vector<std::string>& labels =
        m_kind == CReadingQuery::kReadings ? m_query.m_selectedLabels : m_query.m_channelLabels;
    m_channelText.clear();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        lines.push_back((i == 0 ? std::string(t::kChannels) + "\t" : std::string("\t\t")) +
                        labels[i]);
        m_channelText += labels[i] + ",";
    }
    return lines;
}

bool ExportDataModel::TakeName(const std::string& text) {
    if (IsValidFileName(text)) {
        m_fileName = text;
        return true;
    }
    tvane::ShowMessage(
        tvane::Format(exportdlgtext::kInvalidName, text.empty() ? "\"\"" : text.c_str()));
    return false;
}

void ExportDataModel::TakeBrowsedName(const std::string& path) {
    m_fileName = WithExtensionIfNone(path, m_format);
}

void ExportDataModel::TakeOptionTimes(double start, double end) {
    m_start = start;
    m_end = end;
    if (m_kind == CReadingQuery::kReadings) {
        m_query.m_startTime = start;
        m_query.m_endTime = end;
    } else {
        m_query.m_eventStartTime = start;
        m_query.m_eventEndTime = end;
    }
}

ExportDataModel::FileCheck ExportDataModel::CheckFile(bool& selectName) {
    struct stat info {};
    if (::stat(m_fileName.c_str(), &info) != 0) {
        // A name that cannot be created is refused now rather than after the export ran.
        const int fd = ::open(m_fileName.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            const int error = errno;
            const tvane::FileException e(tvane::FileException::CauseFromErrno(error), error,
                                         m_fileName);
            tvane::ShowMessage(e.GetErrorMessage());
            return FileCheck::Refused;
        }
        ::close(fd);
        ::unlink(m_fileName.c_str());
        return FileCheck::Free;
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        tvane::ShowMessage(tvane::Format(exportdlgtext::kReadOnly, m_fileName.c_str()));
        selectName = true;
        return FileCheck::Refused;
    }
    if (!S_ISREG(info.st_mode)) {
        tvane::ShowMessage(exportdlgtext::kInvalidFileName);
        selectName = true;
        return FileCheck::Refused;
    }
    return FileCheck::Exists;
}

bool ExportDataModel::Accept(const std::string& text, const Browse& browse, bool& selectName) {
    selectName = false;
    if (!TakeName(text))
        return false;
    if (m_destination == CReadingQuery::kToFile) {
        m_fileName = WithExtensionIfNone(m_fileName, m_format);
        for (;;) {
            const FileCheck check = CheckFile(selectName);
            if (check == FileCheck::Refused)
                return false;
            if (check == FileCheck::Free)
                break;
            const tvane::MsgAnswer answer =
                tvane::ShowMessage(exportdlgtext::kOverwrite, tvane::MsgButtons::YesNoCancel,
                                   tvane::MsgIcon::Question);
            if (answer == tvane::MsgAnswer::Yes)
                break;
            if (answer != tvane::MsgAnswer::No)
                return false;
            std::string chosen = m_fileName;
            if (!browse || !browse(chosen))
                return false;
            TakeBrowsedName(chosen);
        }
    }
    m_query.m_fileName = m_fileName;
    m_query.m_destination = m_destination;
    m_query.m_outputFormat = m_format;
    m_query.m_dataKind = m_kind;
    TakeOptionTimes(m_start, m_end);
    m_query.m_separator = SeparatorFor(m_format);
    m_query.m_useLocale = m_format == CReadingQuery::kLocale ? 1 : 0;
    return true;
}

// --- Export Data Options ----------------------------------------------------

void ExportOptionsModel::Init(bool defaults) {
    m_channels.clear();
    if (defaults) {
        SetLayout(CReadingQuery::kColumns);
        m_start = m_earliest;
        m_end = m_latest;
    }
    if (IsEventLog()) {
        m_timeStamp = m_seconds = m_alarmFlag = m_units = true;
    } else if (defaults) {
        m_timeStamp = true;
        m_seconds = true;
        m_alarmFlag = false;
        m_alarmedOnly = false;
        m_units = true;
    } else {
        m_timeStamp = m_query.m_timeStamp != 0;
        m_seconds = m_query.m_seconds != 0;
        m_alarmFlag = m_query.m_alarmFlag != 0;
        m_alarmedOnly = m_query.m_alarmedOnly != 0;
        m_units = m_query.m_units != 0;
    }
    const bool readings = m_query.m_dataKind == CReadingQuery::kReadings;
    for (std::size_t i = 0; i < m_query.m_channelLabels.size(); ++i) {
        Channel channel;
        channel.label = m_query.m_channelLabels[i];
        channel.number = i < m_query.m_channelNumbers.size() ? m_query.m_channelNumbers[i] : 0;
        channel.selected =
            !readings || std::find(m_query.m_selectedLabels.begin(), m_query.m_selectedLabels.end(),
                                   channel.label) != m_query.m_selectedLabels.end();
        m_channels.push_back(channel);
    }
}

void ExportOptionsModel::Accept() {
    if (m_query.m_dataKind != CReadingQuery::kReadings)
        return;
    m_query.m_selectedLabels.clear();
    m_query.m_selectedNumbers.clear();
    for (const Channel& channel : m_channels)
        if (channel.selected) {
            m_query.m_selectedLabels.push_back(channel.label);
            m_query.m_selectedNumbers.push_back(channel.number);
        }
    m_query.m_timeStamp = m_timeStamp ? 1 : 0;
    m_query.m_seconds = m_seconds ? 1 : 0;
    m_query.m_alarmFlag = m_alarmFlag ? 1 : 0;
    m_query.m_alarmedOnly = m_alarmedOnly ? 1 : 0;
    m_query.m_units = m_units ? 1 : 0;
}

// --- Save Scan Data ---------------------------------------------------------

void SaveScanDataModel::Init(const RowReader& reader) {
    m_name = Cut(m_storedName, kNameLimit);
    m_modified = false;
    Properties row;
    if (reader && reader(m_setupName, m_storedName, row)) {
        m_user = row.user;
        m_note = row.note;
        m_dateText = row.dateText;
    }
}

void SaveScanDataModel::EditName(const std::string& text) {
    m_name = Cut(text, kNameLimit);
    m_modified = true;
}

void SaveScanDataModel::EditExportName(const std::string& text) {
    m_exportName = text;
    m_modified = true;
}

bool SaveScanDataModel::OkEnabled() const {
    // Neither field may be left empty; the export field counts only while shown.
    return !m_name.empty() && (!m_exportAfterScan || !m_exportName.empty());
}

bool SaveScanDataModel::LoadProperties(const RowReader& reader, Properties& shown) {
    Properties row;
    if (!reader || !reader(m_setupName, m_storedName, row))
        return false;
    shown.name = m_name;
    shown.user = row.user;
    shown.dateText = row.dateText;
    shown.note = row.note;
    return true;
}

void SaveScanDataModel::TakeProperties(const Properties& shown, const Properties& edited) {
    if (!m_modified && (shown.name != edited.name || shown.user != edited.user ||
                        shown.dateText != edited.dateText || shown.note != edited.note))
        m_modified = true;
    m_name = Cut(edited.name, kNameLimit);
    m_user = edited.user;
    m_note = edited.note;
    m_dateText = edited.dateText;
}

bool SaveScanDataModel::Accept() {
    if (tvane::HasControlCharacter(m_name)) {
        tvane::ShowMessage(kNameHasControlCharacter, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
        return false;
    }
    if (m_name == m_storedName)
        return true;
    if (m_lookup && m_lookup(m_setupName, m_name) == 1) {
        tvane::ShowMessage(kNameInUse, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return false;
    }
    return true;
}

SaveScanDataModel::Lookup SaveScanDataModel::DatabaseLookup(tvane::OdbcDatabase* database) {
    return SaveSetupModel::DatabaseLookups(database).dataset;
}

SaveScanDataModel::RowReader
SaveScanDataModel::DatabaseRowReader(tvane::OdbcDatabase* database,
                                     std::function<std::string(std::int64_t)> formatTime) {
    return
        [database, formatTime](const std::string& setup, const std::string& name, Properties& row) {
            if (database == nullptr)
                return false;
            try {
                CRSDataset set(database);
                if (set.OpenGivenSetupDataset(setup, name, RS_READONLY) != RS_ROWS) {
                    set.Close();
                    return false;
                }
                row.name = set.m_Name;
                row.user = set.m_User;
                row.note = set.m_Note;
                row.dateText = formatTime ? formatTime(set.m_DateTime) : std::string();
                set.Close();
                return true;
            } catch (const std::exception&) {
                return false;
            }
        };
}
