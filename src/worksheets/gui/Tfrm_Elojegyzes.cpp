#include "worksheets/gui/Tfrm_Elojegyzes.h"

#include "foundation/Dialogs.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/EditWindow.h"
#include "records/CustomerWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_Elojegyzes");

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* Display(const char* name) {
    auto* edit = Named(new QLineEdit, name);
    edit->setReadOnly(true);
    return edit;
}

QToolButton* Button(const char* name, const QString& text, const QString& hint) {
    auto* button = Named(new QToolButton, name);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

} // namespace

Tfrm_Elojegyzes::Tfrm_Elojegyzes(const AppointmentDraft& draft, QWidget* parent)
    : QDialog(parent), m_draft(draft) {
    setObjectName(WindowName);
    setWindowTitle(QStringLiteral("Előjegyzés szerkesztés"));

    lblDolgozo = Named(new QLabel, "lblDolgozo");
    QFont bold = lblDolgozo->font();
    bold.setBold(true);
    lblDolgozo->setFont(bold);
    edIdo = Display("edIdo");
    edDatum = Display("edDatum");
    edHossz = Display("edHossz");
    btnRovidebb = Button("btnRovidebb", QStringLiteral("−"), QStringLiteral("Fél órával rövidebb"));
    btnHosszabb = Button("btnHosszabb", QStringLiteral("+"), QStringLiteral("Fél órával hosszabb"));
    cbSzoveg = Named(new QComboBox, "cbSzoveg");
    cbSzoveg->setEditable(true);
    cbSzoveg->setInsertPolicy(QComboBox::NoInsert);
    cbSzoveg->lineEdit()->setMaxLength(AppointmentTextLength);
    cbSzoveg->setMinimumContentsLength(40);
    edUgyfel = Display("edUgyfel");
    btnUgyfel = Button("btnUgyfel", QStringLiteral("..."), CustomerChooserCaption);
    const QString deviceWord =
        Beall().keszulekstr.isEmpty() ? QStringLiteral("Készülék") : Beall().keszulekstr;
    lblKeszulek = Named(new QLabel(deviceWord), "lblKeszulek");
    edKeszulek = Display("edKeszulek");
    btnKeszulek = Button("btnKeszulek", QStringLiteral("..."), deviceWord);
    edMunkalap = Display("edMunkalap");
    btnOk = Named(new QPushButton(dialog_text::Ok), "btnOk");
    btnMegsem = Named(new QPushButton(dialog_text::Cancel), "btnMegsem");
    btnOk->setDefault(false);
    btnOk->setAutoDefault(false);
    btnMegsem->setAutoDefault(false);

    auto* length = new QWidget;
    auto* form = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* field, QWidget* button = nullptr,
                            QLabel* label = nullptr) {
        if (!label)
            label = new QLabel(caption);
        label->setBuddy(field == length ? edHossz : field);
        form->addWidget(label, row, 0);
        form->addWidget(field, row, 1, 1, button ? 1 : 2);
        if (button)
            form->addWidget(button, row, 2);
        ++row;
    };
    form->addWidget(lblDolgozo, row++, 0, 1, 3);
    addRow(QStringLiteral("Idő"), edIdo);
    addRow(QStringLiteral("Dátum"), edDatum);
    auto* lengthRow = new QHBoxLayout(length);
    lengthRow->setContentsMargins(0, 0, 0, 0);
    lengthRow->addWidget(edHossz, 1);
    lengthRow->addWidget(btnRovidebb);
    lengthRow->addWidget(btnHosszabb);
    addRow({}, length, nullptr, new QLabel(QStringLiteral("Hossz (óra)")));
    addRow(QStringLiteral("Szöveg"), cbSzoveg);
    // The customer and the device are chosen here only for an appointment
    // without a work sheet; a sheet brings its own.
    const bool choosing = m_draft.workSheet <= 0;
    addRow(QStringLiteral("Ügyfél"), edUgyfel, choosing ? btnUgyfel : nullptr);
    addRow({}, edKeszulek, choosing ? btnKeszulek : nullptr, lblKeszulek);
    for (QToolButton* button : {btnUgyfel, btnKeszulek}) {
        button->setParent(this);
        button->setVisible(choosing);
    }
    addRow(QStringLiteral("Munkalap"), edMunkalap);
    form->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnMegsem);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    FillCombo(cbSzoveg, QStringLiteral("SELECT DISTINCT szoveg FROM elojegyzes ORDER BY 1;"));
    cbSzoveg->setEditText(m_draft.text);
    showDraft();

    connect(btnRovidebb, &QToolButton::clicked, this, [this] { stepLength(-1); });
    connect(btnHosszabb, &QToolButton::clicked, this, [this] { stepLength(+1); });
    connect(btnUgyfel, &QToolButton::clicked, this, &Tfrm_Elojegyzes::chooseCustomer);
    connect(btnKeszulek, &QToolButton::clicked, this, &Tfrm_Elojegyzes::chooseDevice);
    connect(btnOk, &QPushButton::clicked, this, &Tfrm_Elojegyzes::book);
    connect(btnMegsem, &QPushButton::clicked, this, &QDialog::reject);

    m_behaviour = new EditorBehaviour(this);
    ApplyFontSize(this);
    cbSzoveg->setFocus();
}

