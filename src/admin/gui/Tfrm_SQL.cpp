#include "admin/gui/Tfrm_SQL.h"

#include "admin/ConsoleTable.h"
#include "components/Cp1250.h"
#include "components/DatasetModel.h"
#include "components/DbError.h"
#include "exchange/DatasetExport.h"
#include "foundation/Dialogs.h"
#include "foundation/LastAction.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/TextHelpers.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <Qsci/qscilexersql.h>
#include <Qsci/qsciscintilla.h>

namespace kml {
namespace {

const QString WindowName = QStringLiteral("frm_SQL");
constexpr int ColumnWidth = 100;

// The highlighter: comments green, numbers blue, strings red, in the
// fixed-pitch font of the window's size.
void SetUpEditor(QsciScintilla* editor) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(WindowFontSize());
    auto* lexer = new QsciLexerSQL(editor);
    lexer->setDefaultFont(font);
    lexer->setFont(font);
    for (int style : {QsciLexerSQL::Comment, QsciLexerSQL::CommentLine, QsciLexerSQL::CommentDoc,
                      QsciLexerSQL::CommentLineHash, QsciLexerSQL::CommentDocKeyword})
        lexer->setColor(QColor(0x00, 0x80, 0x00), style);
    lexer->setColor(QColor(0x00, 0x00, 0xFF), QsciLexerSQL::Number);
    for (int style : {QsciLexerSQL::SingleQuotedString, QsciLexerSQL::DoubleQuotedString})
        lexer->setColor(QColor(0xFF, 0x00, 0x00), style);
    editor->setLexer(lexer);
    editor->setFont(font);
    editor->setMarginsFont(font);
    editor->setMarginType(0, QsciScintilla::NumberMargin);
    editor->setMarginLineNumbers(0, true);
    editor->setMarginWidth(0, QStringLiteral("00000"));
    editor->setTabWidth(2);
    editor->setIndentationsUseTabs(false);
    editor->setUtf8(true);
}

} // namespace

Tfrm_SQL::Tfrm_SQL(QWidget* parent) : QDialog(parent) {
    m_session = std::make_unique<ConsoleSession>(SharedConnection().options());
    setObjectName(WindowName);
    setWindowTitle(console_text::Caption);
    setSizeGripEnabled(true);
    ApplyFontSize(this);
    resize(900, 600);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(toolBar);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_editor = new QsciScintilla(m_pages);
    m_editor->setObjectName(QStringLiteral("SynEdit1"));
    SetUpEditor(m_editor);
    m_pages->addTab(m_editor, QStringLiteral("SQL"));
    m_grid = new QTableView(m_pages);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_pages->addTab(m_grid, QStringLiteral("Eredmény"));
    layout->addWidget(m_pages, 1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setVisible(false);
    layout->addWidget(m_progress);
    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("StatusCounter"));
    m_counter->setMinimumWidth(120);
    statusBar->addWidget(m_counter);
    layout->addWidget(statusBar);

    for (int i = 0; i < 2; ++i)
        m_models[i] = new DatasetModel(&m_queries[i], this);

    const auto key = [](QKeyCombination k) { return QKeySequence(k); };
    toolBar->addAction(
        addAction(QStringLiteral("aFuttat"), QStringLiteral("Futtat"),
                  {key(Qt::Key_F5), key(Qt::CTRL | Qt::Key_Return), key(Qt::CTRL | Qt::Key_Enter)},
                  &Tfrm_SQL::runText));
    toolBar->addAction(addAction(QStringLiteral("aEredmeny"), QStringLiteral("Eredmény"), {key(Qt::Key_F9)},
                                 &Tfrm_SQL::showFirstResult));
    toolBar->addSeparator();
    toolBar->addAction(addAction(QStringLiteral("aUj"), QStringLiteral("Új SQL file"),
                                 {key(Qt::CTRL | Qt::Key_N)}, &Tfrm_SQL::newFile));
    toolBar->addAction(addAction(QStringLiteral("aMegnyit"), QStringLiteral("Megnyit"),
                                 {key(Qt::CTRL | Qt::Key_O)}, &Tfrm_SQL::openFile));
    toolBar->addAction(addAction(QStringLiteral("aMent"), QStringLiteral("Mentés"),
                                 {key(Qt::CTRL | Qt::Key_S)}, &Tfrm_SQL::saveFileAs));
    toolBar->addSeparator();
    toolBar->addAction(addAction(QStringLiteral("aExport"), QStringLiteral("Export"),
                                 {key(Qt::CTRL | Qt::Key_E)}, &Tfrm_SQL::exportResult));
    toolBar->addAction(addAction(QStringLiteral("aMasol"), QStringLiteral("Másol"), {key(Qt::Key_F3)},
                                 &Tfrm_SQL::copyResult));
    toolBar->addAction(addAction(QStringLiteral("aTab"), QStringLiteral("Tab"), {key(Qt::CTRL | Qt::Key_Tab)},
                                 &Tfrm_SQL::switchPage));
    toolBar->addSeparator();
    QAction* close = addAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), {}, nullptr);
    connect(close, &QAction::triggered, this, [this] { done(QDialog::Rejected); });
    toolBar->addAction(close);
    updateActions();
}

