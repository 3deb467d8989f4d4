#include "components/report/Printers.h"

namespace kml::report {

int FindPrinter(const QString& name, const QStringList& printers) {
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < printers.size(); ++i)
        if (printers.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString DirectPrinter(const QString& wanted, const QStringList& printers, const QString& defaultPrinter) {
    if (!wanted.isEmpty()) {
        const int index = FindPrinter(wanted, printers);
        if (index < 0)
            throw PrinterError(QStringLiteral("Printer selected is not valid: ") + wanted);
        return printers.at(index);
    }
    if (defaultPrinter.isEmpty())
        throw PrinterError(QStringLiteral("There is no default printer currently selected"));
    return defaultPrinter;
}

} // namespace kml::report
