// Benchmark of the customer list printout over the large shop
// (bench/make_large_shop, 50,000 customers), run by `bench/run --customers`:
//
//   * the first page in the preview: from the call until the preview's first
//     page is painted (target: within 300 ms);
//   * the whole list as a PDF file, in rows per second (target: at least
//     5,000), beside the mariadb client reading the same statement's rows;
//   * the peak memory of the process after a printout of a tenth of the
//     customers and after the whole list (target: flat in the pages).
#include "BenchSupport.h"
#include "components/Connection.h"
#include "components/Query.h"
#include "components/gui/ReportPreview.h"
#include "components/report/Report.h"
#include "components/report/RowSource.h"
#include "reports/CustomerPrints.h"
#include "shell/MainSession.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

using namespace kml;
using namespace kml::bench;

namespace {

quint64 PeakBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toULongLong() * 1024;
    return 0;
}

double ClientReadMs(const ConnectionOptions& c, const QString& statement) {
    QProcess client;
    client.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    client.start(QStringLiteral("mariadb"),
                 {QStringLiteral("--no-defaults"), QStringLiteral("--protocol=tcp"),
                  QStringLiteral("-h") + c.host, QStringLiteral("-P") + QString::number(c.port),
                  QStringLiteral("-u") + c.user, QStringLiteral("--default-character-set=latin2"),
                  QStringLiteral("--compress"), QStringLiteral("-B"), c.database, QStringLiteral("-e"),
                  statement});
    client.waitForFinished(-1);
    return ElapsedMs(t);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Server host."),
                                  QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Server port."),
                                  QStringLiteral("port"), QStringLiteral("3306"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("database"), QStringLiteral("koravel_large"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Timed runs of each."),
                                  QStringLiteral("n"), QStringLiteral("2"));
    parser.addOptions({host, port, database, runs});
    parser.process(app);

    ConnectionOptions c;
    c.host = parser.value(host);
    c.port = parser.value(port).toUInt();
    c.user = QStringLiteral("root");
    c.database = parser.value(database);
    c.compress = true;
    const int n = std::max(1, parser.value(runs).toInt());
    QTemporaryDir dir;
    QTextStream out(stdout);

    try {
        MainSession session;
        session.mySQLDatabase1.open(c);
        SetSharedConnection(&session.mySQLDatabase1);
        const QString all =
            QStringLiteral("SELECT * FROM vw_ugyfel\nWHERE (ugyfel > 0)\nORDER BY ugyfel_nev;");
        const QString tenth = QStringLiteral(
            "SELECT * FROM vw_ugyfel\nWHERE (ugyfel > 0) AND (ugyfel MOD 10 = 0)\nORDER BY ugyfel_nev;");
        const ShopTexts shop = ReadShopTexts();
        const QString pdf = dir.filePath(QStringLiteral("ugyfelek.pdf"));

        // Memory of the PDF itself: the peak while it is written less what
        // the rows took once read; a tenth of the list first, then all of it.
        struct Memory {
            int rows = 0;
            quint64 afterRows = 0, peak = 0;
        };
        const auto pdfMemory = [&](const QString& sql) {
            Memory m;
            Query q;
            OpenCustomerListQuery(q, sql);
            m.rows = q.recordCount();
            m.afterRows = ResidentBytes();
            SaveCustomerListPdf(q, shop, pdf);
            m.peak = PeakBytes();
            return m;
        };
        const Memory small = pdfMemory(tenth);
        const Memory large = pdfMemory(all);

        std::vector<double> firstPage, wholePdf, client;
        int rowsAll = 0, pagesAll = 0;
        for (int i = 0; i < n; ++i) {
            QElapsedTimer t;
            t.start();
            {
                Query q;
                OpenCustomerListQuery(q, all);
                SaveCustomerListPdf(q, shop, pdf);
            }
            wholePdf.push_back(ElapsedMs(t));
            client.push_back(ClientReadMs(c, all));
            t.restart();
            {
                // As the customers tab's "Nyom.kép" shows it: the first page
                // laid out and painted, the rest laid out while it is open.
                Query q;
                OpenCustomerListQuery(q, all);
                rowsAll = q.recordCount();
                const auto layout = BuildCustomerListReport(shop);
                const report::QueryRows rows(q);
                report::PageStream pages(*layout, rows);
                report::Document doc = pages.document();
                const auto layOutMore = [&] {
                    report::Page page;
                    int index = 0;
                    if (!pages.next(page, index))
                        return false;
                    doc.pages.push_back(std::move(page));
                    return true;
                };
                layOutMore();
                report::ReportPreview preview(doc, {});
                preview.setPageSource(layOutMore);
                preview.resize(800, 1000);
                preview.show();
                preview.grab(); // the first page painted
                firstPage.push_back(ElapsedMs(t));
                preview.completePages();
                pagesAll = doc.pageCount();
            }
        }

        const double first = Median(firstPage), whole = Median(wholePdf), ref = Median(client);
        const double rate = rowsAll / (whole / 1000);
        out << "Customer list printout, " << rowsAll << " customers, " << pagesAll << " pages, " << n
            << " runs, medians\n";
        out << "  first page in the preview " << Ms(first)
            << " ms   target <= 300 ms: " << (first <= 300 ? "met" : "NOT met") << '\n';
        out << "  whole list to PDF         " << Ms(whole) << " ms = " << int(rate)
            << " rows/s   target >= 5000 rows/s: " << (rate >= 5000 ? "met" : "NOT met") << '\n';
        out << "  mariadb client, same rows " << Ms(ref) << " ms   ratio " << Ratio(whole, ref) << '\n';
        const quint64 pdfSmall = small.peak > small.afterRows ? small.peak - small.afterRows : 0;
        const quint64 pdfLarge = large.peak > large.afterRows ? large.peak - large.afterRows : 0;
        out << "  PDF's own peak memory: " << small.rows << " rows " << MiB(pdfSmall) << ", " << large.rows
            << " rows " << MiB(pdfLarge) << "   ratio " << Ratio(double(pdfLarge), double(pdfSmall))
            << " for " << Ratio(double(large.rows), double(small.rows)) << " the pages\n";
    } catch (const std::exception& e) {
        out << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
