#pragma once

// The status workflow of a work sheet, its payment, cancellation and
// employees, as the main window's actions run them on the current sheet
// (aStatusz, aKesz, aKifizet, aTorol, aUjDolgozo, aTorolDolgozo), apart
// from the widgets. Each flow reads the sheet fresh, asks its questions,
// and writes only while the sheet is still as the user saw it when
// answering; a sheet changed meanwhile gets a message and nothing written.
//
// Statuses: 0 "Árajánlat" -> 1 "Beérkezett" -> 2 "Megkezdve" (an employee
// is needed) -> 3 "Készen van" -> 4 "Számlázva" (with the invoice number).

#include "worksheets/WorkSheetState.h"

#include <QString>
#include <optional>

namespace kml {

namespace worksheet_text {
inline const QString OrderedQuestion = QStringLiteral("Valóban megrendelték a munkát?");
inline const QString ReadyQuestion = QStringLiteral("Biztosan elkészült?");
inline const QString InvoiceCaption = QStringLiteral("Számlaszám");
inline const QString InvoicePrompt = QStringLiteral("Add meg a számlaszámot!");
inline const QString UnpayQuestion =
    QStringLiteral("Ez a munkalap már ki lett fizetve. Törlöd a kifizetést?");
// "Munkalap kifizetés (" + amount + ") kész."
QString PaymentDone(const QString& amount);
} // namespace worksheet_text

// How a flow ended; the list is read again after every outcome but Nothing.
enum class SheetFlow {
    Nothing, // declined, or nothing to do: nothing written, nothing shown beyond the questions
    Done,    // written
    Refused, // the sheet's state forbids it: said so
    Stale,   // the sheet changed or went meanwhile: said so, nothing written
};
inline bool ListNeedsReading(SheetFlow flow) {
    return flow != SheetFlow::Nothing;
}

// Each flow takes the sheet as the user saw it (its row in the list) and
// refuses, with "…módosították…" and nothing written, when the server no
// longer holds that: its status, paid mark, cancel mark or invoice number
// changed since, in whichever direction (Stale).

// "Köv.státusz": the next status by the status seen.
SheetFlow AdvanceStatus(const SeenSheet& seen);
// "Készen van!": status 1 or 2 straight to 3, without questions.
SheetFlow MarkReady(const SeenSheet& seen);
// "Kifizet": marks an unpaid sheet paid, or (after the question) clears the
// mark of a paid one; "Munkalap kifizetés (amount) kész." once written.
SheetFlow TogglePayment(const SeenSheet& seen);
// "Töröl" on the work-sheet tab: after "Valóban töröljem a sort?" the sheet
// is cancelled (storno 'I'); it stays in the list.
SheetFlow CancelSheet(const SeenSheet& seen);
// "Új dolgozó": an employee chosen and linked to the sheet.
SheetFlow AddSheetEmployee(const SeenSheet& seen);
// "Törlés": the employee (when there is one) unlinked, the sheet's
// employee names rebuilt; no question.
SheetFlow RemoveSheetEmployee(const SeenSheet& seen, std::optional<qlonglong> employee);

// Statements of the flows.
// "CALL sp_statuszlepes(sheet,'user',from,to,invoice or NULL);": one row, 1 when it moved.
QString StatusStepSql(qlonglong sheet, const QString& user, int from, int to,
                      const std::optional<QString>& invoiceNumber = std::nullopt);
// "CALL sp_fizetes(sheet,'I' or 'N');": one row, 1 when the mark changed.
QString PaymentSql(qlonglong sheet, bool paid);
// "UPDATE munkalap SET storno = 'I' WHERE munkalap = sheet AND storno = 'N';"
QString CancelSheetSql(qlonglong sheet);

} // namespace kml
