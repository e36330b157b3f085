// The text export: readings, events and the setup listing written as comma,
// tab or locale delimited text to a file or the clipboard.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CTextExport.h"

#include "app/CLoggerDoc.h"
#include "app/CScanEngine.h"
#include "app/ExportTexts.h"
#include "app/IDocumentInstrument.h"
#include "app/IExportServices.h"
#include "database/CDataset.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/LocaleFormats.h"
#include "platform/ui/Prompter.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

namespace {

constexpr std::int64_t kRecordSize = sizeof(ReadingRecord);
constexpr std::size_t kFlushBytes = 1 << 16;

const char* CaptionText(unsigned id) {
    return id == exporttext::kCopyingDataId ? exporttext::kCopyingData
                                            : exporttext::kExportScanData;
}

bool DatasetHasReadings(const CDataset* dataset) {
    return dataset != nullptr && dataset->IsOpen() && dataset->GetReadingCount() > 0;
}

// Where the text goes: a file written in large blocks, or one string that is
// handed to the clipboard at the end.
class ExportOutput {
public:
    ExportOutput(CReadingQuery& query)
        : m_toClipboard(query.m_destination == CReadingQuery::kToClipboard) {
        if (m_toClipboard)
            return;
        m_name = query.m_fileName;
        m_fd = ::open(m_name.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            const int cause = tvane::FileException::CauseFromErrno(errno);
            query.m_fileName = query.m_previousFileName;
            throw tvane::FileException(cause, -1, m_name);
        }
    }
    ~ExportOutput() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    bool ToClipboard() const { return m_toClipboard; }
    std::string& Text() { return m_text; }

    void Write(const std::string& line) {
        m_text += line;
        if (!m_toClipboard && m_text.size() >= kFlushBytes)
            Flush();
    }
    // Writes what is buffered; a failed write is the file's failure, not a
    // silently short export.
    void Flush() {
        if (m_toClipboard || m_fd < 0)
            return;
        std::size_t done = 0;
        while (done < m_text.size()) {
            const ssize_t n = ::write(m_fd, m_text.data() + done, m_text.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw tvane::FileException(tvane::FileException::CauseFromErrno(errno), errno,
                                           m_name);
            }
            done += static_cast<std::size_t>(n);
        }
        m_text.clear();
    }
    void Close() {
        Flush();
        if (m_fd >= 0 && ::close(m_fd) != 0) {
            m_fd = -1;
            throw tvane::FileException(tvane::FileException::hardIO, errno, m_name);
        }
        m_fd = -1;
    }

private:
    bool m_toClipboard;
    std::string m_name;
    int m_fd = -1;
    std::string m_text;
};

// Hands the text to the clipboard, or closes the file: false when the
// clipboard could not take it, which the user has been told.
bool DeliverOutput(ExportOutput& out, IClipboard* clipboard, bool emptyClipboard) {
    if (!out.ToClipboard()) {
        out.Close();
        return true;
    }
    if (clipboard == nullptr || !clipboard->SetText(out.Text(), emptyClipboard)) {
        tvane::ShowMessage(exporttext::kClipboardOpened, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::None, exporttext::kClipboardOpenedId);
        return false;
    }
    return true;
}

// Builds the fields of one line: a separator before every field but the first.
class LineBuilder {
public:
    LineBuilder(char separator, std::string decimal)
        : m_separator(separator), m_decimal(std::move(decimal)) {}

    void Begin() {
        m_line.clear();
        m_first = true;
    }
    void Field(const std::string& text) {
        Separate();
        m_line += text;
    }
    void Number(const char* format, double value) {
        Separate();
        char text[64];
        const int n = std::snprintf(text, sizeof text, format, value);
        const std::size_t length =
            n < 0 ? 0 : std::min(static_cast<std::size_t>(n), sizeof text - 1);
        // The C locale stays in force; the user's decimal symbol replaces the point.
        for (std::size_t i = 0; i < length; ++i) {
            if (text[i] == '.')
                m_line += m_decimal;
            else
                m_line += text[i];
        }
    }
    void Integer(long value) {
        Separate();
        char text[32];
        std::snprintf(text, sizeof text, "%ld", value);
        m_line += text;
    }
    void Empty(int count) {
        for (int i = 0; i < count; ++i)
            Separate();
    }
    const std::string& End() {
        m_line += "\r\n";
        return m_line;
    }

private:
    void Separate() {
        if (!m_first)
            m_line += m_separator;
        m_first = false;
    }

