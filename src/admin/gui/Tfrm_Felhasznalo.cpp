#include "admin/gui/Tfrm_Felhasznalo.h"

#include "components/Connection.h"
#include "foundation/Dialogs.h"
#include "foundation/LastAction.h"
#include "foundation/QueryHelpers.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kListName = QStringLiteral("frm_Felhasznalo");
constexpr int kCodeRole = Qt::UserRole + 1;

// The flag images: a green tick for 'I', a grey dash for every other value.
QIcon FlagIcon(bool set) {
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (set) {
        painter.setPen(QPen(QColor(0x1E, 0x8C, 0x2E), 2.5));
        painter.drawPolyline(QPolygonF({QPointF(2, 7.5), QPointF(5.5, 11), QPointF(12, 3)}));
    } else {
        painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 2));
        painter.drawLine(QPointF(3, 7), QPointF(11, 7));
    }
    return QIcon(pixmap);
}

bool IsEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

Tfrm_Felhasznalo::Tfrm_Felhasznalo(Connection& connection, QWidget* parent)
    : QDialog(parent), m_connection(connection) {
    setObjectName(kListName);
    setWindowTitle(QStringLiteral("Felhasználók adatai"));
    ApplyFontSize(this);
    resize(560, 360);

    m_model = new QStandardItemModel(0, 4, this);
    m_model->setHorizontalHeaderLabels({QStringLiteral("Kód"), QStringLiteral("Felhasználó"),
                                        QStringLiteral("Rendszergazda"), QStringLiteral("Törzs.szerk.")});
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { EditUser(false); });
    m_counter = new QLabel;
    m_counter->setObjectName(QStringLiteral("StatusBar1"));

    auto* toolBar = new QToolBar;
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolBar->addAction(addListAction(QStringLiteral("aUj"), QStringLiteral("Új"),
                                     QKeySequence(Qt::Key_Insert), [this] { EditUser(true); }));
    toolBar->addAction(addListAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                     QKeySequence(Qt::Key_F2), [this] { EditUser(false); }));
    toolBar->addAction(addListAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                     QKeySequence(Qt::CTRL | Qt::Key_Delete), [this] { deleteUser(); }));
    toolBar->addAction(addListAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"),
                                     QKeySequence(Qt::Key_Escape), [this] { reject(); }));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_counter);
    reread();
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Tfrm_Felhasznalo::updateCounter);
}

void Tfrm_Felhasznalo::Run() {
    Tfrm_Felhasznalo window(SharedConnection(), QApplication::activeWindow());
    window.exec();
}

QAction* Tfrm_Felhasznalo::addListAction(const QString& name, const QString& caption,
                                         const QKeySequence& shortcut, std::function<void()> handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [name, handler] {
        SetLastAction(kListName + QLatin1Char('.') + name);
        handler();
    });
    QWidget::addAction(action);
    return action;
}

QAction* Tfrm_Felhasznalo::action(const QString& name) const {
    for (QAction* a : actions())
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void Tfrm_Felhasznalo::reread(const QString& code) {
    const ResultSet rs = m_connection.query(UserListSql);
    m_model->removeRows(0, m_model->rowCount());
    for (int r = 0; r < rs.rowCount(); ++r) {
        QList<QStandardItem*> items{new QStandardItem(rs.text(r, 0)), new QStandardItem(rs.text(r, 1))};
        for (int c = 2; c < 4; ++c) {
            const bool set = !rs.isNull(r, c) && rs.text(r, c) == QLatin1String("I");
            auto* item = new QStandardItem(FlagIcon(set), QString());
            item->setData(set, kCodeRole);
            items << item;
        }
        items.first()->setData(rs.text(r, 0), kCodeRole);
        m_model->appendRow(items);
    }
    moveTo(code);
}

void Tfrm_Felhasznalo::moveTo(const QString& code) {
    int row = m_model->rowCount() > 0 ? 0 : -1;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->item(r, 0)->data(kCodeRole).toString() == code)
            row = r;
    if (row >= 0)
        m_grid->setCurrentIndex(m_model->index(row, 0));
    updateCounter();
}

QString Tfrm_Felhasznalo::currentCode() const {
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? m_model->item(index.row(), 0)->data(kCodeRole).toString() : QString();
}

void Tfrm_Felhasznalo::updateCounter() {
    const QModelIndex index = m_grid->currentIndex();
    m_counter->setText(
        QStringLiteral("%1: %2").arg(m_model->rowCount()).arg(index.isValid() ? index.row() + 1 : 0));
}

bool Tfrm_Felhasznalo::EditUser(bool isNew) {
    std::optional<UserRecord> original;
    if (!isNew) {
        if (!m_grid->currentIndex().isValid()) {
            ShowError(QStringLiteral("Nincs sor kiválasztva."), this);
            return false;
        }
        original = ReadUser(m_connection, currentCode());
        if (!original) {
            ShowError(UserChangedMessage, this);
            reread();
            return false;
        }
    }
    Tfrm_FelhasznaloSzerkeszt editor(m_connection, original, this);
    if (editor.exec() != QDialog::Accepted)
        return false;
    reread(editor.user().code);
    return true;
}

