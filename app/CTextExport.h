#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scan/CReadingQuery.h"

class CLoggerDoc;

// The text export: the readings of the current dataset, its events or the
// setup listing as comma, tab or locale delimited text, to a file or the
// clipboard. Readings go in chunks of whole scans through the scan engine's
// reading buffer, so computed channels come out as in the run. It reads the
// document through its accessors; the clipboard, the Export Data dialog and
// the disk check come from the document's services. It keeps the document's
// own export request, the one Export Data edits.
class CTextExport {
public:
    static constexpr std::int32_t kEventBatch = 30001;

    explicit CTextExport(CLoggerDoc& doc);
    CTextExport(const CTextExport&) = delete;
    CTextExport& operator=(const CTextExport&) = delete;

    // The request Export Data edits and the export at the end of a run uses.
    CReadingQuery& GetRequest() { return m_request; }
    const CReadingQuery& GetRequest() const { return m_request; }
    // Export Data: perform the export after OK (off while the Save Scan Data
    // dialog edits the request only), and refresh the request without a dialog.
    void SetExportAfterDialog(bool on) { m_exportAfterDialog = on; }
    bool ExportsAfterDialog() const { return m_exportAfterDialog; }
    void SetSkipDialog(bool on) { m_skipDialog = on; }
    bool SkipsDialog() const { return m_skipDialog; }

    // Refreshes the request (time clamps, channel lists), then, unless skipped
    // or no dialog is installed, runs the dialog and the export it asks for.
    void OnExportData();
    bool IsExportDataEnabled() const;
    // False when nothing was exported (no readings, an empty span, a failure or
    // Cancel). Throws the program's file exception when the file cannot be made.
    bool ExportReadings(CReadingQuery& query, bool emptyClipboard, unsigned progressCaptionId);
    // The export at the end of a run: the request refreshed without its dialog,
    // then its readings exported; a failure is shown here, so the end of the
    // run goes on.
    bool ExportReadingsAfterScan();
    bool ExportEvents(CReadingQuery& query);
    bool ExportSetupListing(CReadingQuery& query);
    // Appends the lines of events first..last, at most one batch per call (the
    // header first when withHeader, which is then cleared); first moves on past
    // the events formatted. Returns the characters appended.
    std::int64_t FormatEventLines(std::int32_t& first, std::int32_t last,
                                  std::vector<std::string>& lines, bool& withHeader,
                                  char separator);
    std::int64_t FormatSetupLines(std::vector<std::string>& lines, char separator);
    // Bytes that count readings are expected to take, from the buffer's first
    // record as a sample.
    double EstimateExportSize(std::int64_t count, const CReadingQuery& query);
    // The channels of the dataset's first scans, ascending, then the computed
    // channels of the scan in row order.
    void GetScanChannelList(std::vector<std::string>& labels);
    void GetScanChannelList(std::vector<std::uint32_t>& numbers);
    static void InsertChannelSorted(std::uint32_t channel, std::vector<std::uint32_t>& list);
    static bool IsChannelSelectionValid(const CReadingQuery& query);

private:
    CLoggerDoc& m_doc;
    CReadingQuery m_request;
    bool m_exportAfterDialog = true;
    bool m_skipDialog = false;
};
