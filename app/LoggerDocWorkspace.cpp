#include "app/LoggerDocWorkspace.h"

#include "app/CLoggerDoc.h"
#include "app/IDocumentOperations.h"
#include "app/ILoggerApp.h"
#include "database/CDataset.h"
#include "database/CStateInfo.h"

CStateInfo& LoggerDocWorkspace::AppState() {
    return m_doc.GetStateInfo();
}

CDatasetStore& LoggerDocWorkspace::Store() {
    return *m_doc.GetDatasetStore();
}

CDataset& LoggerDocWorkspace::Dataset() {
    return *m_doc.GetDataset();
}

void LoggerDocWorkspace::CloseDatasetStore() {
    m_doc.CloseDatasetStore();
}

CFXSetupArray& LoggerDocWorkspace::SetupRows() {
    return *m_doc.GetSetup();
}

std::int32_t LoggerDocWorkspace::ChannelLimit() const {
    return static_cast<std::int32_t>(m_doc.GetHeaderValue());
}

int LoggerDocWorkspace::CountActiveChannels(bool withComputed) const {
    return m_doc.CountActiveChannels(withComputed);
}

RunSummary LoggerDocWorkspace::GetRunSummary() const {
    return m_doc.GetScanEngine().GetRunSummary();
}

void LoggerDocWorkspace::SetRunSummary(const RunSummary& summary) {
    m_doc.GetScanEngine().SetRunSummary(summary);
}

void LoggerDocWorkspace::SetEventPositions(double first, double second) {
    m_doc.SetEventTimeBounds(first, second);
}

std::string LoggerDocWorkspace::FormatNow() {
    return m_doc.FormatNow();
}

bool LoggerDocWorkspace::IsNeverSaved() {
    return m_doc.IsNeverSaved() != 0;
}

bool LoggerDocWorkspace::DatasetHasContent() {
    const CDataset* dataset = m_doc.GetDataset();
    return dataset != nullptr && (dataset->GetReadingCount() > 0 || dataset->GetEventCount() > 0);
}

void LoggerDocWorkspace::RefreshSetupGrid() {
    m_doc.RefreshAllViews();
}

void LoggerDocWorkspace::CloseDataBrowser() {
    m_doc.CloseDataBrowser();
}

void LoggerDocWorkspace::UpdateAllViews(long hint) {
    m_doc.UpdateAllViews(nullptr, hint);
}

bool LoggerDocWorkspace::SaveDocumentFile(const std::string& path) {
    if (!m_doc.OnSaveDocument(path))
        return false;
    m_doc.SetPathName(path);
    return true;
}

void LoggerDocWorkspace::MarkSaved() {
    m_doc.SetNeverSaved(0);
    m_doc.SetModifiedFlag(false);
}

void LoggerDocWorkspace::SetAppState(const CStateInfo& state) {
    m_doc.GetApp().SetStateInfo(state);
}
