#include "patterns/gui/ListWindow.h"

#include "components/DatasetModel.h"
#include "components/Query.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/LastAction.h"
#include "foundation/QueryHelpers.h"
#include "foundation/Settings.h"
#include "foundation/gui/WidgetHelpers.h"
#include "patterns/gui/ListGrid.h"
#include "patterns/gui/ListKeys.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kml {

namespace {

const QString AcceptAction = QStringLiteral("aElfogad");
const QString CloseAction = QStringLiteral("aBezar");

} // namespace

ListWindow::ListWindow(ListDefinition definition, QWidget* parent)
    : QDialog(parent), m_list(std::move(definition)) {
    const ListDefinition& d = m_list.definition();
    setObjectName(d.name);
    setWindowTitle(d.caption);
    setSizeGripEnabled(true);
    ApplyFontSize(this);
    resize(d.size);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(4);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);

    auto* searchRow = new QHBoxLayout;
    m_heading = new QLabel(d.heading, this);
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
    m_listGrid = new ListGrid(m_grid, m_list, d.columns, d.colouring, this);
    m_listGrid->setSortable(d.titleClickSorts);
    m_listGrid->setAfterSort([this] { m_search->setFocus(Qt::OtherFocusReason); });
    std::vector<int> shares;
    for (const GridColumn& column : d.columns)
        shares.push_back(column.widthShare);
    m_listGrid->setShares(shares, d.widthReserve);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_body->addWidget(m_grid, 1);
    layout->addLayout(m_body, 1);

    m_below = new QVBoxLayout;
    layout->addLayout(m_below);
    if (!d.memoField.isEmpty()) {
        m_memo = new QPlainTextEdit(this);
        m_memo->setObjectName(QStringLiteral("DBMemo1"));
        m_memo->setReadOnly(true);
        m_memo->setFocusPolicy(Qt::ClickFocus);
        m_memo->setMaximumHeight(m_memo->fontMetrics().lineSpacing() * 6);
        m_below->addWidget(m_memo);
    }

    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("StatusCounter"));
    m_counter->setMinimumWidth(120);
    m_statusBar->addWidget(m_counter);
    layout->addWidget(m_statusBar);

    connect(&m_list, &ListController::moved, this, [this] {
        updateCounter();
        if (m_memo)
            m_memo->setPlainText(VarStr(m_list.currentValue(m_list.definition().memoField)));
        rowChanged();
    });

    m_keys = new SearchKeyHandover(m_search, this);
    m_keys->addGrid(m_grid);
    m_wheel = new WheelToArrowKeys(this);

    connect(m_search, &QLineEdit::textChanged, this, [this] { search(); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            rowActivated();
    });

    addStandardActions();
    setChooser(false);
}

ListWindow::~ListWindow() = default;

void ListWindow::addStandardActions() {
    const ListDefinition& d = m_list.definition();
    QAction* accept =
        addListAction(AcceptAction, QStringLiteral("Elfogad"), QKeySequence(Qt::Key_Return), [this] {
            if (!m_chooser)
                return;
            if (!hasCurrentRow()) {
                ShowError(list_text::NoRowChosen, this);
                return;
            }
            if (canAccept())
                done(QDialog::Accepted);
        });
    accept->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    addListAction(CloseAction, QStringLiteral("Bezár"), QKeySequence(Qt::Key_Escape),
                  [this] { done(QDialog::Rejected); });

    if (!d.actions.refresh.isEmpty())
        addListAction(QStringLiteral("aFrissit"), d.actions.refresh, QKeySequence(Qt::Key_F5),
                      [this] { m_list.refresh(); });
    if (d.hooks.create && !d.actions.create.isEmpty())
        markMaintenance(addListAction(QStringLiteral("aUj"), d.actions.create, QKeySequence(Qt::Key_Insert),
                                      [this] { m_list.createRow(); }));
    if (d.hooks.edit && !d.actions.edit.isEmpty())
        markMaintenance(addRowAction(QStringLiteral("aSzerkeszt"), d.actions.edit, QKeySequence(Qt::Key_F2),
                                     [this](qlonglong) { m_list.editCurrent(); }));
    if (d.hooks.remove && !d.actions.remove.isEmpty())
        markMaintenance(addRowAction(QStringLiteral("aTorol"), d.actions.remove,
                                     QKeySequence(Qt::CTRL | Qt::Key_Delete),
                                     [this](qlonglong) { m_list.removeCurrent(); }));
    if (!d.actions.find.isEmpty())
        addListAction(QStringLiteral("aKeres"), d.actions.find, QKeySequence(Qt::CTRL | Qt::Key_F),
                      [this] { m_search->setFocus(Qt::ShortcutFocusReason); });
}

