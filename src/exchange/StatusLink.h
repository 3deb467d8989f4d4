#pragma once

// The customer's view of a job: the address of a work sheet's page on the
// shop's website, from the shop-wide setting "Állapot link" (allapotlink),
// and the status feed that gives the website what such a page shows.
//
// The website is outside this program. It learns each sheet's status from
// the saved export "Munkalap állapot" (installed with the seed data and
// editable like any other): sheet number, key, status name, promised date,
// finished date and paid mark of the sheets changed in the last 90 days,
// nothing about the customer. The customer gets the address on the printed
// sheet, as text and as a QR code.

#include <QString>

namespace kml {

// The name of the predefined status feed among the saved exports.
inline const QString StatusFeedName = QStringLiteral("Munkalap állapot");

// The sheet's status address: the template with every "%id%" replaced by
// the sheet number and every "%key%" by its RecordKey (placeholders in any
// letter case, in one pass, so that nothing a replacement brings in is
// replaced again); everything else is kept as typed. An empty (or blank)
// template gives an empty address: no status link.
QString StatusAddress(const QString& link, qlonglong sheet);

} // namespace kml
