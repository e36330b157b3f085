#pragma once
#include <string>
#include <vector>

#include "platform/print/PrintSettings.h"
#include "platform/print/PrintSetupModel.h"

class QPrinter;

namespace tvane {

// Lays the settings on a printer before it prints or its dialog shows: the
// printer (when the print system still offers it), the paper and the
// orientation.
void ApplyPrintSettings(QPrinter& printer, const PrintSettings& settings = ProgramPrintSettings());

// The papers Print Setup offers, and the one a new printer starts with.
std::vector<PrintSetupModel::Paper> OfferedPapers();
std::string DefaultPaper();
// The print system's printers (none without one) and its default.
std::vector<std::string> OfferedPrinters();
std::string DefaultPrinter();

} // namespace tvane
