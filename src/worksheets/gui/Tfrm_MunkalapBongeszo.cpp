#include "worksheets/gui/Tfrm_MunkalapBongeszo.h"

#include "components/Query.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "worksheets/WorkSheetBrowsers.h"
#include "worksheets/WorkSheetWindows.h"

#include <QApplication>

namespace kml {

Tfrm_MunkalapBongeszo::Tfrm_MunkalapBongeszo(int customer, int device, QWidget* parent)
    : ListWindow(SheetBrowserDefinition(customer, device), parent) {
    addRowAction(QStringLiteral("aNyomtat"), QStringLiteral("Nyomtat"), QKeySequence(Qt::CTRL | Qt::Key_P),
                 [this](qlonglong sheet) { PrintFromSheetBrowser(int(sheet), query()); });
    addRowAction(
        QStringLiteral("aMegnyit"), QStringLiteral("Megyit"), QKeySequence(Qt::Key_F2),
        [](qlonglong sheet) { EditWorkSheet(sheet, std::nullopt, std::nullopt, false, std::nullopt); });
    for (const char* price : {"ar_ossz", "ar_fizetendo", "ar_kedvezmeny", "ar_eloleg"}) {
        Field& field = query().fieldSettings(QLatin1String(price));
        field.displayFormat = Beall().formatFt;
        field.alignment = Qt::AlignRight | Qt::AlignVCenter;
    }
}

void Tfrm_MunkalapBongeszo::Run(int customer, int device) {
    Tfrm_MunkalapBongeszo window(customer, device, QApplication::activeWindow());
    window.openAt(std::nullopt);
    window.exec();
    window.query().close();
}

} // namespace kml
