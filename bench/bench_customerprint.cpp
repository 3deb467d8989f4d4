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

        // Peak memory: a tenth of the list first, then all of it.
        int rowsTenth = 0, rowsAll = 0, pagesTenth = 0, pagesAll = 0;
        {
            Query q;
            OpenCustomerListQuery(q, tenth);
            rowsTenth = q.recordCount();
            const report::Document d = MakeCustomerListDocument(q, shop);
            pagesTenth = d.pageCount();
            report::SaveAsPdf(d, pdf);
        }
        const quint64 peakTenth = PeakBytes();

        std::vector<double> firstPage, wholePdf, client;
        for (int i = 0; i < n; ++i) {
            QElapsedTimer t;
            t.start();
            {
                Query q;
                OpenCustomerListQuery(q, all);
                rowsAll = q.recordCount();
                const report::Document d = MakeCustomerListDocument(q, shop);
                pagesAll = d.pageCount();
                report::ReportPreview preview(d, {});
                preview.resize(800, 1000);
                preview.show();
                preview.grab(); // the first page painted
                firstPage.push_back(ElapsedMs(t));
            }
            t.restart();
            {
                Query q;
                OpenCustomerListQuery(q, all);
                report::SaveAsPdf(MakeCustomerListDocument(q, shop), pdf);
            }
            wholePdf.push_back(ElapsedMs(t));
            client.push_back(ClientReadMs(c, all));
        }
        const quint64 peakAll = PeakBytes();

        const double first = Median(firstPage), whole = Median(wholePdf), ref = Median(client);
        out << "Customer list printout, " << rowsAll << " customers, " << pagesAll << " pages, " << n
            << " runs, medians\n";
        out << "  first page in the preview " << Ms(first)
            << " ms   target <= 300 ms: " << (first <= 300 ? "met" : "NOT met") << '\n';
        out << "  whole list to PDF         " << Ms(whole) << " ms = " << int(rowsAll / (whole / 1000))
            << " rows/s   target >= 5000 rows/s: " << (rowsAll / (whole / 1000) >= 5000 ? "met" : "NOT met")
            << '\n';
        out << "  mariadb client, same rows " << Ms(ref) << " ms   ratio " << Ratio(whole, ref) << '\n';
        out << "  peak memory: " << rowsTenth << " rows / " << pagesTenth << " pages " << MiB(peakTenth)
            << ", " << rowsAll << " rows / " << pagesAll << " pages " << MiB(peakAll) << "   ratio "
            << Ratio(double(peakAll), double(peakTenth)) << " (flat would be about 1x)\n";
    } catch (const std::exception& e) {
        out << "failed: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
