#pragma once

#include <QString>

class QTableView;

namespace kml {

// Puts the real export windows behind the exchange operations
// (ExportDataset, ChooseExportFile, AskInvoiceBuyer, OpenExportDefinitions,
// EditExportDefinition, ExportGridHtml). Each operation creates its window
// with the active window as parent, shows it modally and frees it before
// returning.
void InstallExchangeWindows();

// The grid of that object name in the active window, else in any window.
QTableView* FindGrid(const QString& gridName);

} // namespace kml