    char m_separator;
    std::string m_decimal;
    std::string m_line;
    bool m_first = true;
};

// The times of the first and last stored event, read from the events themselves:
// the header's copies are only brought up to date when the header is written.
bool EventTimeRange(CDataset& dataset, double& first, double& last) {
    const std::int32_t count = dataset.GetEventCount();
    CDatasetEvent event;
    if (count <= 0 || !dataset.GetEvent(0, event))
        return false;
    first = event.m_time;
    if (!dataset.GetEvent(count - 1, event))
        return false;
    last = event.m_time;
    return true;
}

// An export's failure as the user sees it: the error text, at most 255 characters.
void ShowErrorText(std::string text) {
    if (text.size() > 255)
        text.resize(255);
    tvane::ShowMessage(text);
}

std::int64_t ToSigned(std::uint32_t position) {
    return position == CDataset::kNotFound ? -1 : static_cast<std::int64_t>(position);
}

} // namespace

// --- The command ------------------------------------------------------------

CTextExport::CTextExport(CLoggerDoc& doc) : m_doc(doc) {
    m_request.m_startTime = CLoggerDoc::kBeforeScan;
    m_request.m_endTime = CLoggerDoc::kBeforeScan;
    m_request.m_eventStartTime = CLoggerDoc::kBeforeScan;
    m_request.m_eventEndTime = CLoggerDoc::kBeforeScan;
}

bool CTextExport::IsExportDataEnabled() const {
    return !m_doc.IsScanning() && m_doc.GetDataset() && m_doc.GetDataset()->IsOpen() &&
           m_doc.GetDataset()->GetScanCount() >= 1;
}

void CTextExport::OnExportData() {
    CReadingQuery& query = m_request;
    try {
        if (m_doc.GetDataset() && m_doc.GetDataset()->IsOpen()) {
            double firstEvent = m_doc.GetDataset()->GetFirstEventTime();
            double lastEvent = m_doc.GetDataset()->GetLastEventTime();
            EventTimeRange(*m_doc.GetDataset(), firstEvent, lastEvent);
            if (query.m_eventStartTime < firstEvent || query.m_eventStartTime > lastEvent)
                query.m_eventStartTime = firstEvent;
            if (query.m_eventEndTime < firstEvent || query.m_eventEndTime > lastEvent)
                query.m_eventEndTime = lastEvent;
            const double first = m_doc.GetDataset()->GetFirstTime();
            const double last = m_doc.GetDataset()->GetLastTime();
            if (query.m_startTime < first || query.m_startTime > last)
                query.m_startTime = first;
            if (query.m_endTime < first || query.m_endTime > last)
                query.m_endTime = last;
        }
        GetScanChannelList(query.m_channelLabels);
        GetScanChannelList(query.m_channelNumbers);
        if (!IsChannelSelectionValid(query)) {
            query.m_selectedLabels = query.m_channelLabels;
            query.m_selectedNumbers = query.m_channelNumbers;
        }
        if (m_skipDialog || m_doc.GetServices().exportDialog == nullptr)
            return;
        if (!m_doc.GetServices().exportDialog->Run(m_doc, query) || !m_exportAfterDialog)
            return;

        bool exported = false;
        switch (query.m_dataKind) {
        case CReadingQuery::kReadings:
            exported = ExportReadings(query, true, exporttext::kExportScanDataId);
            break;
        case CReadingQuery::kEvents:
            exported = ExportEvents(query);
            break;
        case CReadingQuery::kSetupListing:
            exported = ExportSetupListing(query);
            break;
        default:
            break;
        }
        if (exported) {
            const std::string where = query.m_destination == CReadingQuery::kToClipboard
                                          ? std::string(exporttext::kClipboard)
                                          : query.m_fileName;
            tvane::ShowMessage(tvane::Format(exporttext::kExportSuccessful, where.c_str()),
                               tvane::MsgButtons::Ok, tvane::MsgIcon::Information);
        }
        query.m_fileName = m_doc.MakeExportFileName(
            query.m_outputFormat == CReadingQuery::kCommaDelimited ? "csv" : "txt");
    } catch (const tvane::UserException&) {
        // The user has been told already.
    } catch (const tvane::FileException& e) {
        ShowErrorText(e.GetErrorMessage());
    } catch (const tvane::Exception& e) {
        ShowErrorText(e.what());
    }
}

