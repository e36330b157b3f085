#include "platform/printview/PrintPreview.h"

#include <QPrintPreviewDialog>

#include "platform/printview/QtPrintSettings.h"

namespace tvane {

void ShowPrintPreview(QWidget* parent, QPrinter::PrinterMode mode,
                      const std::function<void(QPrinter&)>& paint) {
    QPrinter printer(mode);
    ApplyPrintSettings(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}

} // namespace tvane
