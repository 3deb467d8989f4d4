#include "records/gui/Tfrm_TorzsTetel.h"

#include "components/Query.h"
#include "foundation/Settings.h"
#include "records/Catalogue.h"

namespace kml {

Tfrm_TorzsTetel::Tfrm_TorzsTetel(QWidget* parent) : ListWindow(CatalogueListDefinition(), parent) {
    addListAction(QStringLiteral("aExport"), QStringLiteral("Export"), QKeySequence(Qt::CTRL | Qt::Key_E),
                  &ExportCatalogue);
    // The prices in the money format (FormatFt), from the first opening on.
    for (const char* price : {"ar_besz", "ar_elad"})
        query().fieldSettings(QLatin1String(price)).displayFormat = Beall().formatFt;
}

} // namespace kml
