#include "worksheets/PlannerSlots.h"

#include <QLocale>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace kml {

QString SlotTimeText(int slot) {
    return QStringLiteral("%1:%2")
        .arg(slot / 2, 2, 10, QLatin1Char('0'))
        .arg(slot % 2 == 0 ? QStringLiteral("00") : QStringLiteral("30"));
}

QDateTime SlotStart(const QDate& day, int slot) {
    return QDateTime(day, QTime(slot / 2, slot % 2 == 0 ? 0 : 30));
}

int HalfHoursOf(double hours) {
    return int(std::lround(hours * 2));
}

double HoursOf(int halfHours) {
    return halfHours / 2.0;
}

QString LengthText(int halfHours) {
    return halfHours % 2 == 0 ? QString::number(halfHours / 2) : QStringLiteral("%1,5").arg(halfHours / 2);
}

int ShorterLength(int halfHours) {
    return halfHours > 1 ? halfHours - 1 : halfHours;
}

int LongerLength(int halfHours, int longest) {
    return halfHours < longest ? halfHours + 1 : halfHours;
}

int FreeHalfHoursFrom(int slot, const std::vector<int>& daySlots, const std::vector<int>& bookedSlots) {
    auto at = std::find(daySlots.begin(), daySlots.end(), slot);
    int length = 0;
    for (int expected = slot; at != daySlots.end() && *at == expected && length < MaxAppointmentHalfHours;
         ++at, ++expected) {
        if (std::find(bookedSlots.begin(), bookedSlots.end(), expected) != bookedSlots.end())
            break;
        ++length;
    }
    return length;
}

QString DayHeading(const QDate& day) {
    return QLocale(QLocale::Hungarian).toString(day, QStringLiteral("yyyy MMMM d. dddd"));
}

QColor PlannerAppointmentColour(int azon) {
    static const QColor colours[] = {
        {255, 221, 221}, {193, 255, 224}, {255, 210, 255}, {196, 224, 255}, {255, 228, 202}};
    return colours[((azon % 5) + 5) % 5];
}

QColor DayPanelAppointmentColour(int azon) {
    static const QColor colours[] = {QColor(0xFF, 0xDD, 0xDD), QColor(0xC1, 0xFF, 0xE0),
                                     QColor(0xFF, 0xD2, 0xFF), QColor(0xC4, 0xE0, 0xFF),
                                     QColor(0xE9, 0xE9, 0xE9)};
    return colours[((azon % 5) + 5) % 5];
}

} // namespace kml
