// The printout of the due list and the period's caption.

#include "components/Query.h"
#include "components/report/Document.h"
#include "components/report/Report.h"
#include "components/report/RowSource.h"
#include "exchange/DatasetExport.h"
#include "foundation/DateHelpers.h"
#include "foundation/Settings.h"
#include "reports/ReportParts.h"
#include "reports/ReportWindows.h"
#include "worksheets/DueList.h"

namespace kml {
namespace {

using namespace report;

constexpr double kWidth = 190;
constexpr double kHeadingsTop = 15.5;
constexpr double kLine = 5;

struct Column {
    const char* caption;
    const char* field;
    double x, width;
    Qt::Alignment align = Qt::AlignLeft;
};

const Column kColumns[] = {
    {"Esedékes", "esedekes", 0, 18},
    {"Nap", "hatravan", 19, 9, Qt::AlignRight},
    {"Mi esedékes", "esemeny", 30, 24},
    {"Ügyfél", "ugyfel_nev", 55, 38},
    {"Telefon", "telefon", 94, 26},
    {"Készülék", "keszulekstr", 121, 43},
    {"Utolsó munkalap", "munkalapstr", 165, 25},
};

} // namespace

QString DuePeriodText(const DuePeriod& period) {
    if (period.preset == DuePreset::Custom)
        return PeriodText(period.from, period.to);
    return DuePresetCaptions().value(int(period.preset));
}

report::Document MakeDueListDocument(const Query& list, const QString& periodText, const ShopTexts& shop) {
    Report r(due_text::Caption);
    r.setPage(QPageSize::A4, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
    Band& h = r.band(BandKind::PageHeader, kHeadingsTop + 6);
    h.label({0, 0, 110, 8}, due_text::Caption, Bold(15)).shrinking();
    h.label({0, 8.5, 110, 5}, periodText, Bold(10));
    h.label({100, 0, 90, 5}, shop.tulajdonos, Bold(10), Qt::AlignRight).shrinking();
    h.label({100, 5, 90, 4.3}, shop.irszvaroscim, Regular(8.5), Qt::AlignRight).shrinking();
    h.label({100, 9.3, 90, 4.3}, shop.telefon, Regular(8.5), Qt::AlignRight).shrinking();
    Band& d = r.band(BandKind::Detail, kLine);
    for (const Column& c : kColumns) {
        h.label({c.x, kHeadingsTop, c.width, 4.6}, QString::fromUtf8(c.caption), Italic(8.5), c.align)
            .shrinking();
        d.field({c.x, 0, c.width, kLine}, QLatin1String(c.field), Regular(8.5), c.align).shrinking();
    }
    h.hline(kHeadingsTop + 5, 0, kWidth, 0.3);
    d.hline(0, 0, kWidth, 0.1).anchoredToBottom();
    Band& s = r.band(BandKind::Summary, 8);
    s.hline(1, 0, kWidth, 0.3);
    s.label({0, 2, 40, kLine}, QStringLiteral("Összesen:"), Bold(9));
    s.count({40, 2, 20, kLine}, Scope::Report, Bold(9), Qt::AlignLeft);
    AddPageFooter(r, QStringLiteral("qrEsedekes"));
    return Paginate(r, QueryRows(list));
}

void PrintDueList(Query& list, const QString& periodText) {
    if (!RequireRight(Beall().nyomtathat))
        return;
    QString printer = Beall().alapNyomtato;
    switch (AskPrintMode(printer)) {
    case print_choice::Preview:
        ShowReportPreview(MakeDueListDocument(list, periodText, ReadShopTexts()), printer);
        break;
    case print_choice::Print:
        PrintReport(MakeDueListDocument(list, periodText, ReadShopTexts()), printer);
        break;
    case print_choice::Export:
        if (RequireRight(Beall().excelbe))
            ExportDataset(list, QStringLiteral("Esedekes.csv"));
        break;
    default:
        break;
    }
}

} // namespace kml
