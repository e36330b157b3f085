#pragma once
#include <string>

#include "app/SetupSaver.h"
#include "database/IWorkspaceDocument.h"

class CLoggerDoc;

// The document as the workspace operations and the save routine see it.
class LoggerDocWorkspace final : public IWorkspaceDocument, public ISaveSetupHost {
public:
    explicit LoggerDocWorkspace(CLoggerDoc& doc) : m_doc(doc) {}

    // IWorkspaceDocument
    CStateInfo& AppState() override;
    CDatasetStore& Store() override;
    CDataset& Dataset() override;
    void CloseDatasetStore() override;
    CFXSetupArray& SetupRows() override;
    // The channels of the modules the new setup was made for.
    std::int32_t ChannelLimit() const override;
    int CountActiveChannels(bool withComputed) const override;
    // Start tick, second tick, document time and run word of the document.
    RunSummary GetRunSummary() const override;
    void SetRunSummary(const RunSummary& summary) override;
    // The document's two time bounds.
    void SetEventPositions(double first, double second) override;

    // ISaveSetupHost
    std::string FormatNow() override;
    bool IsNeverSaved() override;
    bool DatasetHasContent() override;
    void RefreshSetupGrid() override;
    void CloseDataBrowser() override;
    void UpdateAllViews(long hint) override;
    // Saves the document file and makes it the document's path.
    bool SaveDocumentFile(const std::string& path) override;
    void MarkSaved() override;
    void SetAppState(const CStateInfo& state) override;

private:
    CLoggerDoc& m_doc;
};
