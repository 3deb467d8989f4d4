#include "reports/WorkSheetPrint.h"

#include "components/Query.h"
#include "components/report/RowSource.h"
#include "exchange/StatusLink.h"
#include "foundation/Dialogs.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "reports/ReportParts.h"
#include "reports/ReportWindows.h"

#include <QFileInfo>
#include <algorithm>

namespace kml {

QString LayoutName(WorkSheetLayout layout) {
    switch (layout) {
    case WorkSheetLayout::qrMunkalap:
        return QStringLiteral("qrMunkalap");
    case WorkSheetLayout::qrMunkalap0:
        return QStringLiteral("qrMunkalap0");
    case WorkSheetLayout::qrMunkalapA:
        return QStringLiteral("qrMunkalapA");
    case WorkSheetLayout::qrMunkalapA0:
        return QStringLiteral("qrMunkalapA0");
    case WorkSheetLayout::qrMunkalapG:
        return QStringLiteral("qrMunkalapG");
    case WorkSheetLayout::qrMunkalapG0:
        return QStringLiteral("qrMunkalapG0");
    }
    return {};
}

bool IsBlankLayout(WorkSheetLayout layout) {
    return layout == WorkSheetLayout::qrMunkalap0 || layout == WorkSheetLayout::qrMunkalapA0 ||
           layout == WorkSheetLayout::qrMunkalapG0;
}

WorkSheetLayout ChooseWorkSheetLayout(int programType, bool blank) {
    switch (programType) {
    case 2:
        return blank ? WorkSheetLayout::qrMunkalapA0 : WorkSheetLayout::qrMunkalapA;
    case 4:
        return blank ? WorkSheetLayout::qrMunkalapG0 : WorkSheetLayout::qrMunkalapG;
    default:
        return blank ? WorkSheetLayout::qrMunkalap0 : WorkSheetLayout::qrMunkalap;
    }
}

bool ShowsSheetNumber(WorkSheetLayout layout, const QString& numVisible) {
    if (layout == WorkSheetLayout::qrMunkalapG || layout == WorkSheetLayout::qrMunkalapG0)
        return true;
    return numVisible != QLatin1String("0");
}

QString WorkSheetDocumentName(const QString& serialNumber, const QDate& received, bool blank) {
    QString name = serialNumber + QLatin1Char('-');
    if (received.isValid())
        name += received.toString(QStringLiteral("yyyyMMdd"));
    if (blank)
        name += QStringLiteral("-u");
    return name;
}

WorkSheetPrintOptions CurrentWorkSheetPrintOptions() {
    const TBeall& s = Beall();
    WorkSheetPrintOptions o;
    o.programType = s.prgtipus;
    o.showFullPrice = s.kedvmutat;
    o.moneyFormat = s.formatFt;
    o.quantityFormat = s.formatDb;
    o.statusLink = s.allapotlink;
    o.numVisible = IniReadStr(QStringLiteral("qrMLap"), QStringLiteral("NumVisible"), QStringLiteral("1"));
    o.logo = LoadShopLogo();
    return o;
}

namespace {

WorkSheetHeaderTexts ReadHeaderTexts() {
    WorkSheetHeaderTexts t;
    const ShopTexts shop = ReadShopTexts();
    t.tulajdonos = shop.tulajdonos;
    t.irszvaroscim = shop.irszvaroscim;
    t.telefon = shop.telefon;
    t.adoszam = shop.adoszam;
    t.bankszamlaszam = shop.bankszamlaszam;
    Query captions;
    captions.setSql(QStringLiteral("SELECT * FROM vw_beallit;"));
    captions.open();
    t.keszulekstr = captions.asString(QStringLiteral("keszulekstr"));
    t.gyszstr = captions.asString(QStringLiteral("gyszstr"));
    t.muszakistr = captions.asString(QStringLiteral("muszakistr"));
    return t;
}

} // namespace

bool IsCancelledWorkSheet(int worksheet) {
    return QueryStr(QStringLiteral("SELECT storno FROM munkalap WHERE munkalap = %1;").arg(worksheet)) ==
           QLatin1String("I");
}

void MarkCancelled(report::Document& document) {
    const QSizeF page = document.pageLayout.fullRect(QPageLayout::Millimeter).size();
    const double top = document.pageLayout.margins(QPageLayout::Millimeter).top();
    const QRectF stamp(page.width() / 2 - 60, page.height() * 0.42, 120, 24);
    QString family;
    for (const report::Page& p : document.pages)
        for (const report::Atom& a : p.atoms)
            if (family.isEmpty() && a.kind == report::Atom::Kind::Text)
                family = a.font.family;
    for (report::Page& p : document.pages) {
        report::Atom frame;
        frame.kind = report::Atom::Kind::Box;
        frame.rect = stamp;
        frame.penWidth = 1.2;
        report::Atom big;
        big.rect = stamp;
        big.text = CancelledMark;
        big.font = report::Bold(40);
        big.font.family = family;
        big.alignment = Qt::AlignCenter;
        report::Atom margin;
        margin.rect = QRectF(10, std::max(0.0, top - 7), page.width() - 20, 6);
        margin.text = CancelledMark + QStringLiteral(" – sztornózott, érvénytelen munkalap");
        margin.font = report::Bold(11);
        margin.font.family = family;
        margin.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
        p.atoms.push_back(frame);
        p.atoms.push_back(big);
        p.atoms.push_back(margin);
    }
}

QString ComebackOf(int worksheet) {
    return QueryStr(
        QStringLiteral("SELECT CONCAT(LEFT(LPAD(e.munkalap, GREATEST(CHAR_LENGTH(e.munkalap), 5), '0'), "
                       "10), COALESCE(t.betujel, '')) FROM munkalap m JOIN munkalap e ON e.munkalap = "
                       "m.visszatero_munkalap LEFT JOIN mlaptipus t ON t.mlaptipus = e.mlaptipus "
                       "WHERE m.munkalap = %1;")
            .arg(worksheet));
}

void MarkComeback(report::Document& document, const QString& earlier) {
    if (document.pages.empty())
        return;
    const QSizeF page = document.pageLayout.fullRect(QPageLayout::Millimeter).size();
    const double top = document.pageLayout.margins(QPageLayout::Millimeter).top();
    report::Page& first = document.pages.front();
    report::Atom line;
    for (const report::Atom& a : first.atoms)
        if (line.font.family.isEmpty() && a.kind == report::Atom::Kind::Text)
            line.font.family = a.font.family;
    const QString family = line.font.family;
    line.rect = QRectF(10, std::max(0.0, top - 7), page.width() - 20, 6);
    line.text = ComebackMark.arg(earlier);
    line.font = report::Bold(10);
    line.font.family = family;
    line.alignment = Qt::AlignRight | Qt::AlignVCenter;
    first.atoms.push_back(line);
}

report::Document MakeWorkSheetDocument(int worksheet, WorkSheetLayout layout,
                                       const WorkSheetPrintOptions& options, const QDateTime& printed) {
    const bool blank = IsBlankLayout(layout);
    const WorkSheetHeaderTexts texts = ReadHeaderTexts();

    Query qry;
    if (blank)
        qry.setSql(
            QStringLiteral("SELECT * FROM vw_mlapprint0\nWHERE munkalap = :pmunkalap\nORDER BY munkalap;"));
    else
        qry.setSql(QStringLiteral(
            "SELECT * FROM vw_mlapprint\nWHERE munkalap = :pmunkalap\nORDER BY munkalap_tetel;"));
    qry.fieldSettings(QStringLiteral("db")).tag = 1; // the quantity mark
    qry.setParam(QStringLiteral("pmunkalap"), worksheet);
    qry.open();
    ApplyNumberFormats(qry, false, options.moneyFormat, options.quantityFormat);
    ShowQuantityFractions(qry, QStringLiteral("db"));
    for (int i = 0; i < qry.fieldCount(); ++i)
        if (qry.field(i).kind == FieldKind::Date)
            qry.field(i).displayFormat = QStringLiteral("yyyy.MM.dd."); // the Hungarian short date

    qry.first();
    const QString title = WorkSheetDocumentName(qry.asString(QStringLiteral("gysz")),
                                                qry.asDate(QStringLiteral("datum")), blank);
    const auto layoutReport =
        BuildWorkSheetReport(layout, texts, options, title, StatusAddress(options.statusLink, worksheet));
    const report::QueryRows rows(qry);
    report::Document document = report::Paginate(*layoutReport, rows, printed);
    if (IsCancelledWorkSheet(worksheet))
        MarkCancelled(document);
    else if (const QString earlier = ComebackOf(worksheet); !earlier.isEmpty())
        MarkComeback(document, earlier);
    return document;
}

bool RunPrintWorkSheet(int worksheet, bool toPrinter) {
    const int kind = AskTwoWay(PrintKindCaption, PrintKindChoices);
    if (kind != 0 && kind != 1)
        return false; // cancelled: neither printed nor previewed
    const WorkSheetPrintOptions options = CurrentWorkSheetPrintOptions();
    const WorkSheetLayout layout = ChooseWorkSheetLayout(options.programType, kind == 0);
    const report::Document document = MakeWorkSheetDocument(worksheet, layout, options);
    if (toPrinter)
        PrintReport(document, Beall().alapNyomtato);
    else
        ShowReportPreview(document, Beall().alapNyomtato);
    return true;
}

} // namespace kml
