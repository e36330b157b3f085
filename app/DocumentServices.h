#pragma once

class IClipboard;
class IDataBrowserFactory;
class IDiskSpaceCheck;
class IDocumentInstrument;
class IDocumentOperations;
class IEventEditDialog;
class IExportDataDialog;
class IInstrumentUi;
class IScanHost;
class IScanInstrument;

// Everything from outside the document works through: the program hands these
// in once after making the document (the test fixtures hand in their fakes).
// A missing service makes the work that needs it do nothing.
struct DocumentServices {
    IScanHost* scanHost = nullptr;             // the windows around a run
    IScanInstrument* scanInstrument = nullptr; // the run's instrument calls
    IDocumentInstrument* instrument = nullptr; // the instrument outside the scan loop
    IInstrumentUi* instrumentUi = nullptr;     // the windows the instrument work shows
    IClipboard* clipboard = nullptr;
    IExportDataDialog* exportDialog = nullptr;
    IDiskSpaceCheck* diskSpaceCheck = nullptr;
    IEventEditDialog* eventEditDialog = nullptr; // Add Event
    IDocumentOperations* operations = nullptr;   // the workspace's part of the lifecycle
    IDataBrowserFactory* dataBrowser = nullptr;  // the Data Browser window
};
