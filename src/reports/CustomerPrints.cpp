#include "reports/CustomerPrints.h"

#include "components/Query.h"
#include "components/report/Printers.h"
#include "components/report/Report.h"
#include "components/report/RowSource.h"
#include "exchange/DatasetExport.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "reports/ReportWindows.h"

namespace kml {

using namespace report;

namespace {

// The shop's name, address and phone on the right of a heading.
void AddShopBlock(Band& band, const ShopTexts& shop) {
    band.label({110, 0, 80, 4.5}, shop.tulajdonos, Bold(9), Qt::AlignRight).shrinking();
    band.label({110, 4.5, 80, 4}, shop.irszvaroscim, Regular(8), Qt::AlignRight).shrinking();
    band.label({110, 8.5, 80, 4}, shop.telefon, Regular(8), Qt::AlignRight).shrinking();
}

// Dates as the shop reads them on paper.
void ShowHungarianDates(Query& dataset) {
    for (int i = 0; i < dataset.fieldCount(); ++i) {
        Field& f = dataset.field(i);
        if (f.kind == FieldKind::Date)
            f.displayFormat = QStringLiteral("yyyy.MM.dd.");
        else if (f.kind == FieldKind::DateTime)
            f.displayFormat = QStringLiteral("yyyy.MM.dd. hh:mm");
    }
}

// The printer AlapNyomtato when it is installed; otherwise "" (the default).
QString InstalledOrDefault(const QString& wanted) {
    const QStringList printers = InstalledPrinterNames();
    const int index = FindPrinter(wanted, printers);
    return index < 0 ? QString() : printers.at(index);
}

} // namespace

// ---- Layouts ----------------------------------------------------------------

std::unique_ptr<Report> BuildCustomerListReport(const ShopTexts& shop) {
    auto r = std::make_unique<Report>(customer_print::ListTitle);
    Band& head = r->band(BandKind::PageHeader, 22);
    head.label({0, 0, 100, 8}, QStringLiteral("Ügyfelek"), Bold(16));
    head.label({0, 8, 100, 4.5}, QStringLiteral("névsorban"), Regular(9));
    AddShopBlock(head, shop);
    const Font title = Italic(8.5);
    head.label({0, 16, 60, 4.5}, QStringLiteral("ügyfél"), title);
    head.label({60, 16, 70, 4.5}, QStringLiteral("cím"), title);
    head.label({130, 16, 35, 4.5}, QStringLiteral("telefon"), title);
    head.label({165, 16, 25, 4.5}, QStringLiteral("dátum/figy."), title, Qt::AlignRight);
    head.hline(21.2, 0, 190, 0.3);

    // The remark takes room only when there is one.
    Band& d = r->band(BandKind::Detail, 9.4);
    d.field({0, 0.5, 60, 4.2}, QStringLiteral("ugyfel_nev"), Bold(9)).shrinking();
    d.field({60, 0.5, 70, 4.2}, QStringLiteral("irszvaroscim"), Regular(8.5)).shrinking();
    d.field({130, 0.5, 35, 4.2}, QStringLiteral("telefon"), Regular(8.5)).shrinking();
    d.field({165, 0.5, 25, 4.2}, QStringLiteral("dat_utolso"), Regular(8.5), Qt::AlignRight);
    d.field({5, 4.7, 125, 4}, QStringLiteral("emil"), Regular(8.5)).shrinking();
    d.field({165, 4.7, 25, 4}, QStringLiteral("dat_figyelmeztet"), Regular(8.5), Qt::AlignRight);
    d.memo({0, 8.9, 190, 0}, QStringLiteral("megjegyzes"), Italic(8));
    d.hline(-0.2, 0, 190, 0.15).anchoredToBottom();
    AddPageFooter(*r, QStringLiteral("qrUgyfel"));
    return r;
}

std::unique_ptr<Report> BuildEnvelopeReport(const QImage& logo) {
    using namespace customer_print;
    auto r = std::make_unique<Report>(EnvelopeTitle);
    r->setPage(QSizeF(PaperWidth, PaperHeight), QMarginsF(10, 10, 10, 10));
    Band& d = r->band(BandKind::Detail, PaperHeight - 20);
    // The sender, top left.
    d.field({0, 0, 75, 5}, QStringLiteral("tulajdonos"), Bold(10)).shrinking();
    d.line({0, 5}, {75, 5}, 0.25); // underlined
    d.field({0, 5.5, 75, 4.5}, QStringLiteral("tulvaroscim"), Regular(9)).shrinking();
    d.field({0, 10, 75, 4.5}, QStringLiteral("tulirsz"), Bold(9));
    d.image({0, 15.5, 40, 20}, logo).align(Qt::AlignLeft);
    // The addressee, centred on the right half.
    const Qt::Alignment centre = Qt::AlignHCenter;
    d.field({70, 45, 70, 6.5}, QStringLiteral("ugyfel_nev"), Bold(12), centre).shrinking();
    d.field({70, 51.5, 70, 5}, QStringLiteral("kapcsolat2"), Regular(10), centre).shrinking();
    d.label({70, 56.5, 70, 5}, QStringLiteral("részére"), Italic(9), centre);
    d.field({70, 62, 70, 5.5}, QStringLiteral("cim_varos"), Bold(11), centre).shrinking();
    d.line({85, 67.5}, {125, 67.5}, 0.25); // the town underlined
    d.field({70, 68.5, 70, 5}, QStringLiteral("cim_cim"), Regular(10), centre).shrinking();
    d.field({70, 75, 70, 9}, QStringLiteral("cim_irsz"), Bold(18), centre);
    return r;
}

FormSender ReadFormSender() {
    Query shop;
    shop.setSql(QStringLiteral("SELECT tulajdonos, irsz, varos, cim FROM tulajdonos LIMIT 1;"));
    shop.open();
    FormSender s;
    s.tulajdonos = shop.asString(QStringLiteral("tulajdonos"));
    s.irsz = shop.asString(QStringLiteral("irsz"));
    s.varoscim =
        shop.asString(QStringLiteral("varos")) + QStringLiteral(", ") + shop.asString(QStringLiteral("cim"));
    return s;
}

std::unique_ptr<Report> BuildRegisteredFormReport(const FormSender& sender) {
    using namespace customer_print;
    auto r = std::make_unique<Report>(EnvelopeTitle);
    r->setPage(QSizeF(PaperWidth, PaperHeight), QMarginsF(12, 10, 10, 10));
    Band& d = r->band(BandKind::Detail, PaperHeight - 20);
    // The boxes of the postal form: the sender in the upper field, the
    // addressee in the lower one.
    d.label({4, 8, 100, 5}, sender.tulajdonos, Bold(10)).shrinking();
    d.label({4, 14, 100, 5}, sender.varoscim, Regular(10)).shrinking();
    d.label({4, 20, 40, 5}, sender.irsz, Regular(10));
    d.field({4, 48, 120, 5.5}, QStringLiteral("ugyfel_nev"), Bold(11)).shrinking();
    d.field({4, 55, 20, 5}, QStringLiteral("cim_irsz"), Regular(10));
    d.field({26, 55, 98, 5}, QStringLiteral("cim_varos"), Regular(10)).shrinking();
    d.field({4, 61, 120, 5}, QStringLiteral("cim_cim"), Regular(10)).shrinking();
    return r;
}

std::unique_ptr<Report> BuildNotesReport(const ShopTexts& shop, const QString& heading) {
    auto r = std::make_unique<Report>(customer_print::NotesTitle);
    Band& head = r->band(BandKind::PageHeader, 24);
    head.label({0, 0, 105, 8}, QStringLiteral("Megjegyzések"), Bold(16));
    head.label({0, 8.5, 105, 5}, heading, Bold(10)).shrinking();
    AddShopBlock(head, shop);
    const Font title = Italic(8.5);
    head.label({0, 18, 35, 4.5}, QStringLiteral("Dátum"), title);
    head.label({35, 18, 35, 4.5}, QStringLiteral("Felhasználó"), title);
    head.label({70, 18, 120, 4.5}, QStringLiteral("Rövid"), title);
    head.hline(23.2, 0, 190, 0.3);

    Band& d = r->band(BandKind::Detail, 10);
    d.field({0, 0.5, 35, 4.5}, QStringLiteral("datum"), Regular(9));
    d.field({35, 0.5, 35, 4.5}, QStringLiteral("felhasznalo"), Regular(9)).shrinking();
    d.field({70, 0.5, 120, 4.5}, QStringLiteral("rovid"), Bold(9)).shrinking();
    d.memo({0, 5.5, 190, 4}, QStringLiteral("megjegyzes"), Regular(9));
    d.hline(-0.2, 0, 190, 0.15).anchoredToBottom();
    AddPageFooter(*r, QStringLiteral("qrMegjegyzes"), customer_print::ProductLabel);
    return r;
}

// ---- Reading ----------------------------------------------------------------

void OpenCustomerListQuery(Query& dataset, const QString& sql) {
    dataset.close();
    dataset.setSql(sql);
    dataset.open();
    ShowHungarianDates(dataset);
}

Document MakeCustomerListDocument(const Query& dataset, const ShopTexts& shop, const QDateTime& printed) {
    const auto layout = BuildCustomerListReport(shop);
    return Paginate(*layout, QueryRows(dataset), printed);
}

void SaveCustomerListPdf(const Query& dataset, const ShopTexts& shop, const QString& path,
                         const QDateTime& printed) {
    const auto layout = BuildCustomerListReport(shop);
    SaveReportAsPdf(*layout, QueryRows(dataset), path, printed);
}

Document MakeEnvelopeDocument(int customer, const QImage& logo) {
    Query qry;
    qry.setSql(QStringLiteral("SELECT * FROM vw_boritek\nWHERE ugyfel = 0\nORDER BY 1;"));
    ReplaceWhere(qry.sql(), QStringLiteral("ugyfel = %1").arg(customer));
    qry.open();
    const auto layout = BuildEnvelopeReport(logo);
    return Paginate(*layout, QueryRows(qry));
}

Document MakeRegisteredFormDocument(int customer) {
    const FormSender sender = ReadFormSender();
    Query qry;
    qry.setSql(QStringLiteral("SELECT * FROM ugyfel\nWHERE ugyfel = %1;").arg(customer));
    qry.open();
    const auto layout = BuildRegisteredFormReport(sender);
    return Paginate(*layout, QueryRows(qry));
}

void OpenNotesQuery(Query& dataset, int kind, int id) {
    dataset.close();
    dataset.setSql(QStringLiteral("SELECT\n megj.*\nFROM megj\nWHERE megj>0\nORDER BY megj DESC;"));
    ReplaceWhere(dataset.sql(), QStringLiteral("(id=%1) AND (megjtipus = %2)").arg(id).arg(kind));
    dataset.open();
    ShowHungarianDates(dataset);
}

Document MakeNotesDocument(const Query& dataset, const ShopTexts& shop, const QString& heading,
                           const QDateTime& printed) {
    const auto layout = BuildNotesReport(shop, heading);
    return Paginate(*layout, QueryRows(dataset), printed);
}

// ---- Running ----------------------------------------------------------------

void PrintCustomerList(bool toPrinter, const QString& sql) {
    Query dataset;
    OpenCustomerListQuery(dataset, sql);
    const ShopTexts shop = ReadShopTexts();
    const QString printer = InstalledOrDefault(Beall().alapNyomtato);
    if (toPrinter) {
        PrintReport(MakeCustomerListDocument(dataset, shop), printer);
        return;
    }
    // A list of thousands of customers shows its first page at once.
    const auto layout = BuildCustomerListReport(shop);
    const QueryRows rows(dataset);
    PageStream pages(*layout, rows);
    ShowReportPreviewPages(pages, printer);
}

void PrintEnvelope(int customer) {
    PrintReport(MakeEnvelopeDocument(customer, LoadShopLogo()), QString());
}

void PrintRegisteredForm(int customer) {
    PrintReport(MakeRegisteredFormDocument(customer), QString());
}

void PrintNotes(int kind, int id, const QString& heading) {
    const ShopTexts shop = ReadShopTexts();
    Query dataset;
    OpenNotesQuery(dataset, kind, id);
    int printerIndex = -1; // the first printer proposed
    switch (AskPrintModeIndex(printerIndex)) {
    case print_choice::Preview:
        ShowReportPreview(MakeNotesDocument(dataset, shop, heading), QString());
        break;
    case print_choice::Print: {
        const QStringList printers = InstalledPrinterNames();
        const QString printer =
            printerIndex >= 0 && printerIndex < printers.size() ? printers.at(printerIndex) : QString();
        PrintReport(MakeNotesDocument(dataset, shop, heading), printer);
        break;
    }
    case print_choice::Export:
        // The notes leave the program like any list: only with the export
        // right.
        if (RequireRight(Beall().excelbe))
            ExportDataset(dataset, QString());
        break;
    default:
        break;
    }
}

} // namespace kml
