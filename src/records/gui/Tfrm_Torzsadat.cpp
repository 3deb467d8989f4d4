#include "records/gui/Tfrm_Torzsadat.h"

#include "records/LookupTables.h"

#include <QApplication>

namespace kml {

Tfrm_Torzsadat::Tfrm_Torzsadat(const QString& table, bool softDelete, const QString& caption, QWidget* parent)
    : ListWindow(LookupListDefinition(table, softDelete, caption), parent) {}

ChosenRow Tfrm_Torzsadat::Run(RowKey select, bool chooser, const QString& table, bool softDelete,
                              const QString& caption) {
    Tfrm_Torzsadat window(table, softDelete, caption, QApplication::activeWindow());
    return window.choose(select, chooser, caption);
}

} // namespace kml
