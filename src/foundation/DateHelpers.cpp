#include "foundation/DateHelpers.h"

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

} // namespace kml
