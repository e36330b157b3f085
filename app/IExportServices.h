#pragma once
#include <string>

#include "shared/DiskSpace.h"

class CLoggerDoc;
class CReadingQuery;

// The system clipboard as the text export reaches it.
class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Puts text on the clipboard, dropping what it held first when emptyFirst is
    // set; false when the clipboard could not be opened (another program holds it).
    virtual bool SetText(const std::string& text, bool emptyFirst) = 0;
};

// The Export Data dialog: edits the document's export request, modally.
class IExportDataDialog {
public:
    virtual ~IExportDataDialog() = default;
    // True for OK; the request then holds the user's choices.
    virtual bool Run(CLoggerDoc& document, CReadingQuery& query) = 0;
};
