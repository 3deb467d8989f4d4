// The four period-report layouts: A4 portrait, 190 mm between the margins.
// Every page begins with the title, the period and the shop, then the column
// headings in italics along a rule; every row has a thin rule under it;
// sums are bold and right-aligned under their column.

#include "components/report/RowSource.h"
#include "foundation/DateHelpers.h"
#include "foundation/Flags.h"
#include "reports/PeriodReports.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace kml {
namespace {

using namespace report;

constexpr double kWidth = 190;
constexpr double kHeadingsTop = 15.5;
constexpr double kHeadingHeight = 4.6;
constexpr double kLine = 5; // one detail line

const QString kNoGroupName = QStringLiteral("(nincs megadva)");

struct Column {
    QString caption;
    QString field;
    double x, width;
    Qt::Alignment align = Qt::AlignLeft;
    bool summed = false; // an amount with a sum under it
};

Column Col(const QString& caption, const QString& field, double x, double width,
           Qt::Alignment align = Qt::AlignLeft, bool summed = false) {
    return {caption, field, x, width, align, summed};
}

double Right(const Column& c) {
    return c.x + c.width;
}

void PageHeader(Report& r, const QString& title, const QString& periodLabel, const ShopTexts& shop,
                const std::vector<Column>& columns) {
    Band& h = r.band(BandKind::PageHeader, kHeadingsTop + kHeadingHeight + 1.5);
    h.label({0, 0, 110, 8}, title, Bold(15)).shrinking();
    h.label({0, 8.5, 110, 5}, periodLabel, Bold(10));
    h.label({100, 0, 90, 5}, shop.tulajdonos, Bold(10), Qt::AlignRight).shrinking();
    h.label({100, 5, 90, 4.3}, shop.irszvaroscim, Regular(8.5), Qt::AlignRight).shrinking();
    h.label({100, 9.3, 90, 4.3}, shop.telefon, Regular(8.5), Qt::AlignRight).shrinking();
    for (const Column& c : columns)
        h.label({c.x, kHeadingsTop, c.width, kHeadingHeight}, c.caption, Italic(8.5), c.align).shrinking();
    h.hline(kHeadingsTop + kHeadingHeight + 0.4, 0, kWidth, 0.3);
}

// The row's fields on one line, in smaller type where the columns are many.
Band& DetailLine(Report& r, const std::vector<Column>& columns, double points = 9, double height = kLine) {
    Band& d = r.band(BandKind::Detail, height);
    for (const Column& c : columns)
        d.field({c.x, 0, c.width, kLine}, c.field, Regular(points), c.align).shrinking();
    d.hline(0, 0, kWidth, 0.1).anchoredToBottom();
    return d;
}

// A group header that names the group; a group without a name (no
// employee, no device) says so.
void GroupHeader(Group& g, const QString& nameColumn) {
    g.header(7).keepWithNext().computed(
        {0, 1.2, kWidth, 5.5},
        [nameColumn](const RowRef& row) {
            const QString name = row.text(nameColumn).trimmed();
            return name.isEmpty() ? kNoGroupName : name;
        },
        Bold(10));
}

using Amount = std::function<double(const RowRef&)>;

// "összesen" (group) or "mindösszesen" (report) before the first summed
// column, each summed column's sum under it.
void Sums(Band& b, const std::vector<Column>& columns, const QString& caption, Scope scope,
          const QString& moneyFormat, const std::function<Amount(const Column&)>& amountOf, double top) {
    double firstX = kWidth;
    for (const Column& c : columns)
        if (c.summed) {
            firstX = std::min(firstX, c.x);
            if (scope == Scope::Group)
                b.hline(top, c.x + 1, Right(c), 0.15);
            const Amount amount = amountOf ? amountOf(c) : Amount();
            if (amount)
                b.sum({c.x, top + 0.5, c.width, kLine}, amount, scope, moneyFormat).shrinking();
            else
                b.sum({c.x, top + 0.5, c.width, kLine}, c.field, scope, moneyFormat).shrinking();
        }
    b.label({0, top + 0.5, firstX - 2, kLine}, caption, Bold(9), Qt::AlignRight);
}

void GroupFooter(Group& g, const std::vector<Column>& columns, const QString& moneyFormat,
                 const std::function<Amount(const Column&)>& amountOf = {}) {
    Sums(g.footer(8), columns, QStringLiteral("összesen"), Scope::Group, moneyFormat, amountOf, 0.6);
}

void Summary(Report& r, const std::vector<Column>& columns, const QString& moneyFormat,
             const std::function<Amount(const Column&)>& amountOf = {}) {
    Band& s = r.band(BandKind::Summary, 9);
    s.hline(1, 0, kWidth, 0.3);
    Sums(s, columns, QStringLiteral("mindösszesen"), Scope::Report, moneyFormat, amountOf, 2);
}

// Case and trailing blanks do not part groups, as they do not part the
// rows' order (the connection's collation is case-insensitive).
QString CollationKey(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end).toCaseFolded();
}

