#pragma once
#include <string>
#include <vector>

#include "platform/print/PrintSettings.h"

namespace tvane {

// The Print Setup dialog without its window: the papers and printers offered,
// the choices made, and OK storing them. Until OK the settings are untouched,
// so Cancel is simply not calling it.
class PrintSetupModel {
public:
    struct Paper {
        std::string key;  // what the settings keep
        std::string name; // what the list shows
    };

    // papers must not be empty; printers may be (then prints go to a PDF
    // file). defaultPaper and defaultPrinter are chosen when the settings
    // name none of the offered ones.
    PrintSetupModel(PrintSettings& settings, std::vector<Paper> papers,
                    std::vector<std::string> printers, const std::string& defaultPaper,
                    const std::string& defaultPrinter = {});

    const std::vector<Paper>& Papers() const { return m_papers; }
    const std::vector<std::string>& Printers() const { return m_printers; }
    bool HasPrinters() const { return !m_printers.empty(); }

    int PaperIndex() const { return m_paper; }
    void SetPaperIndex(int index);
    PageOrientation Orientation() const { return m_orientation; }
    void SetOrientation(PageOrientation orientation) { m_orientation = orientation; }
    // -1 without printers.
    int PrinterIndex() const { return m_printer; }
    void SetPrinterIndex(int index);

    // OK: the choices become the settings.
    void Ok();

    // Print, Print Preview and Print Setup: always, but on the scan setup page
    // not while a scan runs.
    static bool IsPrintEnabled(bool setupPageActive, bool scanning) {
        return !(setupPageActive && scanning);
    }

private:
    PrintSettings& m_settings;
    std::vector<Paper> m_papers;
    std::vector<std::string> m_printers;
    int m_paper = 0;
    PageOrientation m_orientation = PageOrientation::Portrait;
    int m_printer = -1;
};

} // namespace tvane