bool CTextExport::ExportReadingsAfterScan() {
    const bool skip = m_skipDialog;
    m_skipDialog = true;
    OnExportData();
    m_skipDialog = skip;
    try {
        return ExportReadings(m_request, true, exporttext::kExportScanDataId);
    } catch (const tvane::UserException&) {
    } catch (const tvane::FileException& e) {
        ShowErrorText(e.GetErrorMessage());
    } catch (const tvane::Exception& e) {
        ShowErrorText(e.what());
    }
    return false;
}

// --- Channel lists ----------------------------------------------------------

void CTextExport::InsertChannelSorted(std::uint32_t channel, std::vector<std::uint32_t>& list) {
    const auto it = std::lower_bound(list.begin(), list.end(), channel);
    if (it == list.end() || *it != channel)
        list.insert(it, channel);
}

bool CTextExport::IsChannelSelectionValid(const CReadingQuery& query) {
    if (query.m_selectedNumbers.empty())
        return false;
    for (std::uint32_t channel : query.m_selectedNumbers)
        if (std::find(query.m_channelNumbers.begin(), query.m_channelNumbers.end(), channel) ==
            query.m_channelNumbers.end())
            return false;
    return true;
}

void CTextExport::GetScanChannelList(std::vector<std::uint32_t>& numbers) {
    numbers.clear();
    if (!m_doc.GetDataset() || !m_doc.GetDataset()->IsOpen())
        return;
    std::int64_t k = m_doc.GetDataset()->GetChannelCount();
    if (k <= 0)
        return;
    // Enough records to see every channel of the first scans, even with a
    // reading missing here and there.
    k = std::max<std::int64_t>(k, 2 * static_cast<std::int64_t>(m_doc.GetHeaderValue()));
    k = std::min<std::int64_t>(k, INT16_MAX);
    std::vector<ReadingRecord> records(static_cast<std::size_t>(k));
    const std::int16_t got =
        m_doc.GetDataset()->ReadReadings(records.data(), static_cast<std::int16_t>(k), 0);
    for (std::int16_t i = 0; i < got; ++i) {
        const std::int16_t channel = records[static_cast<std::size_t>(i)].Channel;
        InsertChannelSorted(static_cast<std::uint32_t>(static_cast<std::uint16_t>(channel)),
                            numbers);
    }
    if (!m_doc.GetComputedChannels() || m_doc.GetComputedChannels()->GetSize() == 0 ||
        !m_doc.GetSetup())
        return;
    for (std::int32_t i = 0; i < m_doc.GetSetup()->GetSize(); ++i) {
        const CFXSetup* row = m_doc.GetSetup()->GetSetup(i);
        if (row == nullptr || row->ChannelMode == 0 || !row->IsComputed())
            continue;
        if (std::find(numbers.begin(), numbers.end(), row->Channel) == numbers.end())
            numbers.push_back(row->Channel);
    }
}

void CTextExport::GetScanChannelList(std::vector<std::string>& labels) {
    std::vector<std::uint32_t> numbers;
    GetScanChannelList(numbers);
    labels.clear();
    for (std::uint32_t channel : numbers) {
        const CFXSetup* row = m_doc.FindSetupRow(static_cast<std::int32_t>(channel));
        if (row != nullptr && !row->ChannelName.empty())
            labels.push_back(tvane::Format("<%u> %s", channel, row->ChannelName.c_str()));
        else
            labels.push_back(tvane::Format("<%u>", channel));
    }
}

// --- Readings ---------------------------------------------------------------