void ListWindow::setChooser(bool chooser) {
    m_chooser = chooser;
    QAction* accept = listAction(AcceptAction);
    accept->setEnabled(chooser);
    accept->setVisible(chooser);
    showMaintenance();
}

void ListWindow::markMaintenance(QAction* action) {
    m_maintenance.push_back(action);
    showMaintenance();
}

bool ListWindow::maintenanceAllowed() const {
    return !m_chooser || !definition().maintenanceNeedsRight || Beall().torzsszerkeszt;
}

void ListWindow::showMaintenance() {
    const bool allowed = maintenanceAllowed();
    for (QAction* action : m_maintenance) {
        action->setVisible(allowed);
        action->setEnabled(allowed);
    }
}

void ListWindow::openAt(std::optional<qlonglong> key) {
    m_list.open(key);
    updateCounter();
}

ChosenRow ListWindow::choose(RowKey select, bool chooser, const QString& caption) {
    setWindowTitle(caption);
    setChooser(chooser);
    openAt(select);
    ChosenRow chosen;
    if (exec() != QDialog::Accepted || !hasCurrentRow())
        return chosen;
    chosen.key = currentKey();
    if (!definition().nameField.isEmpty())
        chosen.name = VarStr(currentValue(definition().nameField));
    return chosen;
}

DatasetModel* ListWindow::model() const {
    return m_listGrid->model();
}

void ListWindow::reread(std::optional<qlonglong> key) {
    m_list.reread(key);
    updateCounter();
}

void ListWindow::search() {
    m_list.search(m_search->text());
    updateCounter();
}

void ListWindow::resetSearch() {
    {
        const QSignalBlocker block(m_search);
        m_search->clear();
    }
    search();
}

QAction* ListWindow::addListAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                                   std::function<void()> handler) {
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
    if (name != AcceptAction && name != CloseAction)
        before = listAction(AcceptAction);
    m_toolBar->insertAction(before, action);
    m_grid->insertAction(before, action);
    addAction(action);
    m_actions[name] = action;
    return action;
}

QAction* ListWindow::addRowAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                                  std::function<void(qlonglong key)> handler) {
    return addListAction(name, caption, shortcut, [this, handler = std::move(handler)] {
        const std::optional<qlonglong> key = currentKey();
        if (!key) {
            ShowError(list_text::NoRowSelected, this);
            return;
        }
        handler(*key);
    });
}

QAction* ListWindow::listAction(const QString& name) const {
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void ListWindow::recordAction(const QString& actionName) const {
    SetLastAction(definition().name + QLatin1Char('.') + actionName);
}

void ListWindow::rowActivated() {
    if (m_chooser) {
        listAction(AcceptAction)->trigger();
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
    m_counter->setText(query().isActive() ? RecordCounterText(query()) : QString());
}

void ListWindow::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        LoadWindowBounds(this, definition().name);
    }
    QDialog::showEvent(event);
}

void ListWindow::done(int result) {
    if (m_placed)
        SaveWindowBounds(this, definition().name);
    QDialog::done(result);
}

} // namespace kml
