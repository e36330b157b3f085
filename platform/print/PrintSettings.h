#pragma once
#include <string>

namespace tvane {

enum class PageOrientation { Portrait, Landscape };

// What every print of the program starts from. Empty names leave the choice to
// the printer: its own paper, and the default printer (a PDF file where no
// print system offers printers).
struct PrintSettings {
    std::string paper; // the paper size's key, e.g. "A4" or "Letter"
    PageOrientation orientation = PageOrientation::Portrait;
    std::string printer;

    bool operator==(const PrintSettings&) const = default;
};

// The program's one set, kept while it runs.
PrintSettings& ProgramPrintSettings();

} // namespace tvane