void Tfrm_Felhasznalo::deleteUser() {
    if (!m_grid->currentIndex().isValid()) {
        ShowError(QStringLiteral("Nincs sor kiválasztva."), this);
        return;
    }
    if (!AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        return;
    const QString message = DeleteUser(m_connection, currentCode());
    if (!message.isEmpty())
        ShowError(message, this);
    reread(currentCode());
}

void Tfrm_Felhasznalo::showEvent(QShowEvent* event) {
    LoadWindowBounds(this, kListName);
    QDialog::showEvent(event);
}

void Tfrm_Felhasznalo::done(int result) {
    SaveWindowBounds(this, kListName);
    QDialog::done(result);
}

bool Tfrm_Felhasznalo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        IsEnterKey(static_cast<QKeyEvent*>(event))) {
        EditUser(false);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Tfrm_FelhasznaloSzerkeszt ------------------------------------------------

Tfrm_FelhasznaloSzerkeszt::Tfrm_FelhasznaloSzerkeszt(Connection& connection,
                                                     const std::optional<UserRecord>& original,
                                                     QWidget* parent)
    : QDialog(parent), m_connection(connection) {
    setObjectName(QStringLiteral("frm_FelhasznaloSzerkeszt"));
    setWindowTitle(QStringLiteral("Felhasználó adatainak szerkesztése"));
    ApplyFontSize(this);
    const UserRecord user = original.value_or(UserRecord{});
    m_original = original ? original->code : QString();

    m_code = new QLineEdit(user.code);
    m_code->setObjectName(QStringLiteral("edFelhasznalo"));
    m_code->setMaxLength(20);
    m_name = new QLineEdit(user.name);
    m_name->setObjectName(QStringLiteral("edFelhasznaloNev"));
    m_name->setMaxLength(20);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Felhasználó (belépő kód)"), m_code);
    form->addRow(QStringLiteral("Felhasználó teljes neve"), m_name);
    const char* const captions[] = {"Rendszergazda", "Törzsadat szerkesztés", "Nyomtathat",
                                    "Nyereség számítást, árbevételt nézhet", "Excel, Html export"};
    for (size_t i = 0; i < m_rights.size(); ++i) {
        m_rights[i] = new QCheckBox(QString::fromUtf8(captions[i]));
        m_rights[i]->setObjectName(QStringLiteral("cb") + QLatin1String(UserRightColumns[i]));
        m_rights[i]->setChecked(user.rights[i]);
        m_rights[i]->installEventFilter(this);
        form->addRow(m_rights[i]);
    }
    m_passwordLabel = new QLabel;
    m_passwordLabel->setObjectName(QStringLiteral("lblIndulo"));
    m_passwordLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_passwordLabel->font();
    bold.setBold(true);
    m_passwordLabel->setFont(bold);
    auto* reset = new QPushButton(QStringLiteral("Visszaállítás"));
    reset->setObjectName(QStringLiteral("btnVisszaallitas"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &Tfrm_FelhasznaloSzerkeszt::resetPassword);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_passwordLabel, 1);
    passwordRow->addWidget(reset);
    form->addRow(QStringLiteral("Induló jelszó"), passwordRow);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &Tfrm_FelhasznaloSzerkeszt::accept);
    connect(cancel, &QPushButton::clicked, this, &Tfrm_FelhasznaloSzerkeszt::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    for (QLineEdit* edit : {m_code, m_name})
        edit->installEventFilter(this);
    if (!original)
        resetPassword(); // a new account starts with its own initial password
}

UserRecord Tfrm_FelhasznaloSzerkeszt::user() const {
    UserRecord u;
    u.code = m_code->text().trimmed();
    u.name = m_name->text().trimmed();
    for (size_t i = 0; i < m_rights.size(); ++i)
        u.rights[i] = m_rights[i]->isChecked();
    return u;
}

void Tfrm_FelhasznaloSzerkeszt::resetPassword() {
    m_password = RandomInitialPassword();
    m_passwordLabel->setText(*m_password);
}

void Tfrm_FelhasznaloSzerkeszt::accept() {
    const QString message = SaveUser(m_connection, m_original, user(), m_password);
    if (!message.isEmpty()) {
        ShowError(message, this);
        return;
    }
    QDialog::accept();
}

bool Tfrm_FelhasznaloSzerkeszt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, event->type() == QEvent::FocusIn
                                                 ? QColor(0xA6, 0xCA, 0xF0)
                                                 : QApplication::palette().color(QPalette::Base));
            edit->setPalette(palette);
        }
    } else if (event->type() == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event))) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void InstallUserWindows() {
    OpenUserList.install(&Tfrm_Felhasznalo::Run);
}

} // namespace kml
