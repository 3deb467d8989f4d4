#include "worksheets/gui/PlannerDateBox.h"

#include "worksheets/PlannerSlots.h"

#include <QDateEdit>
#include <QKeyEvent>

namespace kml {
namespace {

class EnterShowsDate final : public QObject {
public:
    EnterShowsDate(QDateEdit* box, std::function<void(const QDate&)> onEnter)
        : QObject(box), m_box(box), m_onEnter(std::move(onEnter)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_onEnter(m_box->date());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDateEdit* m_box;
    std::function<void(const QDate&)> m_onEnter;
};

} // namespace

QDateEdit* NewPlannerDateBox(std::function<void(const QDate& typed)> onEnter) {
    auto* box = new QDateEdit;
    box->setObjectName(QStringLiteral("DateTimePicker1"));
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    box->setDateRange(FirstPlannerDay, LastPlannerDay);
    new EnterShowsDate(box, std::move(onEnter));
    return box;
}

} // namespace kml
