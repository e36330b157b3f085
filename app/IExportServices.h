#pragma once
#include <string>

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

// The free-space check before an export file is written.
class IDiskSpaceCheck {
public:
    virtual ~IDiskSpaceCheck() = default;
    // True when the file system of folder has at least bytes free; otherwise the
    // user has been told.
    virtual bool HasFreeSpace(double bytes, const std::string& folder) = 0;
};
