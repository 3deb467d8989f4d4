#pragma once

// Laid-out reports on real printers (CUPS through Qt's print support).

#include "components/report/Document.h"

#include <QString>
#include <QStringList>

class QPrinter;

namespace kml::report {

// The installed printers' names and the default printer ("" when none).
QStringList InstalledPrinters();
QString DefaultPrinterName();

// Prints every page on the printer as it is set up (a printer chosen in the
// print dialog, or a PDF file): paper and orientation of the document, its
// title as the job's name, the same places as on the preview. Throws
// PrinterError when the printer cannot be opened.
void PrintDocument(const Document& document, QPrinter& printer);

// Prints every page at once on the installed printer named wanted (letter
// case ignored), or on the default printer when wanted is empty; see
// DirectPrinter for the errors.
void PrintDocumentOn(const Document& document, const QString& wanted);

} // namespace kml::report
