#pragma once
#include <memory>

#include "platform/sheet/PropertyPage.h"
#include "platform/sheet/PropertySheet.h"

class CFXScan;
class ISheetDocument;
namespace Ui {
class ScanSettingsPage;
}

// The Scan Settings page: the interval, how a scan starts and stops, and
// whether stopping leaves the instrument scanning. It writes the scan record
// when it is left and its times pass their checks; a running scan lets only
// the leave-scanning choice change.
class CScanSettingsPage final : public tvane::PropertyPage {
    Q_OBJECT
public:
    CScanSettingsPage();
    ~CScanSettingsPage() override;
    // Set before the sheet runs; neither is owned.
    void SetScan(CFXScan* scan, ISheetDocument* document) {
        m_scan = scan;
        m_document = document;
    }
    Ui::ScanSettingsPage& Controls() { return *m_ui; }

protected:
    void OnInitPage() override;
    bool OnKillActive() override;

private:
    void ApplyStartRules();
    void ApplyStopRules();
    int StartMode() const;
    int StopMode() const;

    std::unique_ptr<Ui::ScanSettingsPage> m_ui;
    CFXScan* m_scan = nullptr;
    ISheetDocument* m_document = nullptr;
    bool m_scanning = false;
};

// "Scan Settings": the sheet of the one page, OK and Cancel.
class CScanSettings final : public tvane::PropertySheet {
    Q_OBJECT
public:
    explicit CScanSettings(QWidget* parent = nullptr);
    CScanSettingsPage& Page() { return *m_page; }

private:
    CScanSettingsPage* m_page;
};
