#pragma once
#include <string>

#include "database/IExportDocument.h"

class CLoggerDoc;

// The document as the setup transfer reads it: its time-stamp text and the
// directory entries of stored datasets, looked up in the document's own open
// storage file when it is that file (it is held exclusively), else in the
// file opened for the lookup.
class TransferDocument final : public IExportDocument {
public:
    explicit TransferDocument(CLoggerDoc& doc) : m_doc(doc) {}
    std::string FormatTime(tvane::CTime time) override;
    bool OpenStoredDataset(const std::string& key, const std::string& datasetFile,
                           DatasetDirEntry& entry) override;

private:
    CLoggerDoc& m_doc;
};
