#include "patterns/gui/EditWindow.h"

#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/Flags.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <Qsci/qsciscintilla.h>

namespace kml {

namespace {

// Reaches QWidget::focusNextPrevChild, which Qt keeps protected.
struct FocusAccess : QWidget {
    using QWidget::focusNextPrevChild;
};

bool IsWindowSwitch(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

} // namespace

void FocusNextControl(QWidget* window) {
    bool (QWidget::*next)(bool) = &FocusAccess::focusNextPrevChild;
    (window->*next)(true);
}

// ---- EditorBehaviour ----------------------------------------------------

EditorBehaviour::EditorBehaviour(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

EditorBehaviour::~EditorBehaviour() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void EditorBehaviour::setUpcaseFirst(QWidget* field) {
    m_upcaseFirst.insert(field);
}

bool EditorBehaviour::isEditField(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

bool EditorBehaviour::isMultiLine(const QWidget* widget) {
    // The viewport of a scroll area gets no keys; the editor itself does.
    // Every scroll-area editor (plain text, rich text, the syntax-highlighting
    // editor) takes Enter as a line break.
    return qobject_cast<const QAbstractScrollArea*>(widget) != nullptr;
}

bool EditorBehaviour::inWindow(const QWidget* widget) const {
    return m_window && (widget == m_window || m_window->isAncestorOf(widget));
}

QWidget* EditorBehaviour::paintTarget(QWidget* widget) const {
    // The line edit inside a combo box or spin box is painted as its owner.
    QWidget* parent = widget->parentWidget();
    if (parent && (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent)))
        return parent;
    return isEditField(widget) ? widget : nullptr;
}

void EditorBehaviour::paintFocus(QWidget* widget, bool focused) {
    QWidget* target = paintTarget(widget);
    if (!target)
        return;
    if (!focused) {
        if (m_painted == target) {
            if (m_hadOwnPalette)
                target->setPalette(m_savedPalette);
            else
                target->setPalette(QPalette());
            m_painted = nullptr;
        }
        return;
    }
    if (m_painted == target)
        return;
    if (m_painted)
        paintFocus(m_painted, false);
    m_hadOwnPalette = target->testAttribute(Qt::WA_SetPalette);
    m_savedPalette = target->palette();
    QPalette palette = target->palette();
    palette.setColor(QPalette::Base, kFocusColor);
    if (qobject_cast<QComboBox*>(target))
        palette.setColor(QPalette::Button, kFocusColor);
    target->setPalette(palette);
    m_painted = target;
}

bool EditorBehaviour::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::FocusIn && type != QEvent::FocusOut) ||
        !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!inWindow(widget))
        return false;
    if (type == QEvent::FocusIn) {
        paintFocus(widget, true);
        return false;
    }
    if (type == QEvent::FocusOut) {
        if (!IsWindowSwitch(event))
            paintFocus(widget, false);
        return false;
    }
    // A key press bubbles up to the parents when the focused widget leaves it;
    // only its first delivery counts.
    if (widget != QApplication::focusWidget())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (modifiers == Qt::ControlModifier && m_ctrlEnter) {
            m_ctrlEnter();
            return true;
        }
        if (modifiers != Qt::NoModifier || isMultiLine(widget))
            return false;
        const auto* button = qobject_cast<const QAbstractButton*>(widget);
        if (button && !qobject_cast<const QCheckBox*>(widget) && !qobject_cast<const QRadioButton*>(widget))
            return false; // a focused push button is pressed
        FocusNextControl(m_window);
        return true;
    }
    QWidget* field = m_upcaseFirst.contains(widget) ? widget : nullptr;
    if (!field && widget->parentWidget() && m_upcaseFirst.contains(widget->parentWidget()))
        field = widget->parentWidget();
    if (field && key->text().size() == 1 && !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar typed = key->text().at(0);
        const QChar upper = UpcaseFirstKey(field, typed);
        if (upper != typed) {
            QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers() | Qt::ShiftModifier,
                               QString(upper), key->isAutoRepeat(), ushort(key->count()));
            QApplication::sendEvent(widget, &replaced);
            return true;
        }
    }
    return false;
}

// ---- EditWindow --------------------------------------------------------

EditWindow::EditWindow(const QString& windowName, const QString& tableName, QWidget* parent)
    : QDialog(parent), m_name(windowName), m_table(tableName), m_behaviour(new EditorBehaviour(this)) {
    setObjectName(windowName);
    ApplyFontSize(this);
}

EditWindow::~EditWindow() = default;

