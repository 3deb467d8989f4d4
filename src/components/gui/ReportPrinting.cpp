#include "components/gui/ReportPrinting.h"

#include "components/report/Printers.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kml::report {

QStringList InstalledPrinters() {
    return QPrinterInfo::availablePrinterNames();
}

QString DefaultPrinterName() {
    return QPrinterInfo::defaultPrinterName();
}

void PrintDocument(const Document& document, QPrinter& printer) {
    printer.setDocName(document.title);
    printer.setFullPage(true);
    QPageLayout layout = document.pageLayout;
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    printer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrinterError(QStringLiteral("Printer selected is not valid: ") + printer.printerName());
    const double pixelsPerMm = printer.resolution() / 25.4;
    for (int i = 0; i < document.pageCount(); ++i) {
        if (i > 0 && !printer.newPage())
            throw PrinterError(QStringLiteral("Printer selected is not valid: ") + printer.printerName());
        PaintPage(document, i, painter, pixelsPerMm);
    }
    if (!painter.end())
        throw PrinterError(QStringLiteral("Printer selected is not valid: ") + printer.printerName());
}

void PrintDocumentOn(const Document& document, const QString& wanted) {
    const QString name = DirectPrinter(wanted, InstalledPrinters(), DefaultPrinterName());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    PrintDocument(document, printer);
}

} // namespace kml::report
