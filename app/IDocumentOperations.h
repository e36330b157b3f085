#pragma once
#include <cstdint>
#include <string>

struct CStateInfo;
class CLoggerDoc;

// Work of the document that lives with the database, the save routine and the
// scan engine. The document's lifecycle calls it at fixed points; while none is
// installed every step that needs it fails.
class IDocumentOperations {
public:
    virtual ~IDocumentOperations() = default;

    // Storage file and Setup row of a new setup.
    virtual bool CreateSetupStorage(CLoggerDoc& doc, CStateInfo& state) = 0;
    // The channel rows of slots 1 to 3 from the database.
    virtual bool LoadModuleChannels(CLoggerDoc& doc, CStateInfo& state) = 0;
    // A new dataset of the current setup under a default name.
    virtual bool SaveDataset(CLoggerDoc& doc, CStateInfo& state) = 0;
    // Opens the current dataset and copies its time range and counts.
    virtual bool LoadDatasetFile(CLoggerDoc& doc, CStateInfo& state) = 0;
    // The highest channel number among the readings of the last scan.
    virtual std::int32_t GetLastScanMaxChannel(CLoggerDoc& doc) = 0;
    // Deletes a setup with its storage files.
    virtual bool DeleteSetup(CLoggerDoc& doc, const std::string& setupName) = 0;
    // Removes the state record's (empty) dataset from the database and the file.
    virtual bool DeleteDataset(CLoggerDoc& doc, CStateInfo& state) = 0;

    // Save Setup As with mode 0 (Save As), 1, 2 (never saved) or 3.
    virtual bool SaveSetupAs(CLoggerDoc& doc, CStateInfo& state, int mode) = 0;

    // Builds the setup from the instrument.
    virtual bool UploadSetup(CLoggerDoc& doc, CStateInfo& state) = 0;
    virtual void StartScan(CLoggerDoc& doc) = 0;
    // Ends the run with the document's termination code.
    virtual void EndScan(CLoggerDoc& doc) = 0;
    // The countdown text of a run waiting for its next scan.
    virtual void ShowWaitingStatus(CLoggerDoc& doc) = 0;
};