Tfrm_SQL::~Tfrm_SQL() {
    // The results go before the session they run on.
    delete m_tableModel;
    m_tableModel = nullptr;
    m_grid->setModel(nullptr);
    for (Query& q : m_queries)
        q.close();
    m_tableRows.close();
}

void Tfrm_SQL::Run() {
    std::unique_ptr<Tfrm_SQL> window;
    try {
        window = std::make_unique<Tfrm_SQL>(QApplication::activeWindow());
    } catch (const DbError& error) {
        ShowError(console_text::ScriptErrorPrefix + error.text());
        return;
    }
    window->exec();
}

QAction* Tfrm_SQL::addAction(const QString& name, const QString& caption, const QList<QKeySequence>& keys,
                             void (Tfrm_SQL::*slot)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (slot) {
        connect(action, &QAction::triggered, this, [this, name, slot] {
            SetLastAction(WindowName + QLatin1Char('.') + name);
            if (!m_running)
                (this->*slot)();
        });
    }
    QWidget::addAction(action);
    m_actions[name] = action;
    return action;
}

QAction* Tfrm_SQL::action(const QString& name) const {
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

QString Tfrm_SQL::textToRun() const {
    return m_editor->hasSelectedText() ? m_editor->selectedText() : m_editor->text();
}

bool Tfrm_SQL::prepareSession() {
    for (Query& q : m_queries)
        q.cancel();
    if (m_session->waitUntilFree())
        return true;
    ShowError(console_text::ScriptErrorPrefix + QStringLiteral("a kapcsolaton még fut egy utasítás."), this);
    return false;
}

void Tfrm_SQL::runText() {
    if (ParseTableMode(m_editor->text()).tableMode) {
        openTableMode();
        return;
    }
    const std::vector<ScriptStatement> statements = SplitSqlScript(textToRun());
    if (statements.empty()) {
        ShowInfo(console_text::NothingToRun, this);
        return;
    }
    if (statements.size() == 1 && IsResultStatement(statements.front().sql))
        openResult(statements.front().sql, Widths::All100, false);
    else
        runScript(statements);
}

void Tfrm_SQL::showFirstResult() {
    if (ParseTableMode(m_editor->text()).tableMode) {
        openTableMode();
        return;
    }
    QString sql;
    if (m_editor->hasSelectedText()) {
        sql = m_editor->selectedText();
    } else {
        const std::vector<ScriptStatement> statements = SplitSqlScript(m_editor->text());
        if (!statements.empty())
            sql = statements.front().sql;
    }
    if (IsBlankSql(sql)) {
        ShowInfo(console_text::NothingToRun, this);
        return;
    }
    openResult(sql, Widths::Narrow, true);
}

void Tfrm_SQL::openResult(const QString& sql, Widths widths, bool reportChangedRows) {
    if (!prepareSession())
        return;
    // The new result goes into the query not shown, so that a failure leaves
    // the previous result in the grid.
    Query* query = m_shown == &m_queries[0] ? &m_queries[1] : &m_queries[0];
    query->disconnect(this);
    connect(query, &Query::opened, this, [this, query, widths] {
        if (query->fieldCount() > 0)
            showQuery(query, widths);
    });
    connect(query, &Query::rowsArrived, this, [this, query, widths](int first, int) {
        if (m_shown != query)
            return;
        if (first == 0 && widths == Widths::Narrow) {
            m_grid->resizeColumnsToContents();
            for (int c = 0; c < query->fieldCount(); ++c)
                m_grid->setColumnWidth(c, std::min(m_grid->columnWidth(c), ColumnWidth));
        }
        updateCounter();
    });
    connect(query, &Query::finished, this, [this, query, reportChangedRows] {
        if (query->fieldCount() == 0) {
            const quint64 changed = m_session->streamedAffectedRows();
            query->close();
            if (reportChangedRows)
                ShowInfo(console_text::RowsChanged.arg(changed), this);
            else
                InfoT(console_text::ScriptDone, this);
        }
        updateCounter();
        updateActions();
    });
    connect(query, &Query::failed, this, [this](const QString& message, unsigned code) {
        ErrorT(console_text::QueryErrorPrefix + DbError(message, code).text(), this);
        updateActions();
    });
    try {
        m_session->openResult(*query, sql);
    } catch (const DbError& error) {
        ErrorT(console_text::QueryErrorPrefix + error.text(), this);
    }
    updateActions();
}

void Tfrm_SQL::showQuery(Query* query, Widths widths) {
    QItemSelectionModel* oldSelection = m_grid->selectionModel();
    m_grid->setModel(query == &m_tableRows ? static_cast<QAbstractItemModel*>(m_tableModel)
                                           : m_models[query == &m_queries[0] ? 0 : 1]);
    if (m_grid->selectionModel() != oldSelection)
        delete oldSelection;
    m_grid->setEditTriggers(query == &m_tableRows && m_tableModel && m_tableModel->isEditable()
                                ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::AnyKeyPressed
                                : QAbstractItemView::NoEditTriggers);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, query](const QModelIndex& current) {
                if (current.isValid())
                    query->moveTo(current.row());
                updateCounter();
            });
    Query* previous = m_shown;
    m_shown = query;
    // The result shown before is let go (a table's model with it).
    if (previous && previous != query) {
        previous->close();
        if (previous == &m_tableRows && m_tableModel) {
            m_tableModel->deleteLater();
            m_tableModel = nullptr;
        }
    }
    const int columns = m_grid->model() ? m_grid->model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c)
        m_grid->setColumnWidth(c, ColumnWidth);
    if (widths == Widths::Narrow && query == &m_tableRows) {
        m_grid->resizeColumnsToContents();
        for (int c = 0; c < columns; ++c)
            m_grid->setColumnWidth(c, std::min(m_grid->columnWidth(c), ColumnWidth));
    }
    m_pages->setCurrentIndex(1);
    updateCounter();
    updateActions();
}

