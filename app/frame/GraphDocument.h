#pragma once
#include "graphics/CXrtOverlayFrame.h"
#include "graphics/IGraphDocument.h"

class CLoggerDoc;

// The program's document as the graphics pages see it, through its accessors.
class GraphDocument final : public IGraphDocument, public IStripChartDocument {
public:
    explicit GraphDocument(CLoggerDoc& doc) : m_doc(doc) {}

    bool HasReadings() const override;
    std::int64_t GetReadingCount() const override;
    bool IsScanning() const override;
    void FillChannelInfoArray(CChannelArray& out, std::uint32_t kindMask,
                              bool activeOnly) const override;
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override;
    std::string GetFormat(Format format) const override;
    std::string FormatReadingTime(double time) override;
    double GetStartTick() const override;
    std::int32_t GetTerminationCode() const override;
    void RaiseFrameCounter(std::uint32_t value) override;
    void AddViewFlags(std::uint32_t bits) override;
    bool DoInstrumentAction(CReadingInfo& request, bool ask) override;
    void ResendData(IView& target) override;
    bool GetPreference(int id) const override;
    void ShowEventInLog(const CDatasetEvent& event) override;

    // IStripChartDocument
    double GetRunStartTime() const override;
    double GetRunEndTime() const override;
    double GetRunTime() const override;
    void GetScanChannelList(std::vector<std::string>& labels,
                            std::vector<std::uint32_t>& numbers) const override;
    std::string ExportReadingsText(const CReadingQuery& query) override;

private:
    CLoggerDoc& m_doc;
};
