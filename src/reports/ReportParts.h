#pragma once

// What every printout of the shop shares: the shop's own data at the top and
// the page footer at the bottom.

#include <QImage>
#include <QString>

namespace kml {

class Query;

namespace report {
class Report;
}

// The shop's data from vw_tulajdonos (empty texts when the table is empty).
struct ShopTexts {
    QString tulajdonos, irszvaroscim, telefon, adoszam, bankszamlaszam;
};
ShopTexts ReadShopTexts();

// Logo.bmp from the data folder, else from the program folder (which a
// system-wide installation cannot write to); a null image when neither has
// a readable one.
QImage LoadShopLogo();

// The page footer of every printout, 12 mm: the program's name, the page
// number and the maker's address on the left; the time of printing, the
// document's title and the layout's name ("qrMunkalap", "qrFogyas", ...) on
// the right; a rule above. The report's width is 190 mm.
// product stands in place of the program's name.
void AddPageFooter(report::Report& report, const QString& layoutName,
                   const QString& product = QStringLiteral("Koravel.ML"));

// Half a litre of coolant must not read as 1 beside its half price: when the
// column's display format has no decimals, it gets up to three that show
// only when the value has them. For an open dataset, after
// ApplyNumberFormats; nothing happens when the column is absent.
void ShowQuantityFractions(Query& dataset, const QString& column);

} // namespace kml
