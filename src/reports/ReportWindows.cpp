#include "reports/ReportWindows.h"

namespace kml::print_choice {

QString InitialPrinterName(const QString& passed, const QStringList& printers) {
    if (passed.isEmpty() && !printers.isEmpty())
        return printers.first();
    return passed;
}

int InitialPrinterIndex(int passed, int printerCount) {
    if (passed == -1 && printerCount > 0)
        return 0;
    return passed;
}

} // namespace kml::print_choice
