#pragma once

// Small helpers shared by the benchmarks: medians, elapsed milliseconds, the
// process's resident memory.

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <vector>

namespace kml::bench {

double Median(std::vector<double> values); // 0 for none

// Milliseconds since the timer started, with sub-millisecond precision.
inline double ElapsedMs(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs work once to warm up (fonts, caches, the server's buffers), then runs
// times, and gives each run's milliseconds.
std::vector<double> TimeRuns(int runs, const std::function<void()>& work);

// The resident set size of this process (VmRSS), in bytes; 0 when unknown.
quint64 ResidentBytes();

// Fixed-width text for the result tables.
QString Ms(double milliseconds);   // "  123.4"
QString MiB(quint64 bytes);        // "  12.3 MiB"
QString Ratio(double a, double b); // a / b as "1.23x", "-" when b is 0

} // namespace kml::bench
