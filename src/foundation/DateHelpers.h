#pragma once

#include <QDate>
#include <QString>

namespace kml {

// A quoted date literal for SQL: 'yyyy-mm-dd', or 'mm/dd/yyyy' when
// usFormat is true.
QString SqlDate(bool usFormat, const QDate& date);
// "yyyy.mm.dd - yyyy.mm.dd".
QString PeriodText(const QDate& start, const QDate& end);
int DateYear(const QDate& date);
int DateMonth(const QDate& date);
// ISO 8601 week number: weeks begin on Monday, week 1 holds the year's first
// Thursday (so 1 January may be in week 52 or 53 of the year before).
int DateWeek(const QDate& date);

// Today's date for code that asks for it very often (a grid colouring each
// cell by a date): the clock is read at most once a second, because
// QDate::currentDate() reads the time-zone data again on every call.
QDate Today();

} // namespace kml
