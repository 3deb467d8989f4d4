#include "worksheets/PlannerWindows.h"

namespace kml {

QString SlotTimeText(int slot) {
    return QStringLiteral("%1:%2").arg(slot / 2, 2, 10, QLatin1Char('0')).arg(slot % 2 == 0 ? "00" : "30");
}

QDateTime SlotStart(const QDate& day, int slot) {
    return QDateTime(day, QTime(slot / 2, slot % 2 == 0 ? 0 : 30));
}

} // namespace kml
