#pragma once

// Choosing the printer a report goes to, apart from the printing itself
// (components/gui/ReportPrinting.h), so that the rules are tested without a
// print system.

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace kml::report {

// The index of the entry of the printer list that equals name, ignoring
// letter case; -1 when name is empty or not in the list.
int FindPrinter(const QString& name, const QStringList& printers);

// A printout that cannot go to a printer. The texts carry the phrases the
// application error handler recognises as printer problems.
class PrinterError final : public std::runtime_error {
public:
    explicit PrinterError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The printer a direct printout goes to: the list's own spelling of
// wanted, or the default printer when wanted is empty. Throws PrinterError
// when wanted names no installed printer ("Printer selected is not valid")
// and when wanted is empty and there is no default printer ("There is no
// default printer currently selected"): a printout must never vanish into
// a printer that is not there, nor go to another one unasked.
QString DirectPrinter(const QString& wanted, const QStringList& printers, const QString& defaultPrinter);

} // namespace kml::report
