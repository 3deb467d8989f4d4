#include "BenchSupport.h"

#include <QFile>
#include <algorithm>

namespace kml::bench {

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::vector<double> TimeRuns(int runs, const std::function<void()>& work) {
    work();
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(ElapsedMs(timer));
    }
    return ms;
}

quint64 ResidentBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:"))
            continue;
        // "VmRSS:    123456 kB"
        const QList<QByteArray> parts = line.simplified().split(' ');
        return parts.size() >= 2 ? parts[1].toULongLong() * 1024 : 0;
    }
    return 0;
}

QString Ms(double milliseconds) {
    return QString::number(milliseconds, 'f', 1).rightJustified(8);
}

QString MiB(quint64 bytes) {
    return (QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MiB"))
        .rightJustified(11);
}

QString Ratio(double a, double b) {
    if (b <= 0)
        return QStringLiteral("-").rightJustified(7);
    return (QString::number(a / b, 'f', 2) + QLatin1Char('x')).rightJustified(7);
}

} // namespace kml::bench