void EditWindow::startNew() {
    m_table.startNew();
    showValues();
    markClean();
}

bool EditWindow::startEdit(const QVariant& key) {
    const bool found = m_table.load(key);
    showValues();
    markClean();
    return found;
}

QStringList EditWindow::rowSnapshot() const {
    QStringList values;
    if (!m_table.isActive())
        return values;
    for (const ColumnInfo& column : m_table.columns()) {
        const QVariant value = m_table.value(column.name);
        // A null and an empty text both show as an empty field.
        values << (value.isNull() ? QString() : VarStr(value));
    }
    return values;
}

bool EditWindow::isDirty() const {
    return m_table.isActive() && rowSnapshot() != m_clean;
}

void EditWindow::markClean() {
    m_clean = rowSnapshot();
}

bool EditWindow::confirmDiscard() {
    return !isDirty() || AskYesNo(edit_text::DiscardChangesQuestion, dialog_text::ConfirmCaption, this);
}

void EditWindow::bind(Kind kind, QWidget* widget, const QString& field, FieldOptions options) {
    m_bindings.push_back(Binding{kind, widget, field, options});
    m_limits.setCaptionSource(field,
                              [w = QPointer<QWidget>(widget)] { return w ? FieldCaption(w) : QString(); });
    if (options.upcaseFirst)
        m_behaviour->setUpcaseFirst(widget);
    const Binding binding = m_bindings.back();
    if (m_table.isActive())
        showBinding(binding);
}

void EditWindow::bindText(QLineEdit* edit, const QString& field, FieldOptions options) {
    bind(Kind::Text, edit, field, options);
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field, options](const QString& typed) {
        QString text = typed;
        if (options.upperCase && text != text.toUpper()) {
            const int caret = edit->cursorPosition();
            text = text.toUpper();
            edit->setText(text);
            edit->setCursorPosition(caret);
        }
        store(Binding{Kind::Text, edit, field, options}, text);
    });
}

void EditWindow::bindNumber(QLineEdit* edit, const QString& field, FieldOptions options) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-0-9 ,.]*")), edit));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bind(Kind::Number, edit, field, options);
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field, options](const QString& text) {
        const int column = m_table.fieldIndex(field);
        const bool integer = column >= 0 && m_table.columns()[size_t(column)].kind == FieldKind::Integer;
        store(Binding{Kind::Number, edit, field, options}, NumberFromText(text, integer));
    });
}

void EditWindow::bindMemo(QPlainTextEdit* memo, const QString& field) {
    bind(Kind::Memo, memo, field, {});
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, field] {
        if (!m_loading)
            store(Binding{Kind::Memo, memo, field, {}}, memo->toPlainText());
    });
}

void EditWindow::bindFlag(QCheckBox* box, const QString& field) {
    bind(Kind::Flag, box, field, {});
    connect(box, &QCheckBox::toggled, this, [this, box, field](bool checked) {
        if (!m_loading)
            store(Binding{Kind::Flag, box, field, {}}, FlagText(checked));
    });
}

void EditWindow::bindComboText(QComboBox* combo, const QString& field, FieldOptions options) {
    bind(Kind::Combo, combo, field, options);
    connect(combo, &QComboBox::currentTextChanged, this, [this, combo, field, options](const QString& text) {
        if (!m_loading)
            store(Binding{Kind::Combo, combo, field, options}, text);
    });
}

void EditWindow::bindDisplay(QLineEdit* box, const QString& field) {
    box->setReadOnly(true);
    bind(Kind::Display, box, field, {});
}

void EditWindow::bindHtml(QsciScintilla* editor, const QString& field) {
    bind(Kind::Html, editor, field, {});
    connect(editor, &QsciScintilla::textChanged, this, [this, editor, field] {
        if (!m_loading)
            store(Binding{Kind::Html, editor, field, {}}, editor->text());
    });
}

QString EditWindow::displayText(const QVariant& value, Kind kind) const {
    if (!value.isValid() || value.isNull())
        return {};
    if (kind == Kind::Number && value.typeId() == QMetaType::Double)
        return FloatText(QStringLiteral(","), value.toDouble());
    return VarStr(value);
}

