#pragma once
#include <cstdint>
#include <string>

#include "platform/archive/CTime.h"

class CLoggerDoc;

// What the Data Browser asks of the document: the current dataset's range and
// browse state, time conversions and the two moves (to a scan, to a time).
class IBrowseDocument {
public:
    virtual ~IBrowseDocument() = default;
    virtual double GetRunStartTime() const = 0;
    virtual double GetRunEndTime() const = 0;
    virtual double GetMeanScanInterval() const = 0;
    virtual std::int32_t GetScanCount() const = 0;
    virtual double GetBrowsePosition() const = 0;
    virtual void SetBrowsePosition(double time) = 0;
    virtual std::int32_t GetBrowseScan() const = 0;
    virtual void SetBrowseScan(std::int32_t scan) = 0;
    // The date, time and milliseconds format of the current-time edit.
    virtual std::string GetTimeFormat() const = 0;
    virtual std::string FormatReadingTime(double time) = 0;
    virtual void GetReadingDateTime(double time, tvane::CTime& out, int& milliseconds) const = 0;
    // Clamped into the run.
    virtual double ToReadingTime(tvane::CTime time, int milliseconds) const = 0;
    // Reloads the window that ends at the scan; the time of that scan.
    virtual double BrowseToScan(std::int32_t& scan) = 0;
    // Reloads at the time; the browse scan, -1 when none.
    virtual long GoToTime(double& time) = 0;
};

// The program's document as the browser sees it.
class DocumentBrowseSource final : public IBrowseDocument {
public:
    explicit DocumentBrowseSource(CLoggerDoc& doc) : m_doc(doc) {}
    double GetRunStartTime() const override;
    double GetRunEndTime() const override;
    double GetMeanScanInterval() const override;
    std::int32_t GetScanCount() const override;
    double GetBrowsePosition() const override;
    void SetBrowsePosition(double time) override;
    std::int32_t GetBrowseScan() const override;
    void SetBrowseScan(std::int32_t scan) override;
    std::string GetTimeFormat() const override;
    std::string FormatReadingTime(double time) override;
    void GetReadingDateTime(double time, tvane::CTime& out, int& milliseconds) const override;
    double ToReadingTime(tvane::CTime time, int milliseconds) const override;
    double BrowseToScan(std::int32_t& scan) override;
    long GoToTime(double& time) override;

private:
    CLoggerDoc& m_doc;
};

// The Data Browser's rules without its window: a bar of positions 1 to 100
// over the dataset's scans, the current time that follows the scan moved to,
// and the reload at the end of every move (a dragged thumb only shows the time
// until it is let go).
class DataBrowserModel {
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 100;
    static constexpr const char* kCaption = "Data Browser";
    static constexpr const char* kInvalidOffset = "Invalid time offset"; // 909
    static constexpr const char* kCounter = "%ld of %ld";
    // The hidden increment's units (strings 179 to 182).
    static constexpr const char* kUnits[] = {"ms", "secs", "mins", "hours"};

    enum Scroll {
        kLineLeft,
        kLineRight,
        kPageLeft,
        kPageRight,
        kThumbPosition,
        kThumbTrack,
        kLeft,
        kRight,
        kEndScroll,
    };

    explicit DataBrowserModel(IBrowseDocument& doc) : m_doc(doc) {}

    // Reads the range and where the document stands.
    void Initialize();
    // A move of the bar; thumb is the thumb's position for the thumb codes.
    // False when the move was refused (an empty increment, said so).
    bool OnScroll(Scroll code, int thumb = 0);
    // The user set the current-time edit.
    void OnTimeEdited(tvane::CTime time, int milliseconds);

    static int ScanToPosition(std::int32_t scan, std::int32_t scans);
    static std::int32_t PositionToScan(int position, std::int32_t scans);

    int GetPosition() const { return m_position; }
    std::int32_t GetBrowseScan() const { return m_browseScan; }
    std::int32_t GetScanCount() const { return m_scanCount; }
    double GetCurrentTime() const { return m_current; }
    double GetFirstTime() const { return m_first; }
    double GetLastTime() const { return m_last; }
    void GetCurrentDateTime(tvane::CTime& time, int& milliseconds) const;
    void GetFirstDateTime(tvane::CTime& time, int& milliseconds) const;
    void GetLastDateTime(tvane::CTime& time, int& milliseconds) const;
    const std::string& GetFirstText() const { return m_firstText; }
    const std::string& GetLastText() const { return m_lastText; }
    const std::string& GetDurationText() const { return m_durationText; }
    std::string GetCounterText() const;
    std::string GetTimeFormat() const { return m_doc.GetTimeFormat(); }

    // The hidden time increment: kept, checked for emptiness only.
    std::string m_increment = "1";
    int m_unit = 1;

private:
    void MoveTime(std::int32_t from, std::int32_t to);

    IBrowseDocument& m_doc;
    double m_first = 0.0;
    double m_current = 0.0;
    double m_last = 0.0;
    std::int32_t m_browseScan = 0;
    std::int32_t m_scanCount = 0;
    int m_position = kMinimum;
    std::string m_firstText;
    std::string m_lastText;
    std::string m_durationText;
};
