#include "exchange/InvoiceExport.h"

#include "components/Connection.h"
#include "components/Query.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/Folders.h"
#include "foundation/Settings.h"

#include <QFileInfo>
#include <QProcess>
#include <stdexcept>

namespace kml {
namespace {

QString Text(const ResultSet& result, int row, const char* column) {
    const int col = result.columnIndex(QString::fromLatin1(column));
    return col < 0 ? QString() : result.text(row, col);
}

double Number(const ResultSet& result, int row, const char* column) {
    const int col = result.columnIndex(QString::fromLatin1(column));
    return col < 0 ? 0.0 : result.value(row, col).toDouble();
}

} // namespace

QString InvoiceFileName(const QString& folder, qlonglong customer, qlonglong document, int kind) {
    const auto five = [](qlonglong n) { return QString::number(n).rightJustified(5, QLatin1Char('0')); };
    return folder + QLatin1Char('/') + five(customer) + five(document) + five(kind) + QStringLiteral(".xml");
}

InvoiceBuyer ReadInvoiceBuyer(int customer) {
    const ResultSet head =
        SharedConnection().query(QStringLiteral("CALL sp_szlafej(%1)").arg(VarIntStr(customer)));
    InvoiceBuyer buyer;
    if (head.rowCount() == 0)
        return buyer;
    buyer.nev = Text(head, 0, "nev");
    buyer.adoszam = Text(head, 0, "adoszam");
    buyer.maganszemely = IsFlagSet(Text(head, 0, "maganszemely"));
    buyer.iranyitoszam = Text(head, 0, "iranyitoszam");
    buyer.telepules = Text(head, 0, "telepules");
    buyer.kozterulet_neve = Text(head, 0, "kozterulet_neve");
    buyer.kozterulet_jellege = Text(head, 0, "kozterulet_jellege");
    buyer.hazszam = Text(head, 0, "hazszam");
    return buyer;
}

ResultSet ReadInvoiceLines(int kind, int document) {
    return SharedConnection().query(
        QStringLiteral("CALL sp_szlasor(%1, %2)").arg(VarIntStr(kind), VarIntStr(document)));
}

QString InvoiceRemark(int document) {
    const ResultSet remark =
        SharedConnection().query(QStringLiteral("SELECT fn_szlamegj(%1);").arg(VarIntStr(document)));
    return remark.rowCount() ? remark.text(0, 0) : QString();
}

TXml InvoiceXml(const InvoiceBuyer& buyer, const ResultSet& lines, const QString& remark) {
    TXml xml;
    xml.AddHeader(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    xml.AddNode(QStringLiteral("szamlak"));
    xml.AddNode(QStringLiteral("szamla"));
    xml.AddNode(QStringLiteral("fejlec"));
    xml.AddStr(QStringLiteral("szlatipus"), QStringLiteral("1"));
    xml.FinishNode();
    xml.AddNode(QStringLiteral("szamlakibocsato"));
    xml.FinishNode();
    xml.AddNode(QStringLiteral("vevo"));
    xml.AddStr(QStringLiteral("adoszam"), buyer.adoszam);
    xml.AddBool(QStringLiteral("maganszemely"), buyer.maganszemely);
    xml.AddStr(QStringLiteral("nev"), buyer.nev);
    xml.AddNode(QStringLiteral("cim"));
    xml.AddStr(QStringLiteral("iranyitoszam"), buyer.iranyitoszam);
    xml.AddStr(QStringLiteral("telepules"), buyer.telepules);
    xml.AddStr(QStringLiteral("kozterulet_neve"), buyer.kozterulet_neve);
    xml.AddStr(QStringLiteral("kozterulet_jellege"), buyer.kozterulet_jellege);
    xml.AddStr(QStringLiteral("hazszam"), buyer.hazszam);
    xml.FinishNode();
    xml.FinishNode();
    xml.AddNode(QStringLiteral("nem_kotelezo"));
    xml.AddStr(QStringLiteral("megjegyzes"), remark);
    xml.FinishNode();
    for (int row = 0; row < lines.rowCount(); ++row) {
        xml.AddNode(QStringLiteral("termek_szolgaltatas_tetelek"));
        for (const char* text : {"cikkszam", "termeknev", "sormegj"})
            xml.AddStr(QLatin1String(text), Text(lines, row, text));
        xml.AddFloat(QStringLiteral("menny"), QString(), Number(lines, row, "menny"));
        xml.AddStr(QStringLiteral("mertekegys"), Text(lines, row, "mertekegys"));
        for (const char* number : {"nettoar", "nettoegysar", "adokulcs", "adoertek", "bruttoar", "arengedm"})
            xml.AddFloat(QLatin1String(number), QString(), Number(lines, row, number));
        xml.AddStr(QStringLiteral("torlo_kod"), Text(lines, row, "torlo_kod"));
        xml.FinishNode();
    }
    xml.FinishNode();
    xml.FinishNode();
    return xml;
}

bool StartInvoicingProgram(const QString& program, const QString& xmlPath) {
    if (program.trimmed().isEmpty()) {
        ShowError(invoice_text::NoProgram);
        return false;
    }
    const QString folder = QFileInfo(program).absolutePath();
    if (!QProcess::startDetached(program, {QStringLiteral("file=") + xmlPath}, folder)) {
        ShowError(invoice_text::CannotStart.arg(program));
        return false;
    }
    return true;
}

bool ExportInvoiceXml(int customer, int document, int kind) {
    const QString fileName = InvoiceFileName(DataFolder(), customer, document, kind);
    InvoiceBuyer buyer = ReadInvoiceBuyer(customer);
    const ResultSet lines = ReadInvoiceLines(kind, document);
    if (!AskInvoiceBuyer(buyer))
        return false;
    const TXml xml = InvoiceXml(buyer, lines, InvoiceRemark(document));
    try {
        xml.Save(fileName);
    } catch (const std::runtime_error& e) {
        ShowError(invoice_text::CannotWrite.arg(QString::fromStdString(e.what())));
        return false;
    }
    return StartInvoicingProgram(Beall().pennart, fileName);
}

bool InvoiceWorkSheet(qlonglong workSheet) {
    const ResultSet sheet =
        workSheet > 0
            ? SharedConnection().query(
                  QStringLiteral("SELECT ugyfel, storno, szlaszam FROM munkalap WHERE munkalap = %1")
                      .arg(VarIntStr(workSheet)))
            : ResultSet();
    if (sheet.rowCount() == 0) {
        ShowError(invoice_text::NoWorkSheet);
        return false;
    }
    if (IsFlagSet(sheet.text(0, 1))) {
        ShowError(invoice_text::CancelledSheet);
        return false;
    }
    const QString invoiceNumber = sheet.text(0, 2).trimmed();
    if (!invoiceNumber.isEmpty() &&
        !AskYesNo(invoice_text::AlreadyInvoiced.arg(invoiceNumber), dialog_text::ConfirmCaption))
        return false;
    return ExportInvoiceXml(sheet.value(0, 0).toInt(), int(workSheet), 1);
}

} // namespace kml
