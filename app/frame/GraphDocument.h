#pragma once
#include "graphics/IGraphDocument.h"

class CLoggerDoc;

// The program's document as the graphics pages and their displays see it,
// through its accessors.
class GraphDocument final : public IGraphDocument {
public:
    explicit GraphDocument(CLoggerDoc& doc) : m_doc(doc) {}

    // IDocumentReadings
    bool HasReadings() const override;
    std::int64_t GetReadingCount() const override;
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override;
    std::string ExportReadingsText(const CReadingQuery& query) override;
    // IRunTimes
    bool IsScanning() const override;
    double GetStartTick() const override;
    double GetRunStartTime() const override;
    double GetRunEndTime() const override;
    double GetRunTime() const override;
    std::int32_t GetTerminationCode() const override;
    std::string GetFormat(Format format) const override;
    std::string FormatReadingTime(double time) override;
    // IChannelLists
    void FillChannelInfoArray(CChannelArray& out, std::uint32_t kindMask,
                              bool activeOnly) const override;
    void GetScanChannelList(std::vector<std::string>& labels,
                            std::vector<std::uint32_t>& numbers) const override;
    // IDocumentEvents
    void ShowEventInLog(const CDatasetEvent& event) override;
    // IDisplayActions
    bool DoInstrumentAction(CReadingInfo& request, bool ask) override;
    // IGraphDocument
    void RaiseFrameCounter(std::uint32_t value) override;
    void AddViewFlags(std::uint32_t bits) override;
    void ResendData(IView& target) override;
    bool GetPreference(int id) const override;

private:
    CLoggerDoc& m_doc;
};
