#include "patterns/gui/FormEditor.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/QueryHelpers.h"
#include "foundation/gui/PictureView.h"
#include "patterns/ListController.h"
#include "patterns/gui/ListGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

namespace kml {

namespace form_text {
inline const QString ShowPassword = QStringLiteral("Mutat");
inline const QString SetDate = QStringLiteral("Dátum beállítás");
inline const QString ClearDate = QStringLiteral("Dátum törlés");
} // namespace form_text

namespace {

// A control and its buttons on one line of the form.
QWidget* Row(QWidget* parent, QWidget* control, std::initializer_list<QWidget*> beside,
             bool stretch = false) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    control->setParent(row);
    layout->addWidget(control, stretch ? 0 : 1);
    for (QWidget* widget : beside) {
        widget->setParent(row);
        layout->addWidget(widget);
    }
    if (stretch)
        layout->addStretch(1);
    return row;
}

QFormLayout* FormOf(QWidget* page) {
    return static_cast<QFormLayout*>(page->layout());
}

} // namespace

FormEditor::FormEditor(EditorDefinition definition, QWidget* parent)
    : EditWindow(definition.name, definition.table, parent), m_definition(std::move(definition)) {
    setWindowTitle(m_definition.caption);
    if (!m_definition.keyField.isEmpty())
        table().setKeyField(m_definition.keyField);

    auto* layout = new QVBoxLayout(this);
    const bool paged = std::any_of(m_definition.fields.begin(), m_definition.fields.end(),
                                   [](const EditorField& f) { return !f.page.isEmpty(); });
    QWidget* single = nullptr;
    if (paged) {
        m_pages = new QTabWidget(this);
        m_pages->setObjectName(QStringLiteral("PageControl1"));
        layout->addWidget(m_pages, 1);
    } else {
        single = new QWidget(this);
        new QFormLayout(single);
        FormOf(single)->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(single, 1);
    }

    QWidget* first = nullptr;
    for (const EditorField& field : m_definition.fields) {
        QWidget* page = paged ? pageFor(field.page) : single;
        QWidget* control = makeControl(field, page);
        const QString name = field.field.isEmpty() ? field.label : field.field;
        if (control->objectName().isEmpty())
            control->setObjectName(name);
        m_controls.emplace_back(name, control);
        const bool takesFocus = control->focusPolicy() != Qt::NoFocus &&
                                field.kind != EditorFieldKind::Display &&
                                field.kind != EditorFieldKind::Picture;
        if (!first && takesFocus)
            first = control;
    }

    addOkCancel(layout);
    setCtrlEnterAccepts(m_definition.ctrlEnterAccepts);
    if (m_pages)
        m_pages->setCurrentIndex(0);
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

FormEditor::~FormEditor() = default;

QWidget* FormEditor::pageFor(const QString& caption) {
    for (int i = 0; i < m_pages->count(); ++i)
        if (m_pages->tabText(i) == caption || (caption.isEmpty() && i == 0))
            return m_pages->widget(i);
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(m_pages->count() + 1));
    new QFormLayout(page);
    m_pages->addTab(page, caption);
    return page;
}

