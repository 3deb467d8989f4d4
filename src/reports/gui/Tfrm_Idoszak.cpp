#include "reports/gui/Tfrm_Idoszak.h"

#include "foundation/Dialogs.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/EditWindow.h"

#include <QApplication>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kWindowName = QStringLiteral("frm_Idoszak");

QDateEdit* DatePicker(QWidget* parent, const char* name) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
    picker->setCalendarPopup(true);
    picker->setMinimumWidth(120);
    return picker;
}

} // namespace

Tfrm_Idoszak::Tfrm_Idoszak(QWidget* parent) : QDialog(parent) {
    setObjectName(kWindowName);
    setWindowTitle(period_window::Caption);

    auto* period = new QGroupBox(QStringLiteral("Időszak"), this);
    period->setObjectName(QStringLiteral("grpIdoszak"));
    m_first = DatePicker(period, "eAlso");
    m_last = DatePicker(period, "eFelso");
    auto* form = new QFormLayout(period);
    form->addRow(QStringLiteral("Első nap"), m_first);
    form->addRow(QStringLiteral("Utolsó nap"), m_last);

    auto* presets = new QGroupBox(QStringLiteral("Intervallum"), this);
    presets->setObjectName(QStringLiteral("grpIntervallum"));
    auto* grid = new QGridLayout(presets);
    int index = 0;
    for (const PeriodPreset preset : AllPeriodPresets) {
        auto* button = new QPushButton(PresetCaption(preset), presets);
        button->setObjectName(QStringLiteral("btnPreset%1").arg(index));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, preset] { applyPreset(preset); });
        grid->addWidget(button, index / 2, index % 2);
        ++index;
    }

    auto* ok = new QPushButton(dialog_text::Ok, this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(dialog_text::Cancel, this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* top = new QHBoxLayout;
    top->addWidget(period);
    top->addWidget(presets);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // Focus colour, Enter to the next control, Ctrl+Enter for OK.
    m_behaviour = new EditorBehaviour(this);
    m_behaviour->setCtrlEnter([this] { accept(); });

    setPeriod({QDate::currentDate(), QDate::currentDate()});
    m_first->setFocus(Qt::OtherFocusReason);
}

Period Tfrm_Idoszak::period() const {
    return {m_first->date(), m_last->date()};
}

void Tfrm_Idoszak::setPeriod(const Period& period) {
    m_first->setDate(period.first);
    m_last->setDate(period.last);
}

void Tfrm_Idoszak::applyPreset(PeriodPreset preset) {
    setPeriod(PresetPeriod(preset, QDate::currentDate()));
}

bool Tfrm_Idoszak::Ask(Period& period, const QString& caption) {
    Tfrm_Idoszak window(QApplication::activeWindow());
    if (!caption.isEmpty())
        window.setWindowTitle(caption);
    window.setPeriod(period);
    ApplyFontSize(&window);
    window.setFixedSize(window.sizeHint());
    LoadWindowPos(&window, kWindowName);
    const bool confirmed = window.exec() == QDialog::Accepted;
    SaveWindowPos(&window, kWindowName);
    if (confirmed)
        period = window.period();
    return confirmed;
}

} // namespace kml