bool Tfrm_SQL::openTableMode() {
    const TableModeRequest request = ParseTableMode(m_editor->text());
    if (!request.hasColon || request.table.isEmpty()) {
        ShowError(console_text::NoTableName, this);
        return false;
    }
    if (!prepareSession())
        return false;
    if (m_shown == &m_tableRows) {
        // The grid lets go of the old table before it is read again.
        m_grid->setModel(nullptr);
        m_shown = nullptr;
    }
    delete m_tableModel;
    m_tableModel = nullptr;
    setRunning(true);
    try {
        m_tableModel = new ConsoleTableModel(*m_session, m_tableRows, request.table, this);
    } catch (const DbError& error) {
        setRunning(false);
        ErrorT(console_text::QueryErrorPrefix + error.text(), this);
        return false;
    }
    setRunning(false);
    connect(m_tableModel, &ConsoleTableModel::writeFailed, this,
            [this](const QString& message) { ShowError(message, this); });
    connect(m_tableModel, &QAbstractItemModel::dataChanged, this, &Tfrm_SQL::updateCounter);
    showQuery(&m_tableRows, Widths::Narrow);
    if (!m_tableModel->isEditable())
        ShowInfo(console_text::NoPrimaryKey, this);
    return true;
}

void Tfrm_SQL::runScript(const std::vector<ScriptStatement>& statements) {
    if (!prepareSession())
        return;
    setRunning(true);
    m_progress->setRange(0, std::max(1, int(m_editor->lines())));
    m_progress->setValue(0);
    m_progress->setVisible(true);
    const ConsoleSession::ScriptOutcome outcome = m_session->runScript(statements, [this](int line) {
        m_progress->setValue(std::min(line, m_progress->maximum()));
        QCoreApplication::processEvents();
    });
    m_progress->setVisible(false);
    setRunning(false);
    if (outcome.error)
        ShowError(console_text::ScriptErrorPrefix + *outcome.error, this);
    else
        InfoT(console_text::ScriptDone, this);
}

