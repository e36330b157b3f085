#pragma once
#include <string>

#include "database/DatasetDirEntry.h"
#include "platform/archive/CTime.h"

// What the setup export asks of the document: its time-stamp text and the
// directory entry of a stored dataset.
class IExportDocument {
public:
    virtual ~IExportDocument() = default;

    // A time as the document's first time-stamp format shows it.
    virtual std::string FormatTime(tvane::CTime time) = 0;
    // The directory entry of the dataset key in the dataset storage file; false
    // when either name is empty or the file or the dataset cannot be opened.
    virtual bool OpenStoredDataset(const std::string& key, const std::string& datasetFile,
                                   DatasetDirEntry& entry) = 0;
};
