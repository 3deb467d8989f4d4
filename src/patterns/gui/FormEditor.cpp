#include "patterns/gui/FormEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kml {

FormEditor::FormEditor(EditorDefinition definition, QWidget* parent)
    : EditWindow(definition.name, definition.table, parent), m_definition(std::move(definition)) {
    setWindowTitle(m_definition.caption);
    if (!m_definition.keyField.isEmpty())
        table().setKeyField(m_definition.keyField);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form, 1);
    QWidget* first = nullptr;
    for (const EditorField& field : m_definition.fields) {
        QWidget* control = nullptr;
        switch (field.kind) {
        case EditorFieldKind::Text:
        case EditorFieldKind::Number:
        case EditorFieldKind::Display: {
            auto* edit = new QLineEdit(this);
            if (field.kind == EditorFieldKind::Text)
                bindText(edit, field.field, field.options);
            else if (field.kind == EditorFieldKind::Number)
                bindNumber(edit, field.field, field.options);
            else
                bindDisplay(edit, field.field);
            control = edit;
            form->addRow(field.label, edit);
            break;
        }
        case EditorFieldKind::Memo: {
            auto* memo = new QPlainTextEdit(this);
            memo->setTabChangesFocus(true);
            bindMemo(memo, field.field);
            control = memo;
            form->addRow(field.label, memo);
            break;
        }
        case EditorFieldKind::Flag: {
            auto* box = new QCheckBox(field.label, this);
            bindFlag(box, field.field);
            control = box;
            form->addRow(QString(), box);
            break;
        }
        case EditorFieldKind::Lookup: {
            auto* row = new QWidget(this);
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            auto* text = new QLineEdit(row);
            text->setReadOnly(true);
            text->setFocusPolicy(Qt::NoFocus);
            auto* choose = new QToolButton(row);
            choose->setText(QStringLiteral("..."));
            choose->setObjectName(field.field + QStringLiteral("Choose"));
            rowLayout->addWidget(text, 1);
            rowLayout->addWidget(choose);
            const EditorField* f = &field;
            connect(choose, &QToolButton::clicked, this, [this, f, choose] {
                if (f->choose && table().isActive() && f->choose(table())) {
                    showValues();
                    showLookups();
                }
                QWidget* next = f->focusAfterChoice.isEmpty() ? nullptr : this->control(f->focusAfterChoice);
                if (next) {
                    next->setFocus(Qt::OtherFocusReason);
                } else {
                    choose->setFocus(Qt::OtherFocusReason);
                    FocusNextControl(this);
                }
            });
            m_lookups.push_back({f, text});
            control = choose;
            form->addRow(field.label, row);
            break;
        }
        }
        control->setObjectName(control->objectName().isEmpty() ? field.field : control->objectName());
        m_controls.emplace_back(field.field, control);
        if (!first && field.kind != EditorFieldKind::Display)
            first = control;
    }

    addOkCancel(layout);
    setCtrlEnterAccepts(m_definition.ctrlEnterAccepts);
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

QWidget* FormEditor::control(const QString& field) const {
    for (const auto& [name, widget] : m_controls)
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return widget;
    return nullptr;
}

void FormEditor::showLookups() {
    for (const LookupControl& lookup : m_lookups)
        lookup.text->setText(lookup.field->display && table().isActive() ? lookup.field->display(table())
                                                                         : QString());
}

bool FormEditor::validate() {
    return !m_definition.validate || m_definition.validate(table());
}

std::optional<qlonglong> RunFormEditor(const EditorDefinition& definition, std::optional<qlonglong> key,
                                       QWidget* parent) {
    FormEditor window(definition, parent ? parent : QApplication::activeWindow());
    return RunFormEditor(window, key);
}

std::optional<qlonglong> RunFormEditor(FormEditor& window, std::optional<qlonglong> key) {
    const EditorDefinition& definition = window.definition();
    if (key) {
        if (!window.startEdit(*key))
            return std::nullopt;
    } else {
        window.startNew();
        if (definition.newRow) {
            definition.newRow(window.table());
            window.showValues();
        }
    }
    window.showLookups();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.savedKey().toLongLong();
}

} // namespace kml