void Tfrm_SQL::setRunning(bool running) {
    m_running = running;
    updateActions();
}

void Tfrm_SQL::updateActions() {
    const bool hasResult = m_shown && m_shown->isActive() && m_shown->fieldCount() > 0;
    for (const auto& [name, action] : m_actions) {
        if (name == u"aExport" || name == u"aMasol")
            action->setEnabled(!m_running && hasResult);
        else
            action->setEnabled(!m_running);
    }
}

void Tfrm_SQL::updateCounter() {
    m_counter->setText(m_shown && m_shown->isActive() ? RecordCounterText(*m_shown) : QString());
}

bool Tfrm_SQL::waitForResult(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    for (Query& q : m_queries)
        while (q.isFetching() && waited.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return !m_queries[0].isFetching() && !m_queries[1].isFetching();
}

void Tfrm_SQL::exportResult() {
    if (!m_shown || !m_shown->isActive())
        return;
    setRunning(true);
    // The whole result: rows still arriving first, a table as it is now.
    waitForResult();
    if (m_shown == &m_tableRows && m_tableModel) {
        try {
            m_tableModel->reload();
        } catch (const DbError& error) {
            setRunning(false);
            ErrorT(console_text::QueryErrorPrefix + error.text(), this);
            return;
        }
    }
    ExportDataset(*m_shown, QString());
    setRunning(false);
    updateCounter();
}

void Tfrm_SQL::copyResult() {
    if (!m_shown || !m_shown->isActive())
        return;
    setRunning(true);
    waitForResult();
    if (m_shown == &m_tableRows && m_tableModel) {
        try {
            m_tableModel->reload();
        } catch (const DbError& error) {
            setRunning(false);
            ErrorT(console_text::QueryErrorPrefix + error.text(), this);
            return;
        }
    }
    QStringList lines;
    DatasetToLines(*m_shown, lines, true, false, false, QLatin1Char('\t'));
    QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")));
    setRunning(false);
}

void Tfrm_SQL::newFile() {
    // The remembered file name stays: "Mentés" proposes it again.
    m_editor->clear();
}

void Tfrm_SQL::loadFile(const QString& path) {
    m_editor->setText(ReadTextFile(path));
    m_fileName = path;
}

void Tfrm_SQL::saveFile(const QString& path) {
    QFile file(path);
    const QByteArray bytes = ToCp1250(m_editor->text());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        ShowError(console_text::ScriptErrorPrefix + file.errorString(), this);
        return;
    }
    file.close();
    m_fileName = path;
}

void Tfrm_SQL::openFile() {
    QFileDialog dialog(this, console_text::OpenTitle, SqlScriptFolder(), console_text::OpenFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("sql"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        loadFile(dialog.selectedFiles().constFirst());
}

void Tfrm_SQL::saveFileAs() {
    QFileDialog dialog(this, console_text::SaveTitle, SqlScriptFolder(), console_text::SaveFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("sql"));
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveFile(dialog.selectedFiles().constFirst());
}

void Tfrm_SQL::switchPage() {
    m_pages->setCurrentIndex(m_pages->currentIndex() == 0 ? 1 : 0);
}

void Tfrm_SQL::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, WindowName);
    }
    QDialog::showEvent(event);
}

void Tfrm_SQL::closeEvent(QCloseEvent* event) {
    if (m_running) {
        ShowWarning(console_text::Running, this);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void Tfrm_SQL::done(int result) {
    if (m_running) {
        ShowWarning(console_text::Running, this);
        return;
    }
    if (m_placed)
        SaveWindowBounds(this, WindowName);
    QDialog::done(result);
}

} // namespace kml
