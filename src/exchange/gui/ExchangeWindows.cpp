#include "exchange/gui/ExchangeWindows.h"

#include "exchange/DatasetExport.h"
#include "exchange/InvoiceExport.h"
#include "exchange/gui/Tfrm_Hatarolt.h"
#include "exchange/gui/Tfrm_SzlaKeszitXML.h"

namespace kml {

void InstallExchangeWindows() {
    ExportDataset.install(
        [](Query& data, const QString& defaultFileName) { Tfrm_Hatarolt::Run(data, defaultFileName); });
    ChooseExportFile.install([](const QString& proposed) { return Tfrm_Hatarolt::ChooseFile(proposed); });
    AskInvoiceBuyer.install([](InvoiceBuyer& buyer) { return Tfrm_SzlaKeszitXML::Run(buyer); });
}

} // namespace kml