double CTextExport::EstimateExportSize(std::int64_t count, const CReadingQuery& query) {
    const ReadingRecord& sample = m_doc.GetScanEngine().GetReadingBuffer()[0];
    double width = 0.0;
    if (query.m_timeStamp != 0)
        width += static_cast<double>(m_doc.FormatReadingTime(sample.Time).size() + 3);
    if (query.m_seconds != 0)
        width += static_cast<double>(tvane::Format("%g ", 1.7976931348623157e308).size());
    if (query.m_layout == CReadingQuery::kRows) {
        width += static_cast<double>(tvane::Format("%d ", sample.Channel).size());
        if (query.m_units != 0)
            width += 4.0;
    }
    if (query.m_alarmFlag != 0)
        width += static_cast<double>(tvane::Format("%d ", sample.AlarmState).size());
    width += static_cast<double>(tvane::Format("%+E \r\n", sample.Value).size());
    const double sum = width * static_cast<double>(count);
    const double selected = static_cast<double>(query.m_selectedNumbers.size());
    double line = sum;
    if (query.m_layout == CReadingQuery::kRows && count > 0)
        line = sum / static_cast<double>(count);
    else if (query.m_layout != CReadingQuery::kRows && selected > 0 &&
             static_cast<double>(count) >= selected)
        line = sum / (static_cast<double>(count) / selected);
    return sum + 3.0 * line;
}

