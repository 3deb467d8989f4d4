#include "patterns/gui/ListWindow.h"

#include "foundation/gui/WidgetHelpers.h"
#include "foundation/QueryHelpers.h"
#include "patterns/gui/GridLink.h"
#include "patterns/gui/ListKeys.h"
#include "foundation/LastAction.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kml {

ListWindow::ListWindow(ListDefinition definition, QWidget* parent)
    : QDialog(parent), m_definition(std::move(definition)), m_baseCondition(m_definition.baseCondition) {
    setObjectName(m_definition.name);
    setWindowTitle(m_definition.caption);
    setSizeGripEnabled(true);
    ApplyFontSize(this);
    resize(m_definition.size);

    m_query.setSql(m_definition.sql);
    m_model = new DatasetModel(&m_query, this);
    m_model->setColumns(m_definition.columns);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);

    auto* searchRow = new QHBoxLayout;
    m_heading = new QLabel(m_definition.heading, this);
    m_heading->setObjectName(QStringLiteral("Panel1"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Edit1"));
    m_search->setClearButtonEnabled(true);
    searchRow->addWidget(m_heading);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);

    m_body = new QHBoxLayout;
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    SetupListGrid(m_grid);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->installEventFilter(this);
    m_body->addWidget(m_grid, 1);
    layout->addLayout(m_body, 1);

    m_below = new QVBoxLayout;
    layout->addLayout(m_below);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("StatusCounter"));
    m_counter->setMinimumWidth(120);
    m_statusBar->addWidget(m_counter);
    layout->addWidget(m_statusBar);

    auto* link = new QueryGridLink(m_grid, &m_query, this);
    link->setMovedCallback([this] { updateCounter(); });

    m_keys = new SearchKeyHandover(m_search, this);
    m_keys->addGrid(m_grid);
    m_wheel = new WheelToArrowKeys(this);

    m_sorter = new TitleClickSorter(m_grid, m_model, &m_query, this);
    m_sorter->setSorting(m_definition.titleClickSorts);
    m_sorter->setAfterSort([this] { m_search->setFocus(Qt::OtherFocusReason); });
    m_sorter->setSortField(m_definition.sortField);

    connect(m_search, &QLineEdit::textChanged, this, [this] { search(); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            rowActivated();
    });

    QAction* accept = addListAction(QStringLiteral("aElfogad"), QStringLiteral("Elfogad"),
                                    QKeySequence(Qt::Key_Return), [this] {
                                        if (m_chooser && canAccept())
                                            done(QDialog::Accepted);
                                    });
    accept->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    addListAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"), QKeySequence(Qt::Key_Escape),
                  [this] { done(QDialog::Rejected); });
    setChooser(false);
}

ListWindow::~ListWindow() = default;

const QString& ListWindow::sortField() const {
    return m_sorter->sortField();
}

void ListWindow::setChooser(bool chooser) {
    m_chooser = chooser;
    QAction* accept = listAction(QStringLiteral("aElfogad"));
    accept->setEnabled(chooser);
    accept->setVisible(chooser);
}

void ListWindow::openAt(const QVariant& key) {
    ReopenWithCondition(m_query, m_baseCondition);
    LocateKey(m_query, m_definition.keyField, key);
    updateCounter();
}

QVariant ListWindow::currentKey() const {
    return currentValue(m_definition.keyField);
}

QVariant ListWindow::currentValue(const QString& field) const {
    if (!hasCurrentRow() || m_query.fieldIndex(field) < 0)
        return {};
    return m_query.value(field);
}

void ListWindow::reread(const QVariant& key) {
    if (!m_query.isActive()) {
        search();
    } else {
        m_query.refresh(m_definition.keyField);
    }
    LocateKey(m_query, m_definition.keyField, key);
    updateCounter();
}

QString ListWindow::searchCondition(const QString& text) const {
    return ListCondition(m_baseCondition, m_definition.searchFields, text, m_definition.searchKind);
}

void ListWindow::search() {
    const QString text = m_search->text();
    RunListSearch(m_query, searchCondition(text), sortField(), text);
    updateCounter();
}

void ListWindow::resetSearch() {
    {
        const QSignalBlocker block(m_search);
        m_search->clear();
    }
    search();
}

QAction* ListWindow::addListAction(const QString& name, const QString& caption,
                                      const QKeySequence& shortcut, std::function<void()> handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, name, handler = std::move(handler)] {
        recordAction(name);
        handler();
    });
    // Elfogad and Bezár stay last on the tool bar and in the menu.
    QAction* before = nullptr;
    if (name != QLatin1String("aElfogad") && name != QLatin1String("aBezar"))
        before = listAction(QStringLiteral("aElfogad"));
    m_toolBar->insertAction(before, action);
    m_grid->insertAction(before, action);
    addAction(action);
    m_actions[name] = action;
    return action;
}

QAction* ListWindow::listAction(const QString& name) const {
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void ListWindow::recordAction(const QString& actionName) const {
    SetLastAction(m_definition.name + QLatin1Char('.') + actionName);
}

void ListWindow::rowActivated() {
    if (m_chooser) {
        listAction(QStringLiteral("aElfogad"))->trigger();
    } else if (QAction* edit = listAction(QStringLiteral("aSzerkeszt")); edit && edit->isEnabled()) {
        edit->trigger();
    }
}

void ListWindow::addBelowGrid(QWidget* widget, int stretch) {
    m_below->addWidget(widget, stretch);
}

void ListWindow::addBesideGrid(QWidget* widget, int stretch) {
    m_body->addWidget(widget, stretch);
}

void ListWindow::updateCounter() {
    m_counter->setText(m_query.isActive() ? RecordCounterText(m_query) : QString());
}

std::vector<int> ListWindow::columnShares() const {
    std::vector<int> shares;
    for (const GridColumn& c : m_definition.columns)
        shares.push_back(c.widthShare);
    return shares;
}

void ListWindow::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, m_definition.name);
    }
    QDialog::showEvent(event);
}

void ListWindow::done(int result) {
    if (m_placed)
        SaveWindowBounds(this, m_definition.name);
    QDialog::done(result);
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::Resize)
        ApplyColumnShares(m_grid, columnShares(), m_definition.widthReserve);
    return QDialog::eventFilter(watched, event);
}

} // namespace kml
