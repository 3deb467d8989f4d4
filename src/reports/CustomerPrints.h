#pragma once

// Printouts about customers: the customer list as the main window's
// customers tab shows it, an addressed envelope and a filled-in
// registered-mail form for one customer (both on 160 × 113 mm paper), and the
// notes of a customer, work sheet or device.
//
//     PrintCustomerList(false, customers.query().sql().join("\n")); // preview
//     PrintEnvelope(42);                                            // default printer
//     PrintNotes(1, 42, NoteHeading(42, 1));                        // asks how to print
//
// Each Make...Document function lays a printout out over what it reads on
// the shared connection, without asking or printing: the Print... functions
// use them, tests and the batch commands save them as PDF.

#include "components/report/Document.h"
#include "reports/ReportParts.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <memory>

namespace kml {

class Query;

namespace customer_print {
inline const QString ListTitle = QStringLiteral("Ügyfelek listája");
inline const QString EnvelopeTitle = QStringLiteral("Boríték nyomtatás");
inline const QString NotesTitle = QStringLiteral("Megjegyzések");
inline const QString ProductLabel = QStringLiteral("KoravelML");
// The envelope's and the form's paper, width × height in millimetres.
inline constexpr double PaperWidth = 160;
inline constexpr double PaperHeight = 113;
} // namespace customer_print

// ---- The layouts --------------------------------------------------------------

// "qrUgyfel": A4, on every page the heading with the shop's data and the
// column titles; per customer three lines (name, address, phone, last date;
// e-mail and warning date; the remark over the whole width, growing) and a
// rule.
std::unique_ptr<report::Report> BuildCustomerListReport(const ShopTexts& shop);
// "qrBoritek" over vw_boritek's columns: the sender top left with the logo
// under it, the addressee on the right half.
std::unique_ptr<report::Report> BuildEnvelopeReport(const QImage& logo);
// The shop's master row as the registered-mail form prints it: varoscim is
// varos + ", " + cim, each NULL taken as empty.
struct FormSender {
    QString tulajdonos, irsz, varoscim;
};
FormSender ReadFormSender();
// "qrAjanlott" over the customer's columns (ugyfel_nev, cim_irsz, cim_varos,
// cim_cim), with the sender's texts placed on the pre-printed form.
std::unique_ptr<report::Report> BuildRegisteredFormReport(const FormSender& sender);
// "qrMegjegyzes": the heading text under the title, the shop's data, per note
// its date, user and title and the text over the whole width, growing.
std::unique_ptr<report::Report> BuildNotesReport(const ShopTexts& shop, const QString& heading);

// ---- Reading and laying out ---------------------------------------------------

// Opens the statement (the customer list's SQL text as it stands, its WHERE
// and ORDER lines included) with the list's date formats.
void OpenCustomerListQuery(Query& dataset, const QString& sql);
report::Document MakeCustomerListDocument(const Query& dataset, const ShopTexts& shop,
                                          const QDateTime& printed = QDateTime::currentDateTime());
// The same written to a PDF file page by page, never holding the whole
// list's pages (a long list of a large shop).
void SaveCustomerListPdf(const Query& dataset, const ShopTexts& shop, const QString& path,
                         const QDateTime& printed = QDateTime::currentDateTime());
// A customer that does not exist gives one page with the sender alone.
report::Document MakeEnvelopeDocument(int customer, const QImage& logo);
report::Document MakeRegisteredFormDocument(int customer);
// The notes of one record (kind 1 customer, 2 work sheet, 3 device), the
// newest first.
void OpenNotesQuery(Query& dataset, int kind, int id);
report::Document MakeNotesDocument(const Query& dataset, const ShopTexts& shop, const QString& heading,
                                   const QDateTime& printed = QDateTime::currentDateTime());

// ---- The printouts as the windows start them ------------------------------------

// The customer list over the given SQL text: printed at once (toPrinter) on
// the printer AlapNyomtato when it is installed, else on the default
// printer; or shown in the preview with that printer proposed, its first
// page at once and the rest laid out while it is open. Database and printer
// errors are thrown.
void PrintCustomerList(bool toPrinter, const QString& sql);
// The envelope and the registered-mail form of a customer, printed at once
// on the default printer.
void PrintEnvelope(int customer);
void PrintRegisteredForm(int customer);
// The notes of a record: asks how to print (AskPrintModeIndex, the first
// printer proposed) and shows the preview (0), prints on the chosen
// printer (1) or opens the export window on the notes (2, only with the
// export right); cancelled: nothing.
void PrintNotes(int kind, int id, const QString& heading);

} // namespace kml