bool Cancelled(const RowRef& row) {
    return IsFlagSet(row.text(u"storno"));
}

std::vector<Column> WorkSheetList(Report& r, const PeriodReportRequest& request, const QString& moneyFormat) {
    const std::vector<Column> columns = {
        Col(QStringLiteral("Munkalap"), QStringLiteral("munkalapstr"), 0, 16),
        Col(QStringLiteral("Ügyfél"), QStringLiteral("ugyfel_nev"), 17, 43),
        Col(QStringLiteral("Dátum"), QStringLiteral("datum"), 61, 18),
        Col(QStringLiteral("Típus"), QStringLiteral("tipusstr"), 80, 47),
        Col(QStringLiteral("Dolgozó"), QStringLiteral("dolgozostr"), 128, 39),
        Col(QStringLiteral("Ár"), QStringLiteral("ar_ossz"), 168, 22, Qt::AlignRight, true)};
    // A cancelled sheet is listed as cancelled; its price counts in no sum.
    std::vector<Column> printed(columns.begin(), columns.end() - 1);
    Band& d = DetailLine(r, printed, 8.5);
    const Column& price = columns.back();
    d.computed(
         {price.x, 0, price.width, kLine},
         [](const RowRef& row) { return Cancelled(row) ? QStringLiteral("sztornó") : row.text(u"ar_ossz"); },
         Regular(8.5), Qt::AlignRight)
        .shrinking();
    const auto amountOf = [](const Column&) -> Amount {
        return [](const RowRef& row) { return Cancelled(row) ? 0.0 : row.number(u"ar_ossz"); };
    };

    if (request.sql.isEmpty()) {
        Group* g = nullptr;
        switch (request.grouping) {
        case SheetListGrouping::ByType:
            g = &r.group(QStringLiteral("mlaptipus"));
            GroupHeader(*g, QStringLiteral("mlaptipus_nev"));
            break;
        case SheetListGrouping::ByEmployee:
            g = &r.group([](const RowRef& row) { return CollationKey(row.text(u"dolgozostr")); });
            GroupHeader(*g, QStringLiteral("dolgozostr"));
            break;
        case SheetListGrouping::ByManufacturer:
            g = &r.group(QStringLiteral("gyarto"));
            GroupHeader(*g, QStringLiteral("gyarto_nev"));
            break;
        }
        GroupFooter(*g, columns, moneyFormat, amountOf);
    }
    Summary(r, columns, moneyFormat, amountOf);
    return columns;
}

// One line a row, in groups on a column that also names the group.
std::vector<Column> GroupedList(Report& r, std::vector<Column> columns, const QString& groupColumn,
                                const QString& moneyFormat) {
    DetailLine(r, columns);
    Group& g = r.group(groupColumn);
    GroupHeader(g, groupColumn);
    GroupFooter(g, columns, moneyFormat);
    Summary(r, columns, moneyFormat);
    return columns;
}

std::vector<Column> Revenue(Report& r, const QString& moneyFormat) {
    return GroupedList(
        r,
        {Col(QStringLiteral("munkalap"), QStringLiteral("munkalapstr"), 0, 25),
         Col(QStringLiteral("ügyfél"), QStringLiteral("ugyfel_nev"), 26, 90),
         Col(QStringLiteral("dátum"), QStringLiteral("dat"), 117, 25),
         Col(QStringLiteral("bevétel"), QStringLiteral("bevetel"), 150, 40, Qt::AlignRight, true)},
        QStringLiteral("sortipus"), moneyFormat);
}

