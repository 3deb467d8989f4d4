#pragma once

// Handing a work sheet to the invoicing program (Pennart): the user checks
// the buyer's data in "Számla készítés", the program writes the invoice XML
// into the data folder and starts the invoicing program with
// "file=" + the XML's path.
//
// The file (docs/invoice.xsd describes it) holds szamlak/szamla with
// fejlec (szlatipus 1), an empty szamlakibocsato, vevo (adoszam,
// maganszemely only for a private person, nev, cim), nem_kotelezo
// (megjegyzes from fn_szlamegj) and one termek_szolgaltatas_tetelek per row
// of sp_szlasor. Empty texts are left out; numbers are written with a
// decimal point, NULL as 0.

#include "components/ResultSet.h"
#include "exchange/TXml.h"
#include "foundation/WindowOperation.h"

#include <QString>

namespace kml {

namespace invoice_text {
inline const QString WindowCaption = QStringLiteral("Számla készítés");
inline const QString NoWorkSheet = QStringLiteral("Nincs kiválasztott munkalap: a lista üres.");
inline const QString CancelledSheet = QStringLiteral("Sztornózott munkalapot nem lehet számlázni.");
// %1: the invoice number already recorded.
inline const QString AlreadyInvoiced =
    QStringLiteral("A munkalap már számlázva van (számlaszám: %1). Mégis újra számlázza?");
inline const QString NoProgram =
    QStringLiteral("Nincs megadva a számlázó program (Pennart) helye a beállításokban.");
// %1: the program's path.
inline const QString CannotStart = QStringLiteral("A számlázó program nem indítható: %1");
// %1: the reason.
inline const QString CannotWrite = QStringLiteral("A számla XML file nem írható: %1");
} // namespace invoice_text

// The buyer record of "Számla készítés" (the columns of sp_szlafej).
struct InvoiceBuyer {
    QString nev;
    QString adoszam;
    bool maganszemely = true;
    QString iranyitoszam;
    QString telepules;
    QString kozterulet_neve;
    QString kozterulet_jellege;
    QString hazszam;
};

// The window "Számla készítés" on the buyer record; true when confirmed
// (the record then holds what the user left in it).
inline WindowOperation<bool(InvoiceBuyer& buyer)> AskInvoiceBuyer{"AskInvoiceBuyer"};

// folder + "/" + customer, document and kind, each at least five digits
// (longer numbers are not cut) + ".xml".
QString InvoiceFileName(const QString& folder, qlonglong customer, qlonglong document, int kind);

// The buyer of sp_szlafej's first row; a private person with empty fields
// when it gives none.
InvoiceBuyer ReadInvoiceBuyer(int customer);
// The rows of sp_szlasor for the document.
ResultSet ReadInvoiceLines(int kind, int document);
// fn_szlamegj of the document ("" for NULL).
QString InvoiceRemark(int document);

// The invoice document.
TXml InvoiceXml(const InvoiceBuyer& buyer, const ResultSet& lines, const QString& remark);

// Starts the invoicing program with "file=" + xmlPath as its one argument,
// in the program's own folder, without waiting and without a shell. An
// empty path or a failed start is reported in the error box; false then.
bool StartInvoicingProgram(const QString& program, const QString& xmlPath);

// The invoice export of a document: reads the buyer and the lines, asks
// AskInvoiceBuyer, writes the XML into the data folder and starts the
// invoicing program of the settings (Beall().pennart). Cancelled: nothing
// is written or started. A file that cannot be written is reported and
// nothing is started. Database errors throw DbError. True when the program
// was started.
bool ExportInvoiceXml(int customer, int document, int kind);

// "Számláz" on the work-sheet list: the sheet is read afresh; no sheet (an
// empty list: 0 or -1) and a cancelled sheet are refused with a message, a
// sheet that already has an invoice number is invoiced again only when the
// user says so; then ExportInvoiceXml(customer, sheet, 1).
bool InvoiceWorkSheet(qlonglong workSheet);

} // namespace kml
