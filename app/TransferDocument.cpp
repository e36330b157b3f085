#include "app/TransferDocument.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "app/CLoggerDoc.h"
#include "database/CDatasetStore.h"
#include "platform/storage/Storage.h"

namespace {

bool SameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string TransferDocument::FormatTime(tvane::CTime time) {
    return m_doc.FormatTime(time);
}

bool TransferDocument::OpenStoredDataset(const std::string& key, const std::string& datasetFile,
                                         DatasetDirEntry& entry) {
    if (key.empty() || datasetFile.empty())
        return false;
    try {
        CDatasetStore* own = m_doc.GetDatasetStore();
        if (own != nullptr && own->IsOpen() && SameNoCase(own->GetPath(), datasetFile))
            return own->FindDataset(key, &entry);
        CDatasetStore store;
        if (!store.Open(datasetFile, tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE))
            return false;
        const bool found = store.FindDataset(key, &entry);
        store.Close();
        return found;
    } catch (const std::exception&) {
        return false;
    }
}
