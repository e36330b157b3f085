#pragma once
#include <memory>

class CLoggerDoc;

// The Data Browser window as the document holds it: at most one exists per
// document. Destroying it takes its window down (the main window comes to the
// front first); the window closing by itself tells the document through
// CLoggerDoc::DataBrowserClosed instead.
class IDataBrowser {
public:
    virtual ~IDataBrowser() = default;
    virtual void Show(bool show) = 0;
};

// Makes the Data Browser window over the main window for the document, shown,
// on top and with the focus.
class IDataBrowserFactory {
public:
    virtual ~IDataBrowserFactory() = default;
    virtual std::unique_ptr<IDataBrowser> CreateDataBrowser(CLoggerDoc& doc) = 0;
};
