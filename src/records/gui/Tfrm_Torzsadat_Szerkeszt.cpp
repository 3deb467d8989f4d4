#include "records/gui/Tfrm_Torzsadat_Szerkeszt.h"

#include "records/LookupTables.h"

#include <QApplication>

namespace kml {

Tfrm_Torzsadat_Szerkeszt::Tfrm_Torzsadat_Szerkeszt(const QString& table, const QString& caption,
                                                   QWidget* parent)
    : FormEditor(LookupRowEditorDefinition(table, caption), parent) {
    resize(380, sizeHint().height());
}

int Tfrm_Torzsadat_Szerkeszt::Run(int key, const QString& table, const QString& caption) {
    Tfrm_Torzsadat_Szerkeszt window(table, caption, QApplication::activeWindow());
    const auto saved = RunFormEditor(window, key == -1 ? std::nullopt : std::optional<qlonglong>(key));
    return saved ? int(*saved) : -1;
}

} // namespace kml
