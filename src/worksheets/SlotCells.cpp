#include "worksheets/SlotCells.h"

#include "components/Query.h"
#include "patterns/ListDefinition.h"
#include "worksheets/PlannerSlots.h"

namespace kml {
namespace {

QString TextAt(const Query& slotRows, int row, const char* field) {
    return ValueAt(slotRows, row, QString::fromLatin1(field)).toString();
}

} // namespace

std::vector<SlotCell> DayPanelCells(const Query& slotRows, int row, bool selected) {
    SlotCell base;
    const int azon = ValueAt(slotRows, row, QStringLiteral("azon")).toInt(); // NULL: 0
    if (selected) {
        base.background = DayPanelSelection;
        base.foreground = QColor(Qt::white);
    } else if (azon != 0) {
        base.background = DayPanelAppointmentColour(azon);
    }
    base.topRule = !TextAt(slotRows, row, "szoveg").isEmpty();

    SlotCell time = base;
    time.texts = {{TextAt(slotRows, row, "ora2"), 10, true, 2, 2}};
    SlotCell text = base;
    text.texts = {{TextAt(slotRows, row, "szoveg"), 0, false, 2, 2},
                  {TextAt(slotRows, row, "munkalapstr"), 8, false, 2, 20}};
    SlotCell customer = base;
    customer.texts = {{TextAt(slotRows, row, "ugyfelstr"), 8, false, 2, 2},
                      {TextAt(slotRows, row, "keszulekstr"), 8, false, 2, 20}};
    return {time, text, customer};
}

SlotCell PlannerTimeCell(int slot) {
    SlotCell cell;
    cell.texts = {{SlotTimeText(slot), 12, false, 12, 12}};
    return cell;
}

SlotCell PlannerOccupiedCell(int azon, const QString& text) {
    SlotCell cell;
    cell.background = PlannerAppointmentColour(azon);
    SlotText label{text, 9};
    label.centred = true;
    cell.texts = {label};
    return cell;
}

SlotCell PlannerFreeCell(int slot) {
    SlotCell cell;
    cell.background = PlannerFree;
    SlotText label{SlotTimeText(slot)};
    label.centred = true;
    cell.texts = {label};
    cell.pickable = true;
    cell.inset = 4;
    return cell;
}

} // namespace kml
