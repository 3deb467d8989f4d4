// What the work-sheet and line editors compute without the server: line
// prices, discounts and the gross-up, the amount payable, the garment
// markers, and the statements they send (numbers always in the C locale).
#include "worksheets/LineItems.h"
#include "worksheets/WorkSheetEditing.h"
#include "worksheets/WorkSheetStatus.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

namespace kml {
namespace {

LineSource Item(double sale, double list, double purchase, double givenDiscount) {
    LineSource item;
    item.tetel = 7;
    item.tetel_kod = QStringLiteral("00007");
    item.tetel_nev = QStringLiteral("Olajszűrő");
    item.ar_elad = sale;
    item.ar_teljes = list;
    item.ar_besz = purchase;
    item.kedv_kap = 30;
    item.kedv_ad = givenDiscount;
    item.megjegyzes = QStringLiteral("gyári");
    item.egyeb = QStringLiteral("W 712/93");
    return item;
}

TEST(LineRecord, NewLineTakesTheCustomersDiscountAndTheTradesPrice) {
    struct Case {
        const char* name;
        int programType;
        double sale, list, itemDiscount, customerDiscount;
        double egysar, arTeljes, kedvAd;
    };
    const Case cases[] = {
        {"customer discount wins over the item's", 1, 5000, 6000, 5, 12, 5000, 5000, 12},
        {"no customer discount: the item's", 1, 5000, 6000, 5, 0, 5000, 5000, 5},
        {"car workshop: list price less the discount", 2, 9500, 10000, 5, 12, 8800, 10000, 12},
        {"car workshop, item discount", 2, 9500, 10000, 5, 0, 9500, 10000, 5},
        {"car workshop, no list price: from the sale price", 2, 9500, 0, 0, 10, 8550, 9500, 10},
        {"customer service", 5, 2990, 3500, 0, 0, 2990, 2990, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineRecord line =
            NewLineRecord(Item(c.sale, c.list, 4000, c.itemDiscount), c.customerDiscount, c.programType);
        EXPECT_DOUBLE_EQ(line.egysar, c.egysar);
        EXPECT_DOUBLE_EQ(line.ar_teljes, c.arTeljes);
        EXPECT_DOUBLE_EQ(line.kedv_ad, c.kedvAd);
        EXPECT_DOUBLE_EQ(line.db, 1);
        EXPECT_DOUBLE_EQ(line.osszar, c.egysar);
        EXPECT_DOUBLE_EQ(line.beszar, 4000);
        EXPECT_DOUBLE_EQ(line.kedv_kap, 30);
        EXPECT_EQ(line.tetel, 7);
        EXPECT_EQ(line.tetel_kod, "00007");
        EXPECT_EQ(line.megjegyzes, "gyári");
        EXPECT_EQ(line.egyeb, "W 712/93");
    }
}

TEST(LineRecord, StoredLineKeepsItsPriceAndDiscount) {
    // A line re-priced by hand (unit price 7777.5, not list price less 12%)
    // opens with that price on every trade.
    LineSource stored = Item(7777.5, 10000, 4000, 12);
    stored.db = 2.5;
    for (int programType : {1, 2, 5}) {
        SCOPED_TRACE(programType);
        const LineRecord line = StoredLineRecord(stored);
        EXPECT_DOUBLE_EQ(line.egysar, 7777.5);
        EXPECT_DOUBLE_EQ(line.ar_teljes, 10000);
        EXPECT_DOUBLE_EQ(line.kedv_ad, 12);
        EXPECT_DOUBLE_EQ(line.db, 2.5);
        EXPECT_DOUBLE_EQ(line.osszar, 19443.75);
    }
}

TEST(LineRecord, RecalculationsWhileEditing) {
    LineRecord line;
    line.ar_teljes = 10000;
    line.db = 3;
    line.egysar = 9000;

    DiscountFromUnitPrice(line);
    EXPECT_DOUBLE_EQ(line.kedv_ad, 10);
    RecalculateTotal(line);
    EXPECT_DOUBLE_EQ(line.osszar, 27000);

    line.kedv_ad = 12.5;
    UnitPriceFromGivenDiscount(line);
    EXPECT_DOUBLE_EQ(line.egysar, 8750);
    EXPECT_DOUBLE_EQ(line.osszar, 26250);

    line.kedv_kap = 35;
    PurchaseFromReceivedDiscount(line);
    EXPECT_DOUBLE_EQ(line.beszar, 6500);

    // Without a list price the discount is 0, not a division by zero.
    line.ar_teljes = 0;
    DiscountFromUnitPrice(line);
    EXPECT_DOUBLE_EQ(line.kedv_ad, 0);
}

TEST(LineRecord, DiscountsOutsideZeroToHundredAreRefusedByName) {
    struct Case {
        double received, given;
        std::optional<QString> message;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {0, 0, std::nullopt},
        {100, 100, std::nullopt},
        {35.5, 12.5, std::nullopt},
        {-0.5, 10, QStringLiteral("Kapott kedv%: az érték 0 és 100 között lehet.")},
        {100.01, 10, QStringLiteral("Kapott kedv%: az érték 0 és 100 között lehet.")},
        {10, -10, QStringLiteral("Adott kedv%: az érték 0 és 100 között lehet.")},
        {10, 150, QStringLiteral("Adott kedv%: az érték 0 és 100 között lehet.")},
        {10, nan, QStringLiteral("Adott kedv%: az érték 0 és 100 között lehet.")},
    };
    for (const Case& c : cases) {
        LineRecord line;
        line.kedv_kap = c.received;
        line.kedv_ad = c.given;
        EXPECT_EQ(LineProblem(line), c.message) << c.received << " " << c.given;
    }
    EXPECT_EQ(DiscountProblem(101, QStringLiteral("Kedvezmény")),
              QStringLiteral("Kedvezmény: az érték 0 és 100 között lehet."));
}

TEST(LineRecord, GrossUpRoundsHalvesToEven) {
    struct Case {
        double vat, value, grossed;
    };
    const Case cases[] = {
        {27, 100, 127},   {27, 0.5, 1},  // 0.635
        {27, 150, 190},                  // 190.5: to the even neighbour
        {27, 250, 318},                  // 317.5
        {27, 1000, 1270}, {5, 10, 10},   // 10.5
        {5, 30, 32},                     // 31.5
        {27, -150, -190}, {0, 12.5, 12}, // 12.5 stays a half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at " << c.vat << "%");
        LineRecord line;
        line.ar_teljes = line.egysar = line.beszar = line.osszar = c.value;
        GrossUp(line, c.vat);
        EXPECT_DOUBLE_EQ(line.ar_teljes, c.grossed);
        EXPECT_DOUBLE_EQ(line.egysar, c.grossed);
        EXPECT_DOUBLE_EQ(line.beszar, c.grossed);
        EXPECT_DOUBLE_EQ(line.osszar, c.grossed);
    }
}

TEST(LineRecord, SaveCallsWriteNumbersInTheCLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    LineRecord line;
    line.tetel = 12;
    line.db = 1.5;
    line.egysar = 12345.25;
    line.beszar = 0.1;
    line.kedv_kap = 0;
    line.kedv_ad = 12.5;
    line.ar_teljes = 14108.857142857143;
    line.megjegyzes = QStringLiteral("O'Neil \\ C:\\r\\n\r\nkész");
    line.egyeb = QString();
    EXPECT_EQ(SaveLineSql(5, -1, line),
              "CALL sp_munkalap_ujsor(5,12,1.5,12345.25,0.1,0,12.5,14108.8571428571,"
              "'O''Neil \\\\ C:\\\\r\\\\n\\r\\nkész','');");
    EXPECT_EQ(SaveLineSql(5, 40, line).left(37), "CALL sp_munkalap_szerkesztsor(40,12,1");
    EXPECT_EQ(LinePriceSql(40, 12.5), "CALL sp_munkalap_sorar(40,12.5,NULL);");
    EXPECT_EQ(LineDiscountSql(40, 7.25), "CALL sp_munkalap_sorar(40,NULL,7.25);");
    EXPECT_EQ(SheetDiscountSql(5, -2.5), "CALL sp_munkalap_kedvezmeny(5,-2.5);");
    QLocale::setDefault(previous);
}

TEST(WorkSheetStatements, KeysTextsAndExpectedStates) {
    EXPECT_EQ(CreateSheetSql(-1, 3, 0, QStringLiteral("Kovács 'Kis' Péter")),
              "CALL sp_ujmunkalap(-1, 3, 0, 'Kovács ''Kis'' Péter');");
    EXPECT_EQ(StatusStepSql(42, QStringLiteral("Anna"), 3, 4, QStringLiteral("SZ-2024/7'")),
              "CALL sp_statuszlepes(42,'Anna',3,4,'SZ-2024/7''');");
    EXPECT_EQ(StatusStepSql(42, QStringLiteral("Anna"), 1, 2), "CALL sp_statuszlepes(42,'Anna',1,2,NULL);");
    EXPECT_EQ(StatusStepSql(42, QStringLiteral("Anna"), 3, 4, QString()),
              "CALL sp_statuszlepes(42,'Anna',3,4,'');");
    EXPECT_EQ(PaymentSql(42, true), "CALL sp_fizetes(42,'I');");
    EXPECT_EQ(PaymentSql(42, false), "CALL sp_fizetes(42,'N');");
    EXPECT_EQ(CancelSheetSql(42), "UPDATE munkalap SET storno = 'I' WHERE munkalap = 42 AND storno = 'N';");
    EXPECT_EQ(worksheet_text::PaymentDone(QStringLiteral("12 500")), "Munkalap kifizetés (12 500) kész.");
}

TEST(WorkSheetEditor, AmountPayableIgnoresTheDiscountsSign) {
    struct Case {
        const char* name;
        QVariant total, advance, discount;
        double payable;
    };
    const Case cases[] = {
        {"plain", 10000.0, 2000.0, 500.0, 7500},
        {"negative discount counts as its amount", 10000.0, 2000.0, -500.0, 7500},
        {"advance larger than the total", 3000.0, 5000.0, 0.0, -2000},
        {"empty values count as 0", QVariant(), QVariant(), QVariant(), 0},
        {"fractions", 100.5, 0.25, -0.125, 100.125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(AmountPayable(c.total, c.advance, c.discount), c.payable);
    }
}

TEST(WorkSheetEditor, GarmentCodesChooseOneMarkerPerSide) {
    using M = GarmentMarker;
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Front, QStringLiteral("1")), M::FrontRight);
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Front, QStringLiteral("2")), M::FrontLeft);
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Front, QStringLiteral("3")), M::FrontCentre);
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Back, QStringLiteral("1")), M::BackRight);
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Back, QStringLiteral("3")), M::BackCentre);
    EXPECT_EQ(GarmentMarkerFor(GarmentSide::Side, QStringLiteral("1")), M::SideCentre);
    for (const auto& [side, code] : {std::pair{GarmentSide::Front, "0"}, std::pair{GarmentSide::Front, ""},
                                     std::pair{GarmentSide::Side, "3"}, std::pair{GarmentSide::Back, "x"}})
        EXPECT_FALSE(GarmentMarkerFor(side, QLatin1String(code))) << code;
    EXPECT_EQ(GarmentChoices(GarmentSide::Side), (QStringList{"Nincs kép", "Kép középen"}));
    EXPECT_EQ(GarmentChoices(GarmentSide::Back).at(2), "Kis kép bal oldalon");
}

TEST(WorkSheetEditor, DeadlineShowsNowForAnEmptyValue) {
    const QDateTime now(QDate(2024, 3, 5), QTime(9, 41));
    EXPECT_EQ(DeadlineShown(QVariant(), now), now);
    EXPECT_EQ(DeadlineShown(QVariant(QMetaType(QMetaType::QDateTime)), now), now);
    const QDateTime stored(QDate(2024, 3, 8), QTime(14, 30));
    EXPECT_EQ(DeadlineShown(stored, now), stored);
}

} // namespace
} // namespace kml
