#include "worksheets/gui/Tfrm_Megjegyzes_Szerkeszt.h"

#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/LastAction.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/EditorDefinition.h"
#include "worksheets/Notes.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <stdexcept>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_Megjegyzes_Szerkeszt");
const QString DiscardQuestion = QStringLiteral("A megjegyzés módosításai elvesznek. Bezárja mentés nélkül?");

} // namespace

Tfrm_Megjegyzes_Szerkeszt::Tfrm_Megjegyzes_Szerkeszt(int note, int kind, int id, QWidget* parent)
    : QDialog(parent) {
    if (!PrepareNote(m_row, note, kind, id))
        throw std::invalid_argument("no such note");
    setObjectName(WindowName);
    setWindowTitle(note_text::EditCaption);
    setSizeGripEnabled(true);
    ApplyFontSize(this);
    resize(560, 420);
    setStyleSheet(QStringLiteral("QLineEdit:focus, QPlainTextEdit:focus { background: #A6CAF0; }"));

    auto* layout = new QVBoxLayout(this);
    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolBar);
    m_heading = new QLabel(NoteHeading(VarInt(m_row.value(QStringLiteral("id"))),
                                       VarInt(m_row.value(QStringLiteral("megjtipus")))),
                           this);
    m_heading->setObjectName(QStringLiteral("Panel1"));
    m_heading->setTextFormat(Qt::PlainText);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    layout->addWidget(m_heading);

    auto* grid = new QGridLayout;
    m_title = new QLineEdit(VarStr(m_row.value(QStringLiteral("rovid"))), this);
    m_title->setObjectName(QStringLiteral("DBEdit1"));
    m_title->setMaxLength(std::max(1, m_row.maxLength(QStringLiteral("rovid"))));
    auto* titleLabel = new QLabel(QStringLiteral("Rövid leírás"), this);
    titleLabel->setBuddy(m_title);
    grid->addWidget(titleLabel, 0, 0, 1, 2);
    grid->addWidget(m_title, 1, 0, 1, 2);
    m_text = new QPlainTextEdit(VarStr(m_row.value(QStringLiteral("megjegyzes"))), this);
    m_text->setObjectName(QStringLiteral("DBMemo1"));
    auto* textLabel = new QLabel(QStringLiteral("Megjegyzés szövege"), this);
    textLabel->setBuddy(m_text);
    grid->addWidget(textLabel, 2, 0, 1, 2);
    grid->addWidget(m_text, 3, 0, 1, 2);
    m_link = new QLineEdit(VarStr(m_row.value(QStringLiteral("link"))), this);
    m_link->setObjectName(QStringLiteral("DBEdit2"));
    auto* linkLabel = new QLabel(QStringLiteral("File-ban"), this);
    linkLabel->setBuddy(m_link);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("SpeedButton1"));
    m_browse->setFocusPolicy(Qt::NoFocus);
    connect(m_browse, &QPushButton::clicked, this, &Tfrm_Megjegyzes_Szerkeszt::browse);
    grid->addWidget(linkLabel, 4, 0, 1, 2);
    grid->addWidget(m_link, 5, 0);
    grid->addWidget(m_browse, 5, 1);
    grid->setRowStretch(3, 1);
    layout->addLayout(grid, 1);

    auto* accept = new QAction(QStringLiteral("Elfogad"), this);
    accept->setObjectName(QStringLiteral("aElfogad"));
    accept->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(accept, &QAction::triggered, this, [this] {
        SetLastAction(WindowName + QStringLiteral(".aElfogad"));
        accept_();
    });
    auto* close = new QAction(QStringLiteral("Bezár"), this);
    close->setObjectName(QStringLiteral("aBezar"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, [this] { done(QDialog::Rejected); });
    for (QAction* action : {accept, close}) {
        action->setShortcutContext(Qt::WindowShortcut);
        toolBar->addAction(action);
        addAction(action);
    }
    // Enter moves on, except inside the text.
    m_title->installEventFilter(this);
    m_link->installEventFilter(this);
}

int Tfrm_Megjegyzes_Szerkeszt::Run(int note, int kind, int id) {
    try {
        Tfrm_Megjegyzes_Szerkeszt window(note, kind, id, QApplication::activeWindow());
        window.exec();
        return window.savedNote();
    } catch (const std::invalid_argument&) {
        ShowError(edit_text::RowDeleted);
        return -1;
    }
}

bool Tfrm_Megjegyzes_Szerkeszt::isChanged() const {
    return m_title->text() != VarStr(m_row.value(QStringLiteral("rovid"))) ||
           m_text->toPlainText() != VarStr(m_row.value(QStringLiteral("megjegyzes"))) ||
           m_link->text() != VarStr(m_row.value(QStringLiteral("link")));
}

bool Tfrm_Megjegyzes_Szerkeszt::accept_() {
    const QString link = m_link->text().trimmed();
    if (const std::optional<QString> problem = LinkProblem(link)) {
        ShowError(*problem, this);
        m_link->setFocus();
        return false;
    }
    m_row.setValue(QStringLiteral("rovid"), m_title->text());
    m_row.setValue(QStringLiteral("megjegyzes"), m_text->toPlainText());
    m_row.setValue(QStringLiteral("link"), link);
    try {
        m_saved = VarInt(m_row.post());
    } catch (const StaleRowError& stale) {
        ShowError(stale.reason() == StaleRowError::Reason::Deleted ? edit_text::RowDeleted
                                                                   : edit_text::RowChanged,
                  this);
        return false;
    }
    m_closing = true;
    done(QDialog::Accepted);
    return true;
}

void Tfrm_Megjegyzes_Szerkeszt::browse() {
    const QString file =
        QFileDialog::getOpenFileName(this, QString(), m_link->text(), note_text::DocumentFilter);
    if (!file.isEmpty())
        m_link->setText(file);
}

bool Tfrm_Megjegyzes_Szerkeszt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_Megjegyzes_Szerkeszt::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, WindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_Megjegyzes_Szerkeszt::done(int result) {
    if (result != QDialog::Accepted && !m_closing && isChanged() &&
        !AskYesNo(DiscardQuestion, dialog_text::ConfirmCaption, this))
        return;
    if (result != QDialog::Accepted)
        m_row.cancel();
    if (m_placed)
        SaveWindowBounds(this, WindowName);
    QDialog::done(result);
}

} // namespace kml
