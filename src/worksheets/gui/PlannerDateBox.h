#pragma once

// The date box of the planner and of the day panel (DateTimePicker1): a
// calendar drop-down over the days the planner can show; Enter shows the
// date typed there.

#include <QDate>
#include <functional>

class QDateEdit;

namespace kml {

QDateEdit* NewPlannerDateBox(std::function<void(const QDate& typed)> onEnter);

} // namespace kml