bool CTextExport::ExportReadings(CReadingQuery& query, bool emptyClipboard,
                                 unsigned progressCaptionId) {
    if (!DatasetHasReadings(m_doc.GetDataset()))
        return false;
    ExportOutput out(query);
    CDataset& dataset = *m_doc.GetDataset();

    const double firstTime = dataset.GetFirstTime();
    std::int64_t startPos =
        ToSigned(dataset.FindReadingPosition(query.m_startTime - firstTime, false));
    std::int64_t endPos = ToSigned(dataset.FindReadingPosition(query.m_endTime - firstTime, true));
    if (endPos >= 0 && endPos < startPos)
        startPos = endPos;
    if (startPos < 0) {
        out.Close();
        return true;
    }
    const std::int64_t n = dataset.GetChannelCount();
    const std::int64_t readingCount = dataset.GetReadingCount();
    const std::int64_t startIndex = startPos / kRecordSize;
    // The span ends after the last reading of the scan that starts at endPos:
    // found by its scan number, so a scan with a reading missing is not cut.
    std::int64_t endIndex = readingCount;
    if (endPos >= 0) {
        const std::int64_t from = endPos / kRecordSize;
        std::vector<ReadingRecord> tail(
            static_cast<std::size_t>(std::min<std::int64_t>(2 * n + 1, INT16_MAX)));
        const std::int16_t got = dataset.ReadReadings(
            tail.data(), static_cast<std::int16_t>(tail.size()), static_cast<std::int32_t>(from));
        endIndex = from + got;
        for (std::int16_t i = 1; i < got; ++i) {
            if (tail[static_cast<std::size_t>(i)].ScanNumber != tail[0].ScanNumber) {
                endIndex = from + i;
                break;
            }
        }
    }
    std::int64_t total = std::min(endIndex, readingCount) - startIndex;
    if (total <= 0 || n <= 0) {
        out.Close();
        tvane::ShowMessage(exporttext::kNoReadings);
        return false;
    }

    // Chunks of whole scans, with room behind them for the computed readings.
    const std::int64_t capacity =
        std::max<std::int64_t>(m_doc.GetScanEngine().GetReadingBufferCapacity() / n * n, 1);
    std::int64_t real = 0, computedSel = 0, computedAll = 0;
    for (std::uint32_t channel : query.m_selectedNumbers)
        (channel < 900 ? real : computedSel) += 1;
    for (std::uint32_t channel : query.m_channelNumbers)
        if (channel >= 900)
            ++computedAll;
    // Every computed channel of the document adds its readings, listed or not.
    if (m_doc.GetComputedChannels()) {
        std::int64_t defined = 0;
        for (std::int32_t i = 0; i < m_doc.GetComputedChannels()->GetSize(); ++i)
            defined += m_doc.GetComputedChannels()->GetAt(i) != nullptr ? 1 : 0;
        computedAll = std::max(computedAll, defined);
    }
    real = std::max<std::int64_t>(real, 1);
    std::int64_t chunkSize = capacity;
    if (chunkSize + chunkSize * computedAll / n > capacity)
        chunkSize = std::max<std::int64_t>(capacity / (n + computedAll) * n, 1);

    m_doc.DeleteReadingLists();
    m_doc.DeleteLatestReadings();
    ReadingRecord* buffer = m_doc.GetScanEngine().GetReadingBuffer();
    if (dataset.ReadReadings(buffer, 1, static_cast<std::int32_t>(startIndex)) != 1) {
        out.Close();
        tvane::ShowMessage(exporttext::kNoReadings);
        return false;
    }

    if (!out.ToClipboard() && m_doc.GetServices().diskSpaceCheck != nullptr) {
        const std::int64_t rows =
            std::max(total + (total + real - 1) / real * computedSel, std::min(chunkSize, total));
        const double size = EstimateExportSize(rows, query);
        const std::filesystem::path folder = std::filesystem::path(query.m_fileName).parent_path();
        if (!m_doc.GetServices().diskSpaceCheck->HasFreeSpace(
                size + 1000.0, folder.empty() ? "." : folder.string()))
            return false;
    }

    const tvane::LocaleFormats formats = tvane::Locale().Formats();
    const std::string decimal = query.m_useLocale != 0 && !formats.decimalSeparator.empty()
                                    ? formats.decimalSeparator
                                    : ".";
    const char s = query.m_separator;
    const bool rows = query.m_layout == CReadingQuery::kRows;

    std::map<std::uint32_t, std::string> units;
    if (query.m_units != 0 && m_doc.GetSetup()) {
        for (std::int32_t i = 0; i < m_doc.GetSetup()->GetSize(); ++i) {
            const CFXSetup* row = m_doc.GetSetup()->GetSetup(i);
            if (row != nullptr && m_doc.IsSlotActive(*row))
                units[row->Channel] = row->Units;
        }
    }
    const auto unitsOf = [&](std::uint32_t channel) -> const std::string* {
        const auto it = units.find(channel);
        return it == units.end() ? nullptr : &it->second;
    };

    LineBuilder line(s, decimal);
    line.Begin();
    if (rows) {
        if (query.m_timeStamp != 0)
            line.Field(exporttext::kTimeStamp);
        if (query.m_seconds != 0)
            line.Field(exporttext::kSeconds);
        line.Field(exporttext::kChannelId);
        line.Field(exporttext::kValue);
        if (query.m_units != 0)
            line.Field(exporttext::kUnits);
        if (query.m_alarmFlag != 0)
            line.Field(exporttext::kAlarm);
    } else {
        for (std::uint32_t channel : query.m_selectedNumbers) {
            if (query.m_timeStamp != 0)
                line.Field(tvane::Format("%u(%s)", channel, exporttext::kTimeStamp));
            if (query.m_seconds != 0)
                line.Field(tvane::Format("%u(%s)", channel, exporttext::kSeconds));
            const std::string* label = query.m_units != 0 ? unitsOf(channel) : nullptr;
            if (label != nullptr && !label->empty())
                line.Field(tvane::Format("%u(%s)", channel, label->c_str()));
            else
                line.Field(tvane::Format("%u(%s)", channel, exporttext::kValue));
            if (query.m_alarmFlag != 0)
                line.Field(tvane::Format("%u(%s)", channel, exporttext::kAlarm));
        }
    }
    out.Write(line.End());

    std::unique_ptr<IInstrumentProgress> progress;
    if (m_doc.GetServices().instrumentUi != nullptr)
        progress = m_doc.GetServices().instrumentUi->CreateProgress(CaptionText(progressCaptionId));
    if (progress) {
        progress->SetRange(0, 100);
        progress->SetPos(0);
    }
    const std::int32_t firstScan = buffer[0].ScanNumber;
    ReadingRecord lastRecord;
    std::int32_t lastScan = firstScan;
    if (dataset.ReadReadings(&lastRecord, 1, static_cast<std::int32_t>(startIndex + total - 1)) ==
        1)
        lastScan = lastRecord.ScanNumber;
    const std::int64_t totalScans =
        std::max<std::int64_t>(std::int64_t{lastScan} - firstScan + 1, 1);

    // Computed channels are evaluated when a scan's highest channel arrives;
    // a loaded setup may not know it yet.
    CScanEngine& engine = m_doc.GetScanEngine();
    const std::int32_t savedLastChannel = engine.GetLastScanChannel();
    if (savedLastChannel == 0) {
        std::int32_t lastChannel = 0;
        std::vector<ReadingRecord> scan(static_cast<std::size_t>(n));
        const std::int16_t got = dataset.ReadReadings(scan.data(), static_cast<std::int16_t>(n),
                                                      static_cast<std::int32_t>(startIndex));
        for (std::int16_t i = 0; i < got; ++i) {
            const ReadingRecord& r = scan[static_cast<std::size_t>(i)];
            if (r.ScanNumber == firstScan)
                lastChannel = std::max<std::int32_t>(lastChannel, r.Channel);
        }
        engine.SetLastScanChannel(lastChannel);
    }
    struct RestoreChannel {
        CScanEngine& engine;
        std::int32_t value;
        ~RestoreChannel() { engine.SetLastScanChannel(value); }
    } restore{engine, savedLastChannel};

    const std::size_t selected = query.m_selectedNumbers.size();
    std::vector<std::vector<ReadingRecord*>> lists(selected);
    const int emptyTimeFields = (query.m_timeStamp != 0) + (query.m_seconds != 0);
    const int emptyCell = emptyTimeFields + 1 + (query.m_alarmFlag != 0);
    const auto passes = [&](const ReadingRecord* r) {
        return r != nullptr && (query.m_alarmedOnly == 0 || r->AlarmState != 0);
    };
    double stampTime = 0.0;
    std::string stampText;
    bool haveStamp = false;
    const auto writeReading = [&](const ReadingRecord& r, bool withChannel) {
        if (query.m_timeStamp != 0) {
            // The readings of a scan mostly share one time: its text is made once.
            if (!haveStamp || r.Time != stampTime) {
                stampTime = r.Time;
                stampText = "\"" + m_doc.FormatReadingTime(stampTime) + "\"";
                haveStamp = true;
            }
            line.Field(stampText);
        }
        if (query.m_seconds != 0)
            line.Number("%0.3lf", r.Time / 1000.0);
        if (withChannel)
            line.Integer(r.Channel);
        line.Number("%+E", r.Value);
        if (withChannel && query.m_units != 0) {
            const std::string* label = unitsOf(static_cast<std::uint16_t>(r.Channel));
            line.Field(label != nullptr ? *label : std::string());
        }
        if (query.m_alarmFlag != 0)
            line.Integer(r.AlarmState);
    };

    std::int64_t index = startIndex;
    std::int64_t remaining = total;
    int percent = 0;
    bool cancelled = false;
    while (remaining > 0 && !cancelled) {
        const std::int64_t want = std::min(chunkSize, remaining);
        std::int16_t got = dataset.ReadReadings(buffer, static_cast<std::int16_t>(want),
                                                static_cast<std::int32_t>(index));
        if (got <= 0)
            break;
        // A scan cut by the chunk's end is left for the next chunk.
        std::int64_t consumed = got;
        if (got < remaining) {
            ReadingRecord next;
            if (dataset.ReadReadings(&next, 1, static_cast<std::int32_t>(index + got)) == 1 &&
                next.ScanNumber == buffer[got - 1].ScanNumber) {
                std::int64_t keep = got;
                while (keep > 0 && buffer[keep - 1].ScanNumber == next.ScanNumber)
                    --keep;
                if (keep > 0)
                    consumed = keep;
            }
        }

        m_doc.DeleteReadingLists();
        m_doc.GetScanEngine().SetReadingBufferCount(static_cast<std::int16_t>(consumed));
        for (std::int64_t i = 0; i < consumed; ++i) {
            m_doc.GetScanEngine().AddReadingToStore(&buffer[i]);
            m_doc.GetScanEngine().SetBatchCount(
                static_cast<std::int16_t>(m_doc.GetScanEngine().GetBatchCount() + 1));
            m_doc.GetScanEngine().StoreReading(buffer[i]);
        }
        const std::int32_t chunkFirstScan = buffer[0].ScanNumber;
        const std::int64_t scans = std::max<std::int64_t>(
            std::int64_t{buffer[consumed - 1].ScanNumber} - chunkFirstScan + 1, 0);
        for (std::size_t j = 0; j < selected; ++j)
            m_doc.GetScanEngine().GetAlignedChannelReadings(
                static_cast<std::int32_t>(query.m_selectedNumbers[j]), lists[j],
                static_cast<std::int32_t>(scans), chunkFirstScan);

        for (std::int64_t row = 0; row < scans && !cancelled; ++row) {
            const auto at = [&](std::size_t j) -> ReadingRecord* {
                return static_cast<std::size_t>(row) < lists[j].size()
                           ? lists[j][static_cast<std::size_t>(row)]
                           : nullptr;
            };
            if (selected > 0 && passes(at(0))) {
                const std::int64_t scanNo = std::int64_t{at(0)->ScanNumber} - firstScan + 1;
                const int now =
                    static_cast<int>(std::min<std::int64_t>(scanNo * 100 / totalScans, 100));
                if (now != percent && progress) {
                    percent = now;
                    progress->SetPos(now);
                    progress->SetText(tvane::Format(exporttext::kProcessing,
                                                    static_cast<long>(scanNo),
                                                    static_cast<long>(totalScans)));
                    if (progress->CheckCancel()) {
                        cancelled = true;
                        break;
                    }
                }
            }
            if (rows) {
                for (std::size_t j = 0; j < selected; ++j) {
                    const ReadingRecord* r = at(j);
                    line.Begin();
                    if (passes(r)) {
                        writeReading(*r, true);
                    } else {
                        line.Empty(emptyTimeFields);
                        line.Integer(static_cast<long>(query.m_selectedNumbers[j]));
                    }
                    out.Write(line.End());
                }
                continue;
            }
            line.Begin();
            bool written = false, realMissing = false;
            for (std::size_t j = 0; j < selected; ++j) {
                const ReadingRecord* r = at(j);
                if (passes(r)) {
                    writeReading(*r, false);
                    written = true;
                } else {
                    line.Empty(emptyCell);
                    if (r == nullptr && query.m_selectedNumbers[j] < 900)
                        realMissing = true;
                }
            }
            if (written || realMissing)
                out.Write(line.End());
        }
        if (cancelled)
            break; // the rows of this chunk are not all written
        index += consumed;
        remaining -= consumed;
        if (got < want)
            break; // the dataset ended early
    }
    for (auto& list : lists)
        list.clear();

    if (cancelled && remaining > 0)
        tvane::ShowMessage(exporttext::kUserCancelled, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Error);
    else
        cancelled = false;
    if (!cancelled && progress)
        progress->SetPos(100);

    if (!DeliverOutput(out, m_doc.GetServices().clipboard, emptyClipboard))
        return false;
    return !cancelled;
}

