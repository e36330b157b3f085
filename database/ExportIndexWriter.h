#pragma once
#include <string>
#include <vector>

class IExportDocument;
namespace tvane {
class OdbcDatabase;
}

// Writes the index of a setup export file from the Setup and Dataset rows of
// the workspace database. Each key is written in the index's order; a write
// that fails stops the writer and leaves the rest unwritten.
class ExportIndexWriter {
public:
    ExportIndexWriter(std::string indexPath, tvane::OdbcDatabase* database,
                      IExportDocument& document)
        : m_path(std::move(indexPath)), m_database(database), m_document(document) {}

    const std::string& Path() const { return m_path; }

    // The whole index, started afresh: the dataset list, the setup section and
    // the dataset sections. itemList gets the files to zip.
    bool Write(const std::string& setupName, const std::vector<std::string>& datasets,
               bool excludeDatasets, std::string& itemList);

    // [DATASETS]: a numbered key per dataset in the given order, then Count
    // (neither when datasets are excluded), then Setup.
    bool WriteDatasetList(const std::string& setupName, const std::vector<std::string>& datasets,
                          bool excludeDatasets);
    // The setup's section from its Setup row. Appends the index, the setup file
    // and, unless datasets are excluded, the dataset file to itemList, each in
    // double quotes followed by a blank. False, with nothing written, when the
    // setup has no row.
    bool WriteSetupSection(const std::string& setupName, bool excludeDatasets,
                           std::string& itemList);
    // One section per dataset from its Dataset row and its directory entry in
    // the setup's dataset file. A dataset without a row gets no section and
    // makes the result false; the others are still written.
    bool WriteDatasetSections(const std::string& setupName,
                              const std::vector<std::string>& datasets);

    // The name (of the setup or a dataset) whose section or keys would not read
    // back as written: a line break in a value, or a name that the index's
    // trimming or case-blind section lookup changes. Empty when all is well.
    const std::string& UnreadableName() const { return m_unreadable; }

private:
    // identifies: the value names something the import looks up (a name, a
    // file, a key), so it must read back exactly.
    bool Put(const std::string& section, const std::string& key, const std::string& value,
             const std::string& owner, bool identifies = false);
    // Reads the index back and compares what identifies a setup or dataset.
    void Verify();

    struct Written {
        std::string section, key, value, owner;
    };
    std::vector<Written> m_identities;
    std::string m_unreadable;

    std::string m_path;
    tvane::OdbcDatabase* m_database;
    IExportDocument& m_document;
};