void EditWindow::showBinding(const Binding& binding) {
    if (!binding.widget || !m_table.isActive())
        return;
    const QVariant value = m_table.value(binding.field);
    const int width = m_table.maxLength(binding.field);
    const QSignalBlocker block(binding.widget);
    m_loading = true;
    switch (binding.kind) {
    case Kind::Text:
    case Kind::Number:
    case Kind::Display: {
        auto* edit = static_cast<QLineEdit*>(binding.widget.data());
        if (binding.kind == Kind::Text && width > 0 && edit->inputMask().isEmpty())
            edit->setMaxLength(width);
        edit->setText(displayText(value, binding.kind));
        edit->setCursorPosition(0);
        break;
    }
    case Kind::Memo:
        static_cast<QPlainTextEdit*>(binding.widget.data())->setPlainText(VarStr(value));
        break;
    case Kind::Html:
        static_cast<QsciScintilla*>(binding.widget.data())->setText(VarStr(value));
        break;
    case Kind::Flag:
        static_cast<QCheckBox*>(binding.widget.data())->setChecked(IsFlagSet(value));
        break;
    case Kind::Combo: {
        auto* combo = static_cast<QComboBox*>(binding.widget.data());
        if (combo->isEditable()) {
            if (width > 0)
                combo->lineEdit()->setMaxLength(width);
            combo->setCurrentText(VarStr(value));
        } else {
            combo->setCurrentIndex(combo->findText(VarStr(value)));
        }
        break;
    }
    }
    m_loading = false;
}

void EditWindow::store(const Binding& binding, const QVariant& value) {
    if (!m_table.isActive())
        return;
    m_table.setValue(binding.field, value);
    // Other widgets bound to the same column follow.
    for (const Binding& other : m_bindings)
        if (other.widget != binding.widget && other.field.compare(binding.field, Qt::CaseInsensitive) == 0)
            showBinding(other);
}

void EditWindow::setFieldValue(const QString& field, const QVariant& value) {
    m_table.setValue(field, value);
    for (const Binding& binding : m_bindings)
        if (binding.field.compare(field, Qt::CaseInsensitive) == 0)
            showBinding(binding);
}

void EditWindow::showValues() {
    for (const Binding& binding : m_bindings)
        showBinding(binding);
}

void EditWindow::setLeaveHandler(QWidget* field, std::function<void()> handler) {
    m_leaveHandlers[field] = std::move(handler);
    field->installEventFilter(this);
}

void EditWindow::leaveFocusedField() {
    const auto it = m_leaveHandlers.find(focusWidget());
    if (it != m_leaveHandlers.end())
        it->second();
}

bool EditWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !IsWindowSwitch(event)) {
        const auto it = m_leaveHandlers.find(watched);
        if (it != m_leaveHandlers.end())
            it->second();
    }
    return QDialog::eventFilter(watched, event);
}

void EditWindow::setButtons(QPushButton* ok, QPushButton* cancel) {
    m_ok = ok;
    if (ok) {
        ok->setDefault(false);
        ok->setAutoDefault(false);
        connect(ok, &QPushButton::clicked, this, &EditWindow::accept);
    }
    if (cancel) {
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, &EditWindow::reject);
    }
}

void EditWindow::addOkCancel(QBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setButtons(ok, cancel);
}

void EditWindow::setCtrlEnterAccepts(bool on) {
    if (!on) {
        m_behaviour->setCtrlEnter({});
        return;
    }
    m_behaviour->setCtrlEnter([this] {
        // Leaving the field first runs what leaving it does.
        if (m_ok) {
            m_ok->setFocus(Qt::TabFocusReason);
            m_ok->click();
        } else {
            accept();
        }
    });
}

void EditWindow::setResizable(bool on) {
    m_resizable = on;
    setSizeGripEnabled(on);
}

void EditWindow::accept() {
    if (!m_limits.check(m_table, this) || !validate())
        return;
    try {
        m_savedKey = m_table.post();
    } catch (const StaleRowError& stale) {
        ShowError(stale.reason() == StaleRowError::Reason::Deleted ? edit_text::RowDeleted
                                                                   : edit_text::RowChanged,
                  this);
        return;
    }
    QDialog::accept();
}

void EditWindow::reject() {
    if (confirmDiscard())
        discardAndClose();
}

void EditWindow::discardAndClose() {
    if (m_table.isActive())
        m_table.cancel();
    QDialog::reject();
}

void EditWindow::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        // What the window shows first, defaults included, is the unchanged row.
        markClean();
        if (m_resizable)
            LoadWindowBounds(this, m_name);
        else
            LoadWindowPos(this, m_name);
    }
    QDialog::showEvent(event);
}

void EditWindow::done(int result) {
    if (m_placed) {
        if (m_resizable)
            SaveWindowBounds(this, m_name);
        else
            SaveWindowPos(this, m_name);
    }
    QDialog::done(result);
}

} // namespace kml