std::optional<BookedAppointment> Tfrm_Elojegyzes::Run(const AppointmentRequest& request) {
    const AppointmentDraft draft = NewAppointmentDraft(request);
    if (draft.longest == 0) {
        ShowWarning(AppointmentTakenMessage);
        return std::nullopt;
    }
    Tfrm_Elojegyzes window(draft, QApplication::activeWindow());
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return BookedAppointment{window.appointment(), SlotStart(draft.day, draft.slot)};
}

void Tfrm_Elojegyzes::showDraft() {
    lblDolgozo->setText(m_draft.employeeName);
    edIdo->setText(m_draft.timeText);
    edDatum->setText(m_draft.day.toString(QStringLiteral("yyyy.MM.dd")));
    edHossz->setText(LengthText(m_draft.halfHours));
    edUgyfel->setText(m_draft.customerText);
    edKeszulek->setText(m_draft.deviceText);
    edMunkalap->setText(m_draft.workSheetText);
    btnRovidebb->setEnabled(ShorterLength(m_draft.halfHours) != m_draft.halfHours);
    btnHosszabb->setEnabled(LongerLength(m_draft.halfHours, m_draft.longest) != m_draft.halfHours);
}

void Tfrm_Elojegyzes::stepLength(int step) {
    m_draft.halfHours =
        step < 0 ? ShorterLength(m_draft.halfHours) : LongerLength(m_draft.halfHours, m_draft.longest);
    showDraft();
}

void Tfrm_Elojegyzes::chooseCustomer() {
    if (ChooseAppointmentCustomer(m_draft))
        showDraft();
}

void Tfrm_Elojegyzes::chooseDevice() {
    ChooseAppointmentDevice(m_draft);
    showDraft(); // a customer chosen on the way stays
}

void Tfrm_Elojegyzes::book() {
    m_draft.text = cbSzoveg->currentText().left(AppointmentTextLength);
    if (const QString passed = PassedSlotQuestion(m_draft.day, m_draft.slot, QDateTime::currentDateTime());
        !passed.isEmpty() && !AskYesNo(passed, dialog_text::ConfirmCaption, this))
        return; // the draft stays open for another time
    const Booking booked = BookAppointment(m_draft);
    if (booked.taken) {
        ShowWarning(AppointmentTakenMessage, this);
        reject();
        return;
    }
    m_appointment = booked.appointment;
    accept();
}

void Tfrm_Elojegyzes::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowPos(this, WindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_Elojegyzes::done(int result) {
    if (m_placed)
        SaveWindowPos(this, WindowName);
    QDialog::done(result);
}

} // namespace kml
