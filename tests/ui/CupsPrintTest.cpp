// A work sheet printed through the real print system by the printer's name:
// a private CUPS server (scripts/cupsserver, started by scripts/test and
// named by KML_TEST_CUPS) whose printer "KoravelTeszt" writes each job to a
// file. Skipped when no such server runs.

#include "PdfText.h"
#include "TestDatabase.h"
#include "components/gui/ReportPrinting.h"
#include "components/report/Printers.h"
#include "foundation/Settings.h"
#include "reports/ReportWindows.h"
#include "reports/WorkSheetPrint.h"
#include "reports/gui/ReportWindows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace kml {
namespace {

TEST(CupsPrint, SheetGoesToThePrinterNamedInTheSettings) {
    const QString socket = qEnvironmentVariable("KML_TEST_CUPS");
    if (socket.isEmpty())
        GTEST_SKIP() << "no private CUPS server (KML_TEST_CUPS)";
    // Before the print system is first asked anything.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    const QString job = QFileInfo(socket).path() + QStringLiteral("/out/job.pdf");
    QFile::remove(job);

    test::TestDatabase db(QStringLiteral("cupsprint"), test::TestDatabase::Contents::Demo);
    InstallReportWindows();
    ASSERT_TRUE(report::InstalledPrinters().contains(QStringLiteral("KoravelTeszt")))
        << report::InstalledPrinters().join(QLatin1Char(',')).toStdString();

    WorkSheetPrintOptions options;
    options.programType = 1;
    const report::Document doc = MakeWorkSheetDocument(12, WorkSheetLayout::qrMunkalap, options);
    // The settings' spelling need not match the system's letter case.
    PrintReport(doc, QStringLiteral("koravelTESZT"));

    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(job) && waited.elapsed() < 15000)
        QThread::msleep(50);
    ASSERT_TRUE(QFileInfo::exists(job)) << "the job did not arrive";
    const QString text = test::Squeezed(test::ReadPdfPages(job).join(QString()));
    EXPECT_TRUE(text.contains(QStringLiteral("Hűs-Lég Klímaszerviz Kft.")));
    EXPECT_TRUE(text.contains(QStringLiteral("00012K")));
    EXPECT_TRUE(text.contains(QStringLiteral("30 861")));
    EXPECT_EQ(test::ReadPdfInfo(job).pages, 1);

    // A printer the system does not have is refused, not replaced.
    EXPECT_THROW(PrintReport(doc, QStringLiteral("Raktár")), report::PrinterError);
}

} // namespace
} // namespace kml
