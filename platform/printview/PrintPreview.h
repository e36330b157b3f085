#pragma once
#include <functional>

#include <QPrinter>

class QWidget;

namespace tvane {

// Print Preview: a preview window over a printer that starts from the
// program's print settings. paint puts the pages on it, as a print would, each
// time the window lays them out anew (a change of orientation or paper in it).
void ShowPrintPreview(QWidget* parent, QPrinter::PrinterMode mode,
                      const std::function<void(QPrinter&)>& paint);

} // namespace tvane