// --- Events -----------------------------------------------------------------

std::int64_t CTextExport::FormatEventLines(std::int32_t& first, std::int32_t last,
                                           std::vector<std::string>& lines, bool& withHeader,
                                           char separator) {
    std::int64_t length = 0;
    if (withHeader) {
        lines.push_back(tvane::Format(exporttext::kEventHeader, separator, separator, separator));
        length += static_cast<std::int64_t>(lines.back().size());
        withHeader = false;
    }
    if (!m_doc.GetDataset() || !m_doc.GetDataset()->IsOpen())
        return length;
    const std::int32_t stop = std::min<std::int64_t>(last, std::int64_t{first} + kEventBatch - 1);
    CDatasetEvent event;
    for (; first <= stop; ++first) {
        if (!m_doc.GetDataset()->GetEvent(first, event))
            continue;
        lines.push_back(
            tvane::Format(exporttext::kEventLine, m_doc.FormatReadingTime(event.m_time).c_str(),
                          separator, CLoggerDoc::GetEventTypeText(event.m_type).c_str(), separator,
                          static_cast<long>(event.m_channel), separator, event.m_text.c_str()));
        length += static_cast<std::int64_t>(lines.back().size());
    }
    return length;
}

bool CTextExport::ExportEvents(CReadingQuery& query) {
    ExportOutput out(query);
    std::int32_t first = 0;
    std::int32_t last = -1;
    if (m_doc.GetDataset() && m_doc.GetDataset()->IsOpen()) {
        const std::int32_t count = m_doc.GetDataset()->GetEventCount();
        last = count - 1;
        double firstEvent = 0.0, lastEvent = 0.0;
        if (EventTimeRange(*m_doc.GetDataset(), firstEvent, lastEvent)) {
            if (firstEvent < query.m_eventStartTime)
                first =
                    std::max(m_doc.GetDataset()->FindEventIndex(query.m_eventStartTime, false), 0);
            if (lastEvent > query.m_eventEndTime) {
                // The last event at or before the end time: the one found may
                // lie after it.
                std::int32_t at = m_doc.GetDataset()->FindEventIndex(query.m_eventEndTime, true);
                CDatasetEvent event;
                if (at >= count || (at >= 0 && m_doc.GetDataset()->GetEvent(at, event) &&
                                    event.m_time > query.m_eventEndTime))
                    --at;
                last = std::min(at, count - 1);
            }
        }
    }

    std::unique_ptr<IInstrumentProgress> progress;
    if (m_doc.GetServices().instrumentUi != nullptr)
        progress = m_doc.GetServices().instrumentUi->CreateProgress(exporttext::kExportScanData);
    if (progress) {
        progress->SetRange(0, 100);
        progress->SetPos(2);
    }
    const double lineTotal = std::max(1.0, static_cast<double>(last - first + 2));
    double linesWritten = 0.0;
    bool withHeader = true;
    std::vector<std::string> lines;
    do {
        lines.clear();
        FormatEventLines(first, last, lines, withHeader, query.m_separator);
        for (const std::string& text : lines)
            out.Write(text);
        linesWritten += static_cast<double>(lines.size());
        // The clipboard takes one batch.
        if (out.ToClipboard())
            break;
        if (progress) {
            if (progress->CheckCancel())
                break;
            progress->SetPos(static_cast<int>(std::min(100.0, linesWritten / lineTotal * 100.0)));
        }
    } while (first <= last);

    return DeliverOutput(out, m_doc.GetServices().clipboard, true);
}

