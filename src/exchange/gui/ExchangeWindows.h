#pragma once

namespace kml {

// Puts the real export windows behind the exchange operations
// (ExportDataset, ChooseExportFile, AskInvoiceBuyer). Each operation creates
// its window with the active window as parent, shows it modally and frees
// it before returning.
void InstallExchangeWindows();

} // namespace kml
