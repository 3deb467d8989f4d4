#include "foundation/DateHelpers.h"

#include <QElapsedTimer>

namespace kml {

QString SqlDate(bool usFormat, const QDate& date) {
    const QString text =
        date.toString(usFormat ? QStringLiteral("MM/dd/yyyy") : QStringLiteral("yyyy-MM-dd"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString PeriodText(const QDate& start, const QDate& end) {
    const QString format = QStringLiteral("yyyy.MM.dd");
    return start.toString(format) + QLatin1String(" - ") + end.toString(format);
}

int DateYear(const QDate& date) {
    return date.year();
}

int DateMonth(const QDate& date) {
    return date.month();
}

int DateWeek(const QDate& date) {
    return date.weekNumber();
}

QDate Today() {
    thread_local QElapsedTimer sinceRead;
    thread_local QDate today;
    if (!sinceRead.isValid() || sinceRead.elapsed() >= 1000) {
        today = QDate::currentDate();
        sinceRead.start();
    }
    return today;
}

} // namespace kml