// --- Setup listing ----------------------------------------------------------

std::int64_t CTextExport::FormatSetupLines(std::vector<std::string>& lines, char c) {
    lines.push_back(
        tvane::Format(exporttext::kSetupHeader, c, c, c, c, c, c, c, c, c, c, c, c, c, c, c, c, c));
    std::int64_t length = static_cast<std::int64_t>(lines.back().size());
    if (!m_doc.GetSetup())
        return length;
    for (std::int32_t i = 0; i < m_doc.GetSetup()->GetSize(); ++i) {
        const CFXSetup* row = m_doc.GetSetup()->GetSetup(i);
        if (row == nullptr)
            continue;
        const std::string config = row->GetConfigText();
        const std::string actions = row->GetAlarmActionText();
        lines.push_back(tvane::Format(
            exporttext::kSetupLine, static_cast<long>(row->Channel), c,
            row->ChannelMode != 0 ? exporttext::kYes : exporttext::kNo, c, row->ChannelName.c_str(),
            c, row->Function.c_str(), c, row->Range.c_str(), c, row->Resolution.c_str(), c,
            row->Scaling != 0 ? exporttext::kYes : exporttext::kNo, c, row->Gain.c_str(), c,
            row->Offset.c_str(), c, row->Units.c_str(), c, row->Alarms.c_str(), c,
            row->AlarmHi.c_str(), c, row->AlarmLo.c_str(), c, row->AlarmEvent.c_str(), c,
            row->Comment.c_str(), c, row->Name.c_str(), c, config.c_str(), c, actions.c_str()));
        length += static_cast<std::int64_t>(lines.back().size());
    }
    return length;
}

bool CTextExport::ExportSetupListing(CReadingQuery& query) {
    ExportOutput out(query);
    std::vector<std::string> lines;
    FormatSetupLines(lines, query.m_separator);
    for (const std::string& text : lines)
        out.Write(text);
    return DeliverOutput(out, m_doc.GetServices().clipboard, true);
}
