// Work-sheet printouts on the demo shop, read back from PDF: the six
// layouts with their fields, the sheet-number and full-price switches,
// measurements with decimals, a sheet without lines, a sheet running onto a
// second page; the blank-or-final question and where the printout goes; the
// --pdf command line.

#include "reports/WorkSheetPrint.h"

#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "ScriptedWindows.h"
#include "TestDatabase.h"
#include "components/NumberFormat.h"
#include "components/Query.h"
#include "components/report/Printers.h"
#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "reports/PdfCommand.h"
#include "reports/ReportWindows.h"
#include "shell/AppError.h"
#include "shell/BatchSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

using test::ReadPdfInfo;
using test::ReadPdfPages;
using test::Squeezed;
using test::TestDatabase;

// Demo sheets: 12 an air-conditioner service with three lines and a 10 %
// discount, 11 a van (chassis, engine, power, odometer), 7 a gas boiler with
// flue-gas values.
constexpr int kGeneralSheet = 12;
constexpr int kVehicleSheet = 11;
constexpr int kGasSheet = 7;

struct Printout {
    int pages = 0;
    QString title;
    QString pageSize;
    QStringList texts; // squeezed, per page
    QString all() const { return texts.join(QLatin1Char('\n')); }
};

class WorkSheetPrint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new TestDatabase(QStringLiteral("worksheetprint"), TestDatabase::Contents::Demo);
        // A sheet without lines and one with 60, for the same customer and
        // device as sheet 12.
        ExecSql(QStringLiteral(
            "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, ar_eloleg, panasz) "
            "SELECT 900, mlaptipus, ugyfel, keszulek, '2024-03-05', 1, 5000, 'Nem hűt.' FROM munkalap "
            "WHERE munkalap = 12;"));
        ExecSql(QStringLiteral("CALL sp_arbeallit(900);"));
        ExecSql(QStringLiteral(
            "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, panasz) "
            "SELECT 901, mlaptipus, ugyfel, keszulek, '2024-03-06', 3, 'Sok tétel.' FROM munkalap "
            "WHERE munkalap = 12;"));
        ExecSql(
            QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, megjegyzes) "
                           "SELECT 901, (SELECT MIN(tetel) FROM tetel), 1, 1000 * s.seq, "
                           "IF(s.seq MOD 10 = 0, CONCAT('megjegyzés ', s.seq), NULL) FROM seq_1_to_60 s;"));
        ExecSql(QStringLiteral("CALL sp_arbeallit(901);"));
    }
    static void TearDownTestSuite() {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override {
        Beall() = TBeall{};
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { Beall() = TBeall{}; }

    static WorkSheetPrintOptions Options(int programType) {
        WorkSheetPrintOptions o;
        o.programType = programType;
        return o;
    }

    Printout Print(int sheet, WorkSheetLayout layout, const WorkSheetPrintOptions& options) {
        const report::Document doc =
            MakeWorkSheetDocument(sheet, layout, options, QDateTime(QDate(2024, 3, 7), QTime(9, 15)));
        const QString path = m_dir.filePath(LayoutName(layout) + QStringLiteral("-%1.pdf").arg(sheet));
        report::SaveAsPdf(doc, path);
        // Keep the demo printouts for people to look at.
        const QString kept = test::BuildPath(QStringLiteral("screenshots"));
        QDir().mkpath(kept);
        QFile::remove(kept + QLatin1Char('/') + QFileInfo(path).fileName());
        QFile::copy(path, kept + QLatin1Char('/') + QFileInfo(path).fileName());
        Printout out;
        const auto info = ReadPdfInfo(path);
        out.pages = info.pages;
        out.title = info.title;
        out.pageSize = info.pageSize;
        for (const QString& page : ReadPdfPages(path))
            out.texts << Squeezed(page);
        return out;
    }

    static TestDatabase* s_db;
    QTemporaryDir m_dir;
};

TestDatabase* WorkSheetPrint::s_db = nullptr;

void ExpectAll(const QString& text, const QStringList& pieces, const char* what) {
    for (const QString& piece : pieces)
        EXPECT_TRUE(text.contains(piece)) << what << ": missing " << piece.toStdString() << "\n"
                                          << text.toStdString();
}
void ExpectNone(const QString& text, const QStringList& pieces, const char* what) {
    for (const QString& piece : pieces)
        EXPECT_FALSE(text.contains(piece)) << what << ": unexpected " << piece.toStdString();
}

struct LayoutCase {
    WorkSheetLayout layout;
    int sheet;
    QStringList present;
    QStringList absent;
};

TEST_F(WorkSheetPrint, EachLayoutPrintsItsFieldsCaptionsAndTotals) {
    const QStringList shop = {QStringLiteral("Hűs-Lég Klímaszerviz Kft."),
                              QStringLiteral("1117 Budapest, Budafoki út 183."),
                              QStringLiteral("+36 1 785 4420")};
    const QStringList taxAndBank = {QStringLiteral("Adószám 25746307243"),
                                    QStringLiteral("Bankszámla 11711041-20876543")};
    const QStringList common = {QStringLiteral("Ügyfél"),
                                QStringLiteral("Név"),
                                QStringLiteral("Cím"),
                                QStringLiteral("Elérhetőség"),
                                QStringLiteral("Gyártó, típus"),
                                QStringLiteral("Gyártás éve"),
                                QStringLiteral("Beérkezett"),
                                QStringLiteral("Kezdés"),
                                QStringLiteral("Elkészült"),
                                QStringLiteral("Megjegyzés"),
                                QStringLiteral("Végzett munka, felhasznált anyagok"),
                                QStringLiteral("Megnevezés"),
                                QStringLiteral("Egységár"),
                                QStringLiteral("Mennyiség"),
                                QStringLiteral("Összesen"),
                                QStringLiteral("A munkát átvettem"),
                                QStringLiteral("Dolgozó"),
                                QStringLiteral("Kedvezmény"),
                                QStringLiteral("Átvett előleg"),
                                QStringLiteral("Fizetendő"),
                                QStringLiteral("Koravel.ML"),
                                QStringLiteral("oldal: 1"),
                                QStringLiteral("2024.03.07. 09:15:00")};
    const QStringList general = {QStringLiteral("00012K"),
                                 QStringLiteral("Szegedi Hűtéstechnika Kft."),
                                 QStringLiteral("Daikin FTXM35R Perfera 3,5 kW"),
                                 QStringLiteral("Gy.szám E9589800"),
                                 QStringLiteral("Készülék"),
                                 QStringLiteral("Karbantartás"),
                                 QStringLiteral("Hiba leírás"),
                                 QStringLiteral("Szöveg"),
                                 QStringLiteral("Dolgozó(k)")};
    const QStringList generalLines = {
        QStringLiteral("00003 Klíma karbantartás, tisztítás, fertőtlenítés 19 900 1 19 900"),
        QStringLiteral("00033 Antibakteriális fertőtlenítő folyadék 4 490 1 4 490"),
        QStringLiteral("00001 Kiszállási díj Budapesten belül 9 900 1 9 900"),
        QStringLiteral("Összesen 34 290"),
        QStringLiteral("Kedvezmény 3 429"),
        QStringLiteral("30 861")};
    const QStringList vehicle = {QStringLiteral("00011K"),
                                 QStringLiteral("Alföldi Agro Zrt."),
                                 QStringLiteral("Ford Transit Custom 2.0 TDCi"),
                                 QStringLiteral("Gépjármű"),
                                 QStringLiteral("Rendszám JFR-146"),
                                 QStringLiteral("Alvázszám"),
                                 QStringLiteral("Motorszám"),
                                 QStringLiteral("Teljesítmény (kW) 96"),
                                 QStringLiteral("Hengerűrtartalom"),
                                 QStringLiteral("Műszaki vizsga"),
                                 QStringLiteral("Km óra állás"),
                                 QStringLiteral("89930")};
    // Half a unit keeps its fraction beside its half price.
    const QStringList vehicleLines = {QStringLiteral("R134a hűtőközeg (autóklíma) 29 900 0,5 14 950"),
                                      QStringLiteral("Gyári töltet szerint"), QStringLiteral("45 268")};
    const QStringList gas = {QStringLiteral("00007K"),
                             QStringLiteral("Kocsis András"),
                             QStringLiteral("Baxi Luna Duo-tec E 24"),
                             QStringLiteral("Gázkészülék"),
                             QStringLiteral("Gy.szám G756675"),
                             QStringLiteral("Éves felülvizsgálat"),
                             QStringLiteral("Garanciajegy"),
                             QStringLiteral("Vásárlás dátum"),
                             QStringLiteral("Üzembehelyezés"),
                             QStringLiteral("Garancia"),
                             QStringLiteral("Füstgázelemzési adatok"),
                             QStringLiteral("Harmatpont"),
                             QStringLiteral("Hatásfok"),
                             QStringLiteral("Légellátás"),
                             QStringLiteral("Dolgozó(k)")};
    const QStringList flueValues = {
        QStringLiteral("Tgas 44 58"),       QStringLiteral("O2 4,6 5,4"),
        QStringLiteral("CO2 8,9 9,3"),      QStringLiteral("Légfelesleg 1,25 1,3"),
        QStringLiteral("Hatásfok 97 97,5"), QStringLiteral("Légellátás Megfelelő")};
    const QStringList grid = {QStringLiteral("Cikkszám Megnevezés Egységár Mennyiség Összesen")};

    const std::vector<LayoutCase> cases = {
        {WorkSheetLayout::qrMunkalap,
         kGeneralSheet,
         shop + taxAndBank + common + general + generalLines +
             QStringList{QStringLiteral("Cikkszám"), QStringLiteral("qrMunkalap\n")},
         {}},
        {WorkSheetLayout::qrMunkalap0,
         kGeneralSheet,
         shop + taxAndBank + common + general + grid + QStringList{QStringLiteral("qrMunkalap0")},
         {QStringLiteral("Antibakteriális"), QStringLiteral("30 861")}},
        {WorkSheetLayout::qrMunkalapA, kVehicleSheet,
         shop + common + vehicle + vehicleLines +
             QStringList{QStringLiteral("Ügyfél kérés"), QStringLiteral("Elvégzett munka"),
                         QStringLiteral("qrMunkalapA")},
         taxAndBank + QStringList{QStringLiteral("Dolgozó(k)"), QStringLiteral("Cikkszám")}},
        {WorkSheetLayout::qrMunkalapA0, kVehicleSheet,
         shop + common + vehicle + grid +
             QStringList{QStringLiteral("Hiba leírás"), QStringLiteral("Szöveg"),
                         QStringLiteral("qrMunkalapA0")},
         taxAndBank + QStringList{QStringLiteral("Ügyfél kérés"), QStringLiteral("Dolgozó(k)")}},
        {WorkSheetLayout::qrMunkalapG, kGasSheet,
         shop + common + gas + flueValues +
             QStringList{QStringLiteral("Cikkszám"), QStringLiteral("qrMunkalapG")},
         taxAndBank},
        {WorkSheetLayout::qrMunkalapG0,
         kGasSheet,
         shop + taxAndBank + common + gas + grid + QStringList{QStringLiteral("qrMunkalapG0")},
         {QStringLiteral("O2 4,6"), QStringLiteral("Megfelelő")}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(LayoutName(c.layout).toStdString());
        // The trade's captions come from the shop's settings row.
        const int programType = c.sheet == kVehicleSheet ? 2 : c.sheet == kGasSheet ? 4 : 1;
        ExecSql(QStringLiteral("UPDATE beallit SET prgtipus = %1;").arg(programType));
        const Printout out = Print(c.sheet, c.layout, Options(programType));
        EXPECT_EQ(out.pages, 1);
        EXPECT_TRUE(out.pageSize.contains(QStringLiteral("A4"))) << out.pageSize.toStdString();
        ExpectAll(out.all(), c.present, "present");
        ExpectNone(out.all(), c.absent, "absent");
        // The document name: serial number, arrival date, "-u" for blank sheets.
        const QString datum =
            QueryStr(QStringLiteral("SELECT DATE_FORMAT(datum, '%Y%m%d') FROM munkalap WHERE munkalap = ") +
                     QString::number(c.sheet));
        const QString gysz = QueryStr(QStringLiteral("SELECT k.gysz FROM munkalap m JOIN keszulek k ON "
                                                     "k.keszulek = m.keszulek WHERE munkalap = ") +
                                      QString::number(c.sheet));
        const QString name =
            gysz + QLatin1Char('-') + datum + (IsBlankLayout(c.layout) ? QStringLiteral("-u") : QString());
        EXPECT_EQ(out.title, name);
        EXPECT_TRUE(out.all().contains(name));
    }
    ExecSql(QStringLiteral("UPDATE beallit SET prgtipus = 1;"));
}

TEST_F(WorkSheetPrint, SheetNumberSwitchAndGasLayoutsThatIgnoreIt) {
    struct Case {
        WorkSheetLayout layout;
        int sheet;
        QString numVisible;
        bool shown;
    };
    const Case cases[] = {
        {WorkSheetLayout::qrMunkalap, kGeneralSheet, QStringLiteral("0"), false},
        {WorkSheetLayout::qrMunkalap0, kGeneralSheet, QStringLiteral("0"), false},
        {WorkSheetLayout::qrMunkalapA, kVehicleSheet, QStringLiteral("0"), false},
        {WorkSheetLayout::qrMunkalapA0, kVehicleSheet, QStringLiteral("0"), false},
        {WorkSheetLayout::qrMunkalapG, kGasSheet, QStringLiteral("0"), true},
        {WorkSheetLayout::qrMunkalapG0, kGasSheet, QStringLiteral("0"), true},
        {WorkSheetLayout::qrMunkalap, kGeneralSheet, QStringLiteral("00"), true},
        {WorkSheetLayout::qrMunkalap, kGeneralSheet, QStringLiteral(" 0"), true},
        {WorkSheetLayout::qrMunkalapA, kVehicleSheet, QStringLiteral("1"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            (LayoutName(c.layout) + QStringLiteral(" NumVisible=\"") + c.numVisible + QLatin1Char('"'))
                .toStdString());
        WorkSheetPrintOptions o = Options(1);
        o.numVisible = c.numVisible;
        const QString number = QStringLiteral("%1K").arg(c.sheet, 5, 10, QLatin1Char('0'));
        EXPECT_EQ(Print(c.sheet, c.layout, o).all().contains(number), c.shown);
    }
}

TEST_F(WorkSheetPrint, VehicleFullPriceColumnsOnlyWithTheSettingAndDiscountKeepsItsDecimals) {
    ExecSql(
        QStringLiteral("UPDATE munkalap_tetel SET kedv_ad = 12.5, ar_teljes = 51000 WHERE munkalap = 11;"));
    WorkSheetPrintOptions o = Options(2);
    o.showFullPrice = true;
    const QString with = Print(kVehicleSheet, WorkSheetLayout::qrMunkalapA, o).all();
    ExpectAll(with,
              {QStringLiteral("Megnevezés Teljes ár Kedvezmény % Egységár Mennyiség Összesen"),
               QStringLiteral("51 000 12,5")},
              "with kedvmutat");
    o.showFullPrice = false;
    const QString without = Print(kVehicleSheet, WorkSheetLayout::qrMunkalapA, o).all();
    ExpectAll(without, {QStringLiteral("Megnevezés Egységár Mennyiség Összesen")}, "without kedvmutat");
    ExpectNone(without,
               {QStringLiteral("Teljes ár"), QStringLiteral("Kedvezmény %"), QStringLiteral("51 000"),
                QStringLiteral("12,5")},
               "without kedvmutat");
    ExecSql(QStringLiteral("UPDATE munkalap_tetel SET kedv_ad = 0, ar_teljes = 0 WHERE munkalap = 11;"));
}

TEST_F(WorkSheetPrint, FinalSheetWithoutLinesStillPrintsHeaderCustomerDeviceAndTotals) {
    const Printout out = Print(900, WorkSheetLayout::qrMunkalap, Options(1));
    ASSERT_EQ(out.pages, 1);
    ExpectAll(out.all(),
              {QStringLiteral("00900K"), QStringLiteral("Szegedi Hűtéstechnika Kft."),
               QStringLiteral("Daikin FTXM35R Perfera 3,5 kW"), QStringLiteral("Gy.szám E9589800"),
               QStringLiteral("Nem hűt."), QStringLiteral("Átvett előleg 5 000"), QStringLiteral("Fizetendő"),
               QStringLiteral("-5 000"), QStringLiteral("E9589800-20240305")},
              "no lines");
}

TEST_F(WorkSheetPrint, SixtyLinesRunOntoASecondPageWithTheTotalsOnTheLast) {
    const Printout out = Print(901, WorkSheetLayout::qrMunkalap, Options(1));
    ASSERT_EQ(out.pages, 2);
    EXPECT_TRUE(out.texts[0].contains(QStringLiteral("Szegedi Hűtéstechnika Kft.")));
    EXPECT_FALSE(out.texts[1].contains(QStringLiteral("Szegedi Hűtéstechnika Kft.")));
    EXPECT_FALSE(out.texts[0].contains(QStringLiteral("Fizetendő")));
    // The column headings head the second page too.
    EXPECT_TRUE(out.texts[1].startsWith(QStringLiteral("Cikkszám Megnevezés Egységár Mennyiség Összesen")))
        << out.texts[1].left(200).toStdString();
    // 1 000 + 2 000 + ... + 60 000
    EXPECT_TRUE(out.texts[1].contains(QStringLiteral("Összesen 1 830 000"))) << out.texts[1].toStdString();
    EXPECT_TRUE(out.texts[1].contains(QStringLiteral("1 830 000")));
    for (int p = 0; p < 2; ++p)
        EXPECT_TRUE(out.texts[p].contains(QStringLiteral("oldal: %1").arg(p + 1)));
    // Every line once, in order, with its remark under it.
    const QString all = out.all();
    qsizetype at = 0;
    for (int i = 1; i <= 60; ++i) {
        const QString money = test::Squeezed(FormatNumber(QStringLiteral("### ### ##0"), 1000.0 * i));
        const qsizetype found = all.indexOf(QStringLiteral(" %1 1 %1").arg(money), at);
        ASSERT_GE(found, 0) << "line " << i;
        at = found;
        if (i % 10 == 0) {
            EXPECT_GT(all.indexOf(QStringLiteral("megjegyzés %1").arg(i), at), at);
        }
    }
}

// A cancelled sheet's printouts, blank and final in every trade, carry the
// mark on every page (the 60-line copy runs onto two); a live sheet does not.
TEST_F(WorkSheetPrint, CancelledSheetCarriesTheMarkOnEveryPageOfEveryLayout) {
    ExecSql(
        QStringLiteral(
            "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, panasz, storno) "
            "SELECT munkalap + 9000, mlaptipus, ugyfel, keszulek, datum, statusz, panasz, 'I' FROM munkalap "
            "WHERE munkalap IN (%1, %2, 901);")
            .arg(kVehicleSheet)
            .arg(kGasSheet));
    ExecSql(QStringLiteral(
        "INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, megjegyzes) "
        "SELECT 9901, tetel, db, egysar, megjegyzes FROM munkalap_tetel WHERE munkalap = 901;"));
    ExecSql(QStringLiteral("CALL sp_arbeallit(9901);"));
    const struct {
        WorkSheetLayout layout;
        int sheet;
        int programType;
    } cases[] = {
        {WorkSheetLayout::qrMunkalap, 9901, 1},
        {WorkSheetLayout::qrMunkalap0, 9901, 1},
        {WorkSheetLayout::qrMunkalapA, 9000 + kVehicleSheet, 2},
        {WorkSheetLayout::qrMunkalapA0, 9000 + kVehicleSheet, 2},
        {WorkSheetLayout::qrMunkalapG, 9000 + kGasSheet, 4},
        {WorkSheetLayout::qrMunkalapG0, 9000 + kGasSheet, 4},
    };
    for (const auto& c : cases) {
        const Printout out = Print(c.sheet, c.layout, Options(c.programType));
        ASSERT_GE(out.pages, 1);
        if (c.sheet == 9901 && c.layout == WorkSheetLayout::qrMunkalap) {
            EXPECT_EQ(out.pages, 2);
        }
        for (int page = 0; page < out.pages; ++page) {
            EXPECT_TRUE(
                out.texts.at(page).contains(QStringLiteral("SZTORNÓ – sztornózott, érvénytelen munkalap")))
                << LayoutName(c.layout).toStdString() << " page " << page + 1;
            EXPECT_GE(out.texts.at(page).count(QStringLiteral("SZTORNÓ")), 2)
                << "the stamp and the margin line";
        }
    }
    EXPECT_FALSE(Print(kGeneralSheet, WorkSheetLayout::qrMunkalap, Options(1))
                     .all()
                     .contains(QStringLiteral("SZTORNÓ")));
}

TEST_F(WorkSheetPrint, SheetWithoutRowsStillGivesAPrintoutWithEmptyFields) {
    const Printout out = Print(99999, WorkSheetLayout::qrMunkalap0, Options(1));
    EXPECT_EQ(out.pages, 1);
    EXPECT_EQ(out.title, QStringLiteral("--u"));
    EXPECT_TRUE(out.all().contains(QStringLiteral("Hűs-Lég Klímaszerviz Kft.")));
}

// ---- The blank-or-final question and where the printout goes ---------------

class PrintFlow : public WorkSheetPrint {};

TEST_F(PrintFlow, CancellingTheQuestionPrintsAndShowsNothing) {
    for (const bool toPrinter : {true, false}) {
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        windows.script(PrintReport).script(ShowReportPreview); // any call fails the test
        dialogs.answer(DialogAnswer::Cancel);
        EXPECT_FALSE(RunPrintWorkSheet(kGeneralSheet, toPrinter));
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, DialogKind::TwoWay);
        EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("Nyomtatás típusa"));
        EXPECT_EQ(dialogs.calls()[0].buttons,
                  (QStringList{QStringLiteral("Előzetes\r\n(Nincs kitöltve)"), QStringLiteral("Végleges")}));
        EXPECT_TRUE(windows.calls().empty());
    }
}

TEST_F(PrintFlow, ProgramTypeAndChoicePickTheLayoutAndTheTargetGetsThePrinterSetting) {
    struct Case {
        int programType;
        int choice;
        bool toPrinter;
        const char* layout;
    };
    const Case cases[] = {
        {0, 1, true, "qrMunkalap"},   {1, 0, false, "qrMunkalap0"}, {2, 1, false, "qrMunkalapA"},
        {2, 0, true, "qrMunkalapA0"}, {3, 1, true, "qrMunkalap"},   {4, 1, false, "qrMunkalapG"},
        {4, 0, true, "qrMunkalapG0"}, {5, 0, false, "qrMunkalap0"}, {7, 1, true, "qrMunkalap"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("prgtipus ") + std::to_string(c.programType) + " -> " + c.layout);
        Beall().prgtipus = c.programType;
        Beall().alapNyomtato = QStringLiteral("Iroda-HP");
        ScriptedDialogs dialogs;
        ScriptedWindows windows;
        QString printedLayout, printer, title;
        const auto capture = [&](const report::Document& doc, const QString& p) {
            printedLayout = doc.pageText(doc.pageCount() - 1).section(QLatin1Char('\n'), -1);
            printer = p;
            title = doc.title;
        };
        windows.script(PrintReport).script(ShowReportPreview);
        if (c.toPrinter)
            windows.act(PrintReport, capture);
        else
            windows.act(ShowReportPreview, capture);
        dialogs.answerChoice(c.choice);
        EXPECT_TRUE(RunPrintWorkSheet(kGeneralSheet, c.toPrinter));
        EXPECT_EQ(windows.calls().size(), 1u);
        EXPECT_EQ(printedLayout, QString::fromLatin1(c.layout));
        EXPECT_EQ(printer, QStringLiteral("Iroda-HP"));
        EXPECT_EQ(title.endsWith(QStringLiteral("-u")), c.choice == 0);
    }
}

TEST(Printers, DirectPrintingNeverFallsBackSilently) {
    // What the user is told when a printout meets a printer that is not there.
    const QString invalid =
        QStringLiteral("Érvénytelen nyomtató, válasszon ki érvényes nyomtatót, és indítsa újra a programot.");
    EXPECT_EQ(ReactToAppError(AppErrorText(QStringLiteral("Printer selected is not valid: Raktár")),
                              QStringLiteral("frm_Main"))
                  .message,
              invalid);
    EXPECT_EQ(ReactToAppError(AppErrorText(QStringLiteral("There is no default printer currently selected")),
                              QStringLiteral("frm_Main"))
                  .message,
              invalid);

    const QStringList printers = {QStringLiteral("Iroda-HP"), QStringLiteral("PDF")};
    EXPECT_EQ(report::FindPrinter(QStringLiteral("iroda-hp"), printers), 0);
    EXPECT_EQ(report::FindPrinter(QString(), printers), -1);
    EXPECT_EQ(report::DirectPrinter(QStringLiteral("pdf"), printers, QStringLiteral("Iroda-HP")),
              QStringLiteral("PDF"));
    EXPECT_EQ(report::DirectPrinter(QString(), printers, QStringLiteral("Iroda-HP")),
              QStringLiteral("Iroda-HP"));
    try {
        report::DirectPrinter(QStringLiteral("Raktár"), printers, QStringLiteral("Iroda-HP"));
        ADD_FAILURE() << "an unknown printer was accepted";
    } catch (const report::PrinterError& e) {
        EXPECT_NE(std::string(e.what()).find("Printer selected is not valid"), std::string::npos);
    }
    try {
        report::DirectPrinter(QString(), {}, QString());
        ADD_FAILURE() << "printing without a default printer was accepted";
    } catch (const report::PrinterError& e) {
        EXPECT_NE(std::string(e.what()).find("There is no default printer currently selected"),
                  std::string::npos);
    }
}

// ---- The --pdf command line -------------------------------------------------

class PdfCommandLine : public WorkSheetPrint {
protected:
    int Run(const QStringList& args, QString& err, const SessionOpener& opener = {}) {
        QTextStream stream(&err);
        const SessionOpener open = opener ? opener : [this](Connection& connection, const QString&) {
            connection.open(s_db->options());
            SetSharedConnection(&connection);
            Beall().prgtipus = 4;
        };
        return RunPdfCommand(QStringList{QStringLiteral("KoravelML")} + args, open, stream);
    }
};

TEST_F(PdfCommandLine, WritesTheSheetInTheShopsLayoutAndExplainsFailures) {
    const QString file = m_dir.filePath(QStringLiteral("sheet.pdf"));
    QString err;
    ASSERT_EQ(Run({QStringLiteral("--pdf"), QStringLiteral("7"), file}, err), 0) << err.toStdString();
    EXPECT_TRUE(Squeezed(ReadPdfPages(file).join(QString())).contains(QStringLiteral("O2 4,6 5,4")));
    EXPECT_EQ(
        ReadPdfInfo(file).title,
        QStringLiteral("G756675-") +
            QueryStr(QStringLiteral("SELECT DATE_FORMAT(datum, '%Y%m%d') FROM munkalap WHERE munkalap = 7")));
    ASSERT_EQ(Run({QStringLiteral("--pdf"), QStringLiteral("7"), file, QStringLiteral("--blank")}, err), 0);
    EXPECT_TRUE(Squeezed(ReadPdfPages(file).join(QString())).contains(QStringLiteral("qrMunkalapG0")));

    struct Failure {
        QStringList args;
        int code;
        QString message;
    };
    const Failure failures[] = {
        {{QStringLiteral("--pdf"), QStringLiteral("7")}, 2, PdfCommandUsage},
        {{QStringLiteral("--pdf"), QStringLiteral("x7"), file},
         2,
         QStringLiteral("Érvénytelen munkalapszám: x7")},
        {{QStringLiteral("--pdf"), QStringLiteral("7"), file, QStringLiteral("--color")},
         2,
         QStringLiteral("Ismeretlen kapcsoló: --color")},
        {{QStringLiteral("--pdf"), QStringLiteral("4711"), file},
         3,
         QStringLiteral("Nincs ilyen munkalap: 4711")},
        {{QStringLiteral("--pdf"), QStringLiteral("7"), QStringLiteral("/nincs/ilyen/mappa/x.pdf")},
         1,
         QStringLiteral("A PDF fájl nem írható: /nincs/ilyen/mappa/x.pdf")},
    };
    for (const Failure& f : failures) {
        err.clear();
        EXPECT_EQ(Run(f.args, err), f.code) << f.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(err.trimmed(), f.message);
    }
    err.clear();
    EXPECT_EQ(Run({QStringLiteral("--pdf"), QStringLiteral("7"), file}, err,
                  [](Connection&, const QString&) { throw std::runtime_error("Sikertelen kapcsolódás: x"); }),
              1);
    EXPECT_EQ(err.trimmed(), QStringLiteral("Sikertelen kapcsolódás: x"));
    EXPECT_EQ(&SharedConnection(), &s_db->connection()); // the test's connection is shared again
}

// A cancelled sheet still goes to the PDF (exit 0), marked, and the command
// says on stderr that the sheet is cancelled.
TEST_F(PdfCommandLine, CancelledSheetIsWrittenMarkedAndSaidSo) {
    ExecSql(
        QStringLiteral(
            "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, panasz, storno) "
            "SELECT 9700, mlaptipus, ugyfel, keszulek, datum, statusz, panasz, 'I' FROM munkalap WHERE "
            "munkalap = %1;")
            .arg(kGasSheet));
    const QString file = m_dir.filePath(QStringLiteral("storno.pdf"));
    QString err;
    ASSERT_EQ(Run({QStringLiteral("--pdf"), QStringLiteral("9700"), file}, err), 0) << err.toStdString();
    EXPECT_EQ(err.trimmed(),
              QStringLiteral("A munkalap sztornózott: a PDF minden oldalán „SZTORNÓ” jelzés áll."));
    EXPECT_TRUE(ReadPdfPages(file).join(QString()).contains(QStringLiteral("SZTORNÓ")));
    err.clear();
    ASSERT_EQ(Run({QStringLiteral("--pdf"), QStringLiteral("7"), file}, err), 0);
    EXPECT_EQ(err.trimmed(), QString()) << "a live sheet goes without a word";
}

TEST_F(PdfCommandLine, SessionComesFromTheIniFilesEntry) {
    const QString ini = m_dir.filePath(QStringLiteral("KoravelML.ini"));
    const auto o = s_db->options();
    IniFile file(ini);
    file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"),
                     ScramblePassword(QStringLiteral("nincs;127.0.0.1;1;root;;Másik")));
    file.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"),
                     ScramblePassword(QStringList{o.database, o.host, QString::number(o.port), o.user,
                                                  o.password, QStringLiteral("Bolt")}
                                          .join(QLatin1Char(';'))));
    file.writeString(QStringLiteral("Alapertek"), QStringLiteral("FormatFt"),
                     QStringLiteral("### ### ##0 Ft"));
    file.save();
    const QString savedIni = IniFilePath();
    const QString savedData = DataFolder();
    SetDataFolder(m_dir.path());
    SetIniFilePath(ini);
    const auto fromIni = [](Connection& c, const QString& database) { OpenSessionFromIni(c, database); };
    QString err;
    const QString pdf = m_dir.filePath(QStringLiteral("b.pdf"));
    const int code = Run(
        {QStringLiteral("--pdf"), QStringLiteral("12"), pdf, QStringLiteral("--db"), QStringLiteral("Bolt")},
        err, fromIni);
    QString unknownErr;
    const int unknown = Run({QStringLiteral("--pdf"), QStringLiteral("12"), pdf, QStringLiteral("--db"),
                             QStringLiteral("Raktár")},
                            unknownErr, fromIni);
    SetIniFilePath(savedIni);
    SetDataFolder(savedData);
    ASSERT_EQ(code, 0) << err.toStdString();
    EXPECT_TRUE(Squeezed(ReadPdfPages(pdf).join(QString())).contains(QStringLiteral("30 861 Ft")));
    EXPECT_EQ(unknown, 1);
    EXPECT_EQ(unknownErr.trimmed(), QStringLiteral("Nincs ilyen adatbázis-kapcsolat az ini fájlban: Raktár"));
}

} // namespace
} // namespace kml