std::vector<Column> Consumption(Report& r, const QString& moneyFormat) {
    return GroupedList(r,
                       {Col(QStringLiteral("Tétel kód"), QStringLiteral("tetel_kod"), 0, 30),
                        Col(QStringLiteral("Tétel"), QStringLiteral("tetel_nev"), 31, 99),
                        Col(QStringLiteral("Mennyiség"), QStringLiteral("db"), 131, 25, Qt::AlignRight),
                        Col(QStringLiteral("Össz ár"), QStringLiteral("ar"), 157, 33, Qt::AlignRight, true)},
                       QStringLiteral("sorrend"), moneyFormat);
}

std::vector<Column> Profit(Report& r, const QString& moneyFormat) {
    const std::vector<Column> columns = {
        Col(QStringLiteral("Munkalap"), QStringLiteral("munkalapstr"), 0, 15),
        Col(QStringLiteral("Dátum"), QStringLiteral("datum"), 16, 17),
        Col(QStringLiteral("Típus"), QStringLiteral("tipusstr"), 34, 37),
        Col(QStringLiteral("Anyag"), QStringLiteral("rafanyag"), 72, 16, Qt::AlignRight, true),
        Col(QStringLiteral("Munka"), QStringLiteral("rafido"), 89, 17, Qt::AlignRight, true),
        Col(QStringLiteral("Ár összesen"), QStringLiteral("ar_ossz"), 107, 20, Qt::AlignRight, true),
        Col(QStringLiteral("Ebből besz.ár"), QStringLiteral("ar_besz"), 128, 20, Qt::AlignRight, true),
        Col(QStringLiteral("Kedvezmény"), QStringLiteral("ar_kedvezmeny"), 149, 19, Qt::AlignRight, true),
        Col(QStringLiteral("Nyereség"), QStringLiteral("nyereseg"), 169, 21, Qt::AlignRight, true)};
    // The customer on a second line in small type.
    Band& d = DetailLine(r, columns, 8.5, kLine + 3.6);
    d.field({16, kLine - 0.4, 100, 3.6}, QStringLiteral("ugyfel_nev"), Regular(7)).shrinking();
    Summary(r, columns, moneyFormat);
    return columns;
}

// Comebacks per employee of the sheet they came back from: the count and
// the cost summed per employee.
std::vector<Column> Comebacks(Report& r, const QString& moneyFormat) {
    const std::vector<Column> columns = {
        Col(QStringLiteral("Munkalap"), QStringLiteral("munkalapstr"), 0, 18),
        Col(QStringLiteral("Dátum"), QStringLiteral("datum"), 19, 20),
        Col(QStringLiteral("Ügyfél"), QStringLiteral("ugyfel_nev"), 40, 62),
        Col(QStringLiteral("Korábbi munkalap"), QStringLiteral("korabbi"), 103, 30),
        Col(QStringLiteral("Darab"), QStringLiteral("darab"), 134, 20, Qt::AlignRight, true),
        Col(QStringLiteral("Költség"), QStringLiteral("koltseg"), 155, 35, Qt::AlignRight, true)};
    DetailLine(r, columns);
    Group& g = r.group(QStringLiteral("dolgozo"));
    GroupHeader(g, QStringLiteral("dolgozo_nev"));
    GroupFooter(g, columns, moneyFormat);
    Summary(r, columns, moneyFormat);
    return columns;
}

} // namespace

std::unique_ptr<Report> BuildPeriodReport(const PeriodReportRequest& request, const ShopTexts& shop,
                                          const QString& moneyFormat) {
    auto r = std::make_unique<Report>(PeriodReportTitle(request.kind));
    r->setPage(QPageSize::A4, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
    const bool ownStatement = request.kind == PeriodReport::WorkSheetList && !request.sql.isEmpty();
    const QString periodLabel =
        ownStatement ? QString() : PeriodText(request.period.first, request.period.last);

    // Each layout gives back its columns: their headings go into the page
    // header.
    std::vector<Column> columns;
    switch (request.kind) {
    case PeriodReport::WorkSheetList:
        columns = WorkSheetList(*r, request, moneyFormat);
        break;
    case PeriodReport::Revenue:
        columns = Revenue(*r, moneyFormat);
        break;
    case PeriodReport::Profit:
        columns = Profit(*r, moneyFormat);
        break;
    case PeriodReport::Consumption:
        columns = Consumption(*r, moneyFormat);
        break;
    case PeriodReport::Comebacks:
        columns = Comebacks(*r, moneyFormat);
        break;
    }
    PageHeader(*r, PeriodReportTitle(request.kind), periodLabel, shop, columns);
    AddPageFooter(*r, PeriodReportLayoutName(request.kind));
    return r;
}

} // namespace kml
