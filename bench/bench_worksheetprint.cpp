// How long a work-sheet printout takes: from the call to the preview shown
// (its first page painted) and to a PDF file written, for a sheet of 60 lines
// against a sheet of 3 lines (the reference, same command) and against
// reading the printout's rows alone. Runs on its own demo database on the
// server named by KML_TEST_HOST / KML_TEST_PORT (bench/print starts one).
//
//   bench_worksheetprint [--runs N]

#include "BenchSupport.h"
#include "TestDatabase.h"
#include "components/Query.h"
#include "components/gui/ReportPreview.h"
#include "foundation/QueryHelpers.h"
#include "reports/WorkSheetPrint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>

using namespace kml;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 15;
    for (int i = 1; i + 1 < argc; ++i)
        if (QString::fromLatin1(argv[i]) == QLatin1String("--runs"))
            runs = QString::fromLatin1(argv[i + 1]).toInt();

    test::TestDatabase db(QStringLiteral("bench_print"), test::TestDatabase::Contents::Demo);
    ExecSql(QStringLiteral(
        "INSERT INTO munkalap (munkalap, mlaptipus, ugyfel, keszulek, datum, statusz, panasz) "
        "SELECT 901, mlaptipus, ugyfel, keszulek, CURDATE(), 3, panasz FROM munkalap WHERE munkalap = 12;"));
    ExecSql(QStringLiteral("INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, megjegyzes) "
                           "SELECT 901, 1 + s.seq MOD 40, 1 + s.seq MOD 3, 1000 * s.seq, "
                           "IF(s.seq MOD 7 = 0, 'cserélve', NULL) FROM seq_1_to_60 s;"));
    ExecSql(QStringLiteral("CALL sp_arbeallit(901);"));

    WorkSheetPrintOptions options;
    options.programType = 1;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));

    struct Row {
        QString what;
        std::vector<double> ms;
    };
    std::vector<Row> rows;
    for (const int sheet : {901, 12}) {
        const QString name = sheet == 901 ? QStringLiteral("60 lines") : QStringLiteral(" 3 lines");
        rows.push_back(
            {name + QStringLiteral(": rows only "), bench::TimeRuns(runs, [&] {
                 Query q;
                 q.setSql(
                     QStringLiteral("SELECT * FROM vw_mlapprint WHERE munkalap = %1 ORDER BY munkalap_tetel;")
                         .arg(sheet));
                 q.open();
             })});
        rows.push_back({name + QStringLiteral(": laid out  "), bench::TimeRuns(runs, [&] {
                            MakeWorkSheetDocument(sheet, WorkSheetLayout::qrMunkalap, options);
                        })});
        rows.push_back({name + QStringLiteral(": PDF file  "), bench::TimeRuns(runs, [&] {
                            report::SaveAsPdf(
                                MakeWorkSheetDocument(sheet, WorkSheetLayout::qrMunkalap, options), pdf);
                        })});
        rows.push_back({name + QStringLiteral(": preview   "), bench::TimeRuns(runs, [&] {
                            const report::Document doc =
                                MakeWorkSheetDocument(sheet, WorkSheetLayout::qrMunkalap, options);
                            report::ReportPreview preview(doc, {});
                            preview.resize(800, 1000);
                            preview.show();
                            preview.grab(); // the first page painted
                        })});
    }

    QTextStream out(stdout);
    out << "Work-sheet printout, " << runs << " runs each, medians (ms)\n";
    const size_t half = rows.size() / 2;
    for (size_t i = 0; i < half; ++i) {
        const double big = bench::Median(rows[i].ms), small = bench::Median(rows[i + half].ms);
        out << rows[i].what << bench::Ms(big) << "   " << rows[i + half].what << bench::Ms(small)
            << "   ratio " << bench::Ratio(big, small) << '\n';
    }
    return 0;
}
