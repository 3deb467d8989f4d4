#include "records/gui/Tfrm_Torzsadat.h"

#include "records/LookupTables.h"

#include <QApplication>

namespace kml {

Tfrm_Torzsadat::Tfrm_Torzsadat(const QString& table, bool softDelete, const QString& caption, QWidget* parent)
    : ListWindow(LookupListDefinition(table, softDelete, caption), parent) {}

int Tfrm_Torzsadat::Run(int select, bool chooser, const QString& table, bool softDelete,
                        const QString& caption, QString& name) {
    Tfrm_Torzsadat window(table, softDelete, caption, QApplication::activeWindow());
    const ChosenRow chosen = window.choose(select, chooser, caption);
    name = chosen.name;
    return chosen.key;
}

} // namespace kml
