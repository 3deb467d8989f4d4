#pragma once

#include "patterns/gui/ListWindow.h"

namespace kml {

// "Adatexport": the saved export definitions (ExportDefinitionList) with
// their runs: "Export" (F3) to the file, "FTP export" (Shift+F3, offered
// only for a definition that uploads) to the file and the FTP server,
// "Vágólapra" (F4) to the clipboard. A run reports "Export kész." only when
// everything worked, "Hiba: ..." otherwise; while it runs the window keeps
// painting but takes no input. "Új sor", "Szerkeszt" and "Sor törlése" are
// offered to administrators and master-data users and run for
// administrators.
class Tfrm_TorzsCsvExp final : public ListWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsCsvExp(QWidget* parent = nullptr);

    // OpenExportDefinitions.
    static void Run(QWidget* parent = nullptr);

protected:
    void rowChanged() override;

private:
    void runExport(qlonglong key, int destination);
};

} // namespace kml