QWidget* FormEditor::makeControl(const EditorField& field, QWidget* page) {
    QFormLayout* form = FormOf(page);
    switch (field.kind) {
    case EditorFieldKind::Text:
    case EditorFieldKind::Number:
    case EditorFieldKind::Display: {
        auto* edit = new QLineEdit(page);
        if (field.kind == EditorFieldKind::Text)
            bindText(edit, field.field, field.options);
        else if (field.kind == EditorFieldKind::Number)
            bindNumber(edit, field.field, field.options);
        else
            bindDisplay(edit, field.field);
        form->addRow(field.label, edit);
        return edit;
    }
    case EditorFieldKind::Memo: {
        auto* memo = new QPlainTextEdit(page);
        memo->setTabChangesFocus(true);
        bindMemo(memo, field.field);
        form->addRow(field.label, memo);
        return memo;
    }
    case EditorFieldKind::Flag: {
        auto* box = new QCheckBox(field.label, page);
        bindFlag(box, field.field);
        form->addRow(QString(), box);
        return box;
    }
    case EditorFieldKind::Password: {
        auto* edit = new QLineEdit(page);
        edit->setEchoMode(QLineEdit::Password);
        bindText(edit, field.field, field.options);
        auto* show = new QToolButton(page);
        show->setText(form_text::ShowPassword);
        show->setObjectName(field.field + QStringLiteral("Show"));
        show->setCheckable(true);
        show->setFocusPolicy(Qt::NoFocus);
        connect(show, &QToolButton::toggled, edit,
                [edit](bool shown) { edit->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password); });
        QWidget* row = Row(page, edit, {show});
        form->addRow(field.label, row);
        static_cast<QLabel*>(form->labelForField(row))->setBuddy(edit);
        return edit;
    }
    case EditorFieldKind::Date: {
        // Shown as the program shows dates; set from the calendar dialog or
        // cleared, never typed half-way.
        auto* edit = new QLineEdit(page);
        bindDisplay(edit, field.field);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setFixedWidth(110);
        auto* set = new QPushButton(form_text::SetDate, page);
        set->setObjectName(field.field + QStringLiteral("Set"));
        auto* clear = new QPushButton(form_text::ClearDate, page);
        clear->setObjectName(field.field + QStringLiteral("Clear"));
        for (QPushButton* button : {set, clear})
            button->setAutoDefault(false);
        const QString column = field.field;
        connect(set, &QPushButton::clicked, this, [this, column] {
            const QDate shown = fieldValue(column).toDate();
            QDate date = shown.isValid() ? shown : ServerDate();
            if (AskDate(date))
                setFieldValue(column, date);
        });
        connect(clear, &QPushButton::clicked, this, [this, column] { setFieldValue(column, QVariant()); });
        QWidget* row = Row(page, edit, {set, clear}, true);
        form->addRow(field.label, row);
        static_cast<QLabel*>(form->labelForField(row))->setBuddy(edit);
        return edit;
    }
    case EditorFieldKind::Html: {
        auto* editor = new QsciScintilla(page);
        editor->setUtf8(true);
        editor->setLexer(new QsciLexerHTML(editor));
        editor->setWrapMode(QsciScintilla::WrapWord);
        editor->setMarginWidth(0, 0);
        bindHtml(editor, field.field);
        form->addRow(field.label, editor);
        return editor;
    }
    case EditorFieldKind::Picture: {
        auto* view = new PictureView(page);
        m_pictures.push_back({&field, view});
        form->addRow(field.label, view);
        return view;
    }
    case EditorFieldKind::DetailList: {
        auto* grid = new QTableView(page);
        grid->setObjectName(QStringLiteral("DetailGrid%1").arg(m_details.size() + 1));
        auto list = std::make_unique<ListController>(field.detail->list);
        auto* link =
            new ListGrid(grid, *list, field.detail->list.columns, field.detail->list.colouring, grid);
        m_details.push_back({&field, std::move(list), link});
        form->addRow(field.label, grid);
        return grid;
    }
    case EditorFieldKind::Lookup: {
        auto* text = new QLineEdit(page);
        text->setReadOnly(true);
        text->setFocusPolicy(Qt::NoFocus);
        auto* choose = new QToolButton(page);
        choose->setText(QStringLiteral("..."));
        choose->setObjectName(field.field + QStringLiteral("Choose"));
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
        form->addRow(field.label, Row(page, text, {choose}));
        return choose;
    }
    }
    return nullptr;
}

QWidget* FormEditor::control(const QString& field) const {
    for (const auto& [name, widget] : m_controls)
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return widget;
    return nullptr;
}

ListController* FormEditor::detailList(const QString& label) const {
    for (const DetailControl& detail : m_details)
        if (detail.field->label == label)
            return detail.list.get();
    return nullptr;
}

void FormEditor::showLookups() {
    const bool active = table().isActive();
    for (const LookupControl& lookup : m_lookups)
        lookup.text->setText(lookup.field->display && active ? lookup.field->display(table()) : QString());
    for (const PictureControl& picture : m_pictures) {
        QString path;
        if (active)
            path = picture.field->picturePath ? picture.field->picturePath(table())
                                              : VarStr(table().value(picture.field->field));
        picture.view->showFile(path);
    }
    for (const DetailControl& detail : m_details) {
        // The rows of this row; none for a row not saved yet.
        const RowKey key = active ? KeyOf(table().key()) : std::nullopt;
        if (!key) {
            detail.list->close();
            continue;
        }
        detail.list->setFixedCondition(detail.field->detail->condition(*key));
        detail.list->open();
    }
}

bool FormEditor::validate() {
    return !m_definition.validate || m_definition.validate(table());
}

RowKey RunFormEditor(const EditorDefinition& definition, RowKey key, QWidget* parent) {
    FormEditor window(definition, parent ? parent : QApplication::activeWindow());
    return RunFormEditor(window, key);
}

RowKey RunFormEditor(FormEditor& window, RowKey key) {
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
    return window.savedKey();
}

} // namespace kml
