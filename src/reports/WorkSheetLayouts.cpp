// The six work-sheet layouts: general, vehicle workshop and gas appliances,
// each final and blank. A4 portrait, 190 mm between the margins; captions in
// italics, data in bold.

#include "components/report/RowSource.h"
#include "reports/ReportParts.h"
#include "reports/WorkSheetPrint.h"

#include <functional>

namespace kml {
namespace {

using namespace report;

constexpr double kWidth = 190;
constexpr double kRow = 4.6;     // one line of a header block
constexpr double kDetail = 5;    // one item line
constexpr double kGridRow = 6.5; // one handwriting row of the blank items grid

// Flue-gas values and discount percents are measurements, not money: they
// keep their decimals.
const QString kMeasurementFormat = QStringLiteral("### ##0.###");
const QString kPercentFormat = QStringLiteral("##0.##");

Font Caption() {
    return Italic(8);
}
Font Data() {
    return Bold(9);
}
Font BoldItalic(double points) {
    return {{}, points, true, true};
}
Font AddressFont(double points) {
    Font f = Regular(points);
    f.literal = true;
    return f;
}

enum class Family { General, Vehicle, Gas };

struct LayoutTraits {
    Family family;
    bool blank;
    int emptyRows;   // blank layouts: rows of the items grid
    bool taxAndBank; // the shop's tax number and bank account
    bool shopRight;  // the shop's data right-aligned instead of centred
};

LayoutTraits TraitsOf(WorkSheetLayout layout) {
    switch (layout) {
    case WorkSheetLayout::qrMunkalap:
        return {Family::General, false, 0, true, false};
    case WorkSheetLayout::qrMunkalap0:
        return {Family::General, true, 12, true, false};
    case WorkSheetLayout::qrMunkalapA:
        return {Family::Vehicle, false, 0, false, true};
    case WorkSheetLayout::qrMunkalapA0:
        return {Family::Vehicle, true, 11, false, true};
    case WorkSheetLayout::qrMunkalapG:
        return {Family::Gas, false, 0, false, true};
    case WorkSheetLayout::qrMunkalapG0:
        return {Family::Gas, true, 14, true, false};
    }
    return {Family::General, false, 0, true, false};
}

// A caption and the value of a column beside it.
void Pair(Band& b, double x, double y, double captionWidth, double valueWidth, const QString& caption,
          const QString& column, const QString& format = {}, Qt::Alignment align = Qt::AlignLeft,
          double gap = 0) {
    b.label({x, y, captionWidth - gap, kRow}, caption, Caption()).shrinking();
    b.field({x + captionWidth, y, valueWidth, kRow}, column, Data(), align, format).shrinking();
}

// A caption centred over the value of a column.
void Stacked(Band& b, double x, double y, double width, const QString& caption, const QString& column) {
    b.label({x, y, width, kRow}, caption, Caption(), Qt::AlignHCenter);
    b.field({x, y + kRow, width, kRow}, column, Bold(8.5), Qt::AlignHCenter).shrinking();
}

// Heading, sheet number and logo; the customer and the shop. Returns the y
// below them.
double Heading(Band& b, const LayoutTraits& traits, const WorkSheetHeaderTexts& t,
               const WorkSheetPrintOptions& o, bool showNumber) {
    b.field({0, 0, 80, 10}, QStringLiteral("munkalapnev"), Bold(18));
    if (showNumber)
        b.field({80, 0, 52, 10}, QStringLiteral("mlapstr"), Bold(16), Qt::AlignRight);
    b.image({140, 0, 50, 11}, o.logo).align(Qt::AlignRight | Qt::AlignTop);

    const double y = 13;
    const double height = 5 * kRow + 2;
    b.box({0, y, 98, height});
    b.label({2, y + 0.5, 40, kRow}, QStringLiteral("Ügyfél"), BoldItalic(9));
    Pair(b, 2, y + 0.5 + kRow, 22, 73, QStringLiteral("Név"), QStringLiteral("ugyfel_nev"));
    Pair(b, 2, y + 0.5 + 2 * kRow, 22, 73, QStringLiteral("Cím"), QStringLiteral("cimstr"));
    Pair(b, 2, y + 0.5 + 3 * kRow, 22, 73, QStringLiteral("Elérhetőség"), QStringLiteral("kapcsstr"));

    // The shop, in the right half.
    const double x = 100, w = 90;
    const Qt::Alignment align = traits.shopRight ? Qt::AlignRight : Qt::AlignHCenter;
    b.label({x, y + 0.5, w, kRow + 0.5}, t.tulajdonos, Bold(10), align).shrinking();
    b.label({x, y + 0.5 + kRow + 0.5, w, kRow}, t.irszvaroscim, Regular(9), align).shrinking();
    b.label({x, y + 0.5 + 2 * kRow + 0.5, w, kRow}, t.telefon, Regular(9), align).shrinking();
    if (traits.taxAndBank) {
        b.label({x + 8, y + 0.5 + 3 * kRow + 0.5, 25, kRow}, QStringLiteral("Adószám"), Caption());
        b.label({x + 33, y + 0.5 + 3 * kRow + 0.5, 49, kRow}, t.adoszam, Data(), Qt::AlignRight);
        b.label({x + 8, y + 0.5 + 4 * kRow + 0.5, 25, kRow}, QStringLiteral("Bankszámla"), Caption());
        b.label({x + 33, y + 0.5 + 4 * kRow + 0.5, 49, kRow}, t.bankszamlaszam, Data(), Qt::AlignRight);
    }
    return y + height + 2;
}

// The device block with the dates beside it. Returns the y below them.
double Device(Band& b, const LayoutTraits& traits, const WorkSheetHeaderTexts& t, double y) {
    const double w = 98;
    int rows = 0;
    b.label({2, y + 0.5, 60, kRow}, t.keszulekstr, BoldItalic(9));
    const auto row = [&](int n) { return y + 0.5 + n * kRow; };
    // Left pair: caption 26, value 23; right pair from 52: caption 23, value 22.
    Pair(b, 2, row(1), 26, 69, QStringLiteral("Gyártó, típus"), QStringLiteral("tipusstr"));
    Pair(b, 2, row(2), 26, 23, t.gyszstr, QStringLiteral("gysz"));
    Pair(b, 52, row(2), 23, 22, QStringLiteral("Gyártás éve"), QStringLiteral("evjarat"));
    switch (traits.family) {
    case Family::General:
        Pair(b, 2, row(3), 26, 23, t.muszakistr, QStringLiteral("dat_muszaki"));
        rows = 3;
        break;
    case Family::Vehicle:
        Pair(b, 2, row(3), 26, 69, QStringLiteral("Alvázszám"), QStringLiteral("gysz2"));
        Pair(b, 2, row(4), 26, 69, QStringLiteral("Motorszám"), QStringLiteral("gysz3"));
        Pair(b, 2, row(5), 26, 23, QStringLiteral("Teljesítmény (kW)"), QStringLiteral("kw"));
        Pair(b, 52, row(5), 23, 22, QStringLiteral("Hengerűrtartalom"), QStringLiteral("cm3"));
        rows = 5;
        break;
    case Family::Gas:
        // "Éves felülvizsgálat" fills its caption: a gap keeps the date apart.
        Pair(b, 2, row(3), 29, 20, t.muszakistr, QStringLiteral("dat_muszaki"), {}, Qt::AlignLeft, 2);
        Pair(b, 52, row(3), 23, 22, QStringLiteral("Garanciajegy"), QStringLiteral("garjegy"));
        Pair(b, 2, row(4), 26, 23, QStringLiteral("Vásárlás dátum"), QStringLiteral("dat_vasarol"));
        Pair(b, 52, row(4), 23, 22, QStringLiteral("Üzembehelyezés"), QStringLiteral("dat_uzembe"));
        Pair(b, 2, row(5), 26, 23, QStringLiteral("Garancia"), QStringLiteral("dat_garilejar"));
        rows = 5;
        break;
    }
    const double height = (rows + 1) * kRow + 1.5;
    b.box({0, y, w, height});

    // The dates, each a caption over its value.
    const double x = w + 2, dw = kWidth - x;
    b.box({x, y, dw, height});
    Stacked(b, x, y + 1, dw * 0.3, QStringLiteral("Beérkezett"), QStringLiteral("datum"));
    Stacked(b, x + dw * 0.3, y + 1, dw * 0.4, QStringLiteral("Kezdés"), QStringLiteral("hatidstr"));
    Stacked(b, x + dw * 0.7, y + 1, dw * 0.3, QStringLiteral("Elkészült"), QStringLiteral("dat_kesz"));
    if (traits.family == Family::Vehicle) {
        Stacked(b, x, y + 2 + 2 * kRow, dw / 2, t.muszakistr, QStringLiteral("dat_muszaki"));
        Stacked(b, x + dw / 2, y + 2 + 2 * kRow, dw / 2, QStringLiteral("Km óra állás"),
                QStringLiteral("kmora"));
    }
    return y + height + 1.5;
}

// The flue-gas block beside the texts of the gas layouts. Returns its bottom.
double FlueGas(Band& b, bool blank, double x, double y) {
    static const QStringList captions = {QStringLiteral("Tgas"),       QStringLiteral("O2"),
                                         QStringLiteral("CO2"),        QStringLiteral("CO"),
                                         QStringLiteral("Harmatpont"), QStringLiteral("Légfelesleg"),
                                         QStringLiteral("Hatásfok")};
    const double w = kWidth - x;
    b.label({x + 1, y + 0.5, w - 2, kRow}, QStringLiteral("Füstgázelemzési adatok"), BoldItalic(8.5),
            Qt::AlignHCenter);
    double r = y + 0.5 + kRow;
    for (int i = 0; i < captions.size(); ++i, r += kRow) {
        b.label({x + 2, r, 24, kRow}, captions.at(i), Caption());
        const QRectF first(x + 26, r, (w - 28) / 2, kRow),
            second(x + 26 + (w - 28) / 2, r, (w - 28) / 2, kRow);
        if (blank) {
            b.box(first.adjusted(0.5, 0.3, -0.5, -0.3), 0.1);
            b.box(second.adjusted(0.5, 0.3, -0.5, -0.3), 0.1);
        } else {
            b.field(first.adjusted(0, 0, -1, 0), QStringLiteral("gmin%1").arg(i + 1), Data(), Qt::AlignRight,
                    kMeasurementFormat);
            b.field(second.adjusted(0, 0, -1, 0), QStringLiteral("gmax%1").arg(i + 1), Data(), Qt::AlignRight,
                    kMeasurementFormat);
        }
    }
    b.label({x + 2, r, 24, kRow}, QStringLiteral("Légellátás"), Caption());
    if (!blank)
        b.field({x + 26, r, w - 28, kRow}, QStringLiteral("legellatasstr"), Data(), Qt::AlignRight);
    const double bottom = r + kRow + 1;
    b.box({x, y, w, bottom - y});
    return bottom;
}

// Captions over word-wrapped texts. Returns the y below them.
double Texts(Band& b, const LayoutTraits& traits, double y, double width) {
    const bool vehicleFinal = traits.family == Family::Vehicle && !traits.blank;
    const QString captions[3] = {vehicleFinal ? QStringLiteral("Ügyfél kérés")
                                              : QStringLiteral("Hiba leírás"),
                                 vehicleFinal ? QStringLiteral("Elvégzett munka") : QStringLiteral("Szöveg"),
                                 QStringLiteral("Megjegyzés")};
    const QString columns[3] = {QStringLiteral("panasz"), QStringLiteral("vegzett_munka"),
                                QStringLiteral("megjegyzes")};
    for (int i = 0; i < 3; ++i) {
        b.label({0, y, width, 4}, captions[i], Caption());
        b.memo({2, y + 4, width - 2, 4.5}, columns[i], Regular(9));
        y += 9;
    }
    return y;
}

struct Column {
    QString caption;
    QString field;
    double x, width;
    Qt::Alignment align;
    QString format;
};

std::vector<Column> ItemColumns(const LayoutTraits& traits, bool showFullPrice) {
    if (traits.family == Family::Vehicle && !traits.blank) {
        std::vector<Column> c = {
            {QStringLiteral("Megnevezés"), QStringLiteral("tetel_nev"), 0, 63, Qt::AlignLeft, {}}};
        if (showFullPrice) {
            c.push_back(
                {QStringLiteral("Teljes ár"), QStringLiteral("ar_teljes"), 64, 24, Qt::AlignRight, {}});
            c.push_back({QStringLiteral("Kedvezmény %"), QStringLiteral("kedv_ad"), 91, 24, Qt::AlignHCenter,
                         kPercentFormat});
        }
        c.push_back({QStringLiteral("Egységár"), QStringLiteral("ar_egys"), 117, 24, Qt::AlignRight, {}});
        c.push_back({QStringLiteral("Mennyiség"), QStringLiteral("db"), 142, 18, Qt::AlignRight, {}});
        c.push_back({QStringLiteral("Összesen"), QStringLiteral("ar_sorossz"), 161, 29, Qt::AlignRight, {}});
        return c;
    }
    return {{QStringLiteral("Cikkszám"), QStringLiteral("tetel_kod"), 0, 30, Qt::AlignLeft, {}},
            {QStringLiteral("Megnevezés"), QStringLiteral("tetel_nev"), 31, 84, Qt::AlignLeft, {}},
            {QStringLiteral("Egységár"), QStringLiteral("ar_egys"), 116, 24, Qt::AlignRight, {}},
            {QStringLiteral("Mennyiség"), QStringLiteral("db"), 141, 19, Qt::AlignRight, {}},
            {QStringLiteral("Összesen"), QStringLiteral("ar_sorossz"), 161, 29, Qt::AlignRight, {}}};
}

// The items heading, then the column headings (final) or the empty grid
// (blank). Returns the title band's height.
double Items(Band& b, const LayoutTraits& traits, const std::vector<Column>& columns, double y) {
    b.label({0, y, kWidth, 5.5}, QStringLiteral("Végzett munka, felhasznált anyagok"), Bold(10),
            Qt::AlignHCenter);
    y += 6;
    if (!traits.blank) {
        for (const Column& c : columns)
            b.label({c.x, y, c.width, kRow}, c.caption, Caption(), c.align);
        b.hline(y + kRow + 0.3, 0, kWidth, 0.3);
        return y + kRow + 0.6;
    }
    for (int r = 0; r <= traits.emptyRows; ++r) {
        const double top = y + r * kGridRow;
        for (const Column& c : columns) {
            b.box({c.x, top, c.width + (c.x + c.width < kWidth ? 1 : 0), kGridRow}, 0.15);
            if (r == 0)
                b.label({c.x, top, c.width, kGridRow}, c.caption, Caption(), Qt::AlignHCenter);
        }
    }
    return y + (traits.emptyRows + 1) * kGridRow + 1;
}

void Detail(Report& r, const std::vector<Column>& columns) {
    Band& d = r.band(BandKind::Detail, kDetail);
    for (const Column& c : columns)
        d.field({c.x, 0, c.width, kDetail}, c.field, Regular(9), c.align, c.format).shrinking();
    double nameX = 0;
    for (const Column& c : columns)
        if (c.field == QLatin1String("tetel_nev"))
            nameX = c.x;
    // The line's own remark on a line of its own under the item.
    d.memo({nameX + 3, kDetail, kWidth - nameX - 3, 0}, QStringLiteral("sormegj"), Italic(8.5));
    d.hline(0, 0, kWidth, 0.1).anchoredToBottom();
    // A sheet without lines comes as one row with empty line columns: its
    // header and totals print, but no empty item line.
    d.printWhen([](const RowRef& row) { return !row.isNull(u"munkalap_tetel"); });
}

// The sheet's status address over the totals: the QR code at the right
// edge, above the "Fizetendő" box, and the address under it, right-aligned
// and wrapped when long. In 22 mm the symbol of an address of up to 120
// characters, quiet zone included, has modules of 0.4 mm or more, which
// 300 dpi printers render cleanly and phones read at arm's length.
void StatusCodeOverTotals(Report& r, const QString& address) {
    constexpr double kSide = 22;
    Band& b = r.addBand(BandKind::Summary, kSide + 4.5);
    b.qrCode({kWidth - kSide, 0, kSide, kSide}, address, Qt::AlignRight);
    b.memoText({40, kSide + 0.3, kWidth - 40, 3.2}, address, AddressFont(7), Qt::AlignRight);
}

// The gas-appliance sheets fill their page down to the totals; their dates
// box has room under the dates: the code at its right edge, the address
// beside it. The address's rect is as tall as its longest wrapping, so the
// box never grows.
void StatusCodeInDates(Band& b, const QString& address, double y, double height) {
    const double x = 100, top = y + 10.6, side = height - 11.2;
    b.qrCode({kWidth - 0.6 - side, top, side, side}, address, Qt::AlignRight);
    b.memoText({x + 2, top + 1.2, kWidth - x - side - 4, side - 1.6}, address, AddressFont(6.5),
               Qt::AlignRight);
}

void Summary(Report& r, bool blank) {
    Band& s = r.addBand(BandKind::Summary, 28);
    for (const auto& [x, caption] :
         {std::pair{0.0, QStringLiteral("A munkát átvettem")}, std::pair{47.0, QStringLiteral("Dolgozó")}}) {
        s.box({x, 2, 45, 22});
        s.label({x, 18, 45, 5}, caption, Caption(), Qt::AlignHCenter);
    }
    const QString captions[3] = {QStringLiteral("Összesen"), QStringLiteral("Kedvezmény"),
                                 QStringLiteral("Átvett előleg")};
    const QString columns[3] = {QStringLiteral("ar_ossz"), QStringLiteral("ar_kedvezmeny"),
                                QStringLiteral("ar_eloleg")};
    for (int i = 0; i < 3; ++i) {
        const double y = 3 + i * 6.5;
        s.label({95, y, 24, 6}, captions[i], Caption());
        if (blank)
            s.box({119, y + 0.5, 31, 5.5}, 0.15);
        else
            s.field({119, y, 30, 6}, columns[i], Bold(10), Qt::AlignRight).shrinking();
    }
    s.box({153, 2, 37, 22}, 0.4);
    s.label({153, 3, 37, 5}, QStringLiteral("Fizetendő"), Italic(9), Qt::AlignHCenter);
    if (!blank)
        s.field({154, 9, 35, 12}, QStringLiteral("ar_fizetendo"), Bold(15), Qt::AlignHCenter).shrinking();
}

} // namespace

std::unique_ptr<Report> BuildWorkSheetReport(WorkSheetLayout layout, const WorkSheetHeaderTexts& texts,
                                             const WorkSheetPrintOptions& options, const QString& title,
                                             const QString& statusAddress) {
    const LayoutTraits traits = TraitsOf(layout);
    auto r = std::make_unique<Report>(title);
    r->setPage(QPageSize::A4, QPageLayout::Portrait, QMarginsF(10, 10, 10, traits.blank ? 7 : 10));
    r->setSummaryAtBottom(true);
    const auto columns = ItemColumns(traits, options.showFullPrice);

    // The title: sections one under the other, so that a text that grows
    // pushes down only its own section's neighbours and a page may break
    // between sections.
    const auto section = [&](const std::function<double(Band&)>& fill) {
        Band& band = r->addBand(BandKind::Title, 0);
        band.setHeight(fill(band));
    };
    section([&](Band& b) {
        return Heading(b, traits, texts, options, ShowsSheetNumber(layout, options.numVisible));
    });
    section([&](Band& b) {
        const double bottom = Device(b, traits, texts, 0);
        if (traits.family == Family::Gas && !statusAddress.isEmpty())
            StatusCodeInDates(b, statusAddress, 0, bottom - 1.5);
        return bottom;
    });
    section([&](Band& b) {
        b.field({0, 0, kWidth, 5}, QStringLiteral("mlaptipus_nev"), Bold(10), Qt::AlignHCenter).shrinking();
        double y = 5;
        if (traits.family != Family::Vehicle) {
            Pair(b, 0, y, 22, 168, QStringLiteral("Dolgozó(k)"), QStringLiteral("dolgozostr"));
            y += kRow;
        }
        return y + 1.5;
    });
    section([&](Band& b) {
        if (traits.family == Family::Gas)
            return std::max(Texts(b, traits, 0, 122), FlueGas(b, traits.blank, 124, 0)) + 1;
        return Texts(b, traits, 0, kWidth) + 1;
    });
    section([&](Band& b) { return Items(b, traits, columns, 0); });

    if (!traits.blank) {
        Detail(*r, columns);
        // The column headings again on the pages the items run onto.
        Band& header = r->band(BandKind::PageHeader, kRow + 1);
        for (const Column& c : columns)
            header.label({c.x, 0, c.width, kRow}, c.caption, Caption(), c.align);
        header.hline(kRow + 0.3, 0, kWidth, 0.3);
        r->setPageHeaderOnFirstPage(false);
    }
    if (traits.family != Family::Gas && !statusAddress.isEmpty())
        StatusCodeOverTotals(*r, statusAddress);
    Summary(*r, traits.blank);
    AddPageFooter(*r, LayoutName(layout));
    return r;
}

} // namespace kml
