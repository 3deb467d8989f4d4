#include "reports/ReportParts.h"

#include "components/Query.h"
#include "components/report/Report.h"
#include "foundation/Folders.h"

#include <QFileInfo>

namespace kml {

namespace {
const QString kMakerAddress = QStringLiteral("www.tarnova.hu");
}

ShopTexts ReadShopTexts() {
    Query shop;
    shop.setSql(QStringLiteral("SELECT * FROM vw_tulajdonos LIMIT 1;"));
    shop.open();
    ShopTexts t;
    t.tulajdonos = shop.asString(QStringLiteral("tulajdonos"));
    t.irszvaroscim = shop.asString(QStringLiteral("irszvaroscim"));
    t.telefon = shop.asString(QStringLiteral("telefon"));
    t.adoszam = shop.asString(QStringLiteral("adoszam"));
    t.bankszamlaszam = shop.asString(QStringLiteral("bankszamlaszam"));
    return t;
}

QImage LoadShopLogo() {
    QImage logo;
    for (const QString& folder : {DataFolder(), ProgramFolder()}) {
        const QString path = folder + QStringLiteral("/Logo.bmp");
        if (QFileInfo::exists(path) && logo.load(path))
            break;
    }
    return logo;
}

void AddPageFooter(report::Report& report, const QString& layoutName, const QString& product) {
    using namespace report;
    Band& f = report.band(BandKind::PageFooter, 12);
    f.hline(0.5, 0, 190, 0.15);
    f.label({0, 1, 80, 3.6}, product, Bold(7.5));
    f.system({0, 4.6, 80, 3.6}, SystemValue::PageNumber, QStringLiteral("oldal: "), Regular(7.5));
    f.label({0, 8.2, 80, 3.6}, kMakerAddress, Regular(7.5));
    f.system({100, 1, 90, 3.6}, SystemValue::PrintDateTime, {}, Regular(7.5), Qt::AlignRight);
    f.system({100, 4.6, 90, 3.6}, SystemValue::ReportTitle, {}, Regular(7.5), Qt::AlignRight);
    f.label({100, 8.2, 90, 3.6}, layoutName, Regular(7.5), Qt::AlignRight);
}

void ShowQuantityFractions(Query& dataset, const QString& column) {
    if (dataset.fieldIndex(column) < 0)
        return;
    Field& field = dataset.fieldByName(column);
    if (!field.displayFormat.isEmpty() && !field.displayFormat.contains(QLatin1Char('.')))
        field.displayFormat += QStringLiteral(".###");
}

} // namespace kml
