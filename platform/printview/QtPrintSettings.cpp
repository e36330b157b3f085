#include "platform/printview/QtPrintSettings.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace tvane {

namespace {

constexpr QPageSize::PageSizeId kPapers[] = {
    QPageSize::A3,     QPageSize::A4,    QPageSize::A5,        QPageSize::B5,
    QPageSize::Letter, QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid,
};

} // namespace

void ApplyPrintSettings(QPrinter& printer, const PrintSettings& settings) {
    if (!settings.printer.empty() &&
        QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(settings.printer)))
        printer.setPrinterName(QString::fromStdString(settings.printer));
    for (QPageSize::PageSizeId id : kPapers)
        if (QPageSize::key(id).toStdString() == settings.paper)
            printer.setPageSize(QPageSize(id));
    printer.setPageOrientation(settings.orientation == PageOrientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

std::vector<PrintSetupModel::Paper> OfferedPapers() {
    std::vector<PrintSetupModel::Paper> papers;
    for (QPageSize::PageSizeId id : kPapers)
        papers.push_back({QPageSize::key(id).toStdString(), QPageSize::name(id).toStdString()});
    return papers;
}

std::string DefaultPaper() {
    const QPrinter printer;
    return printer.pageLayout().pageSize().key().toStdString();
}

std::vector<std::string> OfferedPrinters() {
    std::vector<std::string> printers;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers.push_back(name.toStdString());
    return printers;
}

std::string DefaultPrinter() {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

} // namespace tvane
