#include "admin/gui/Tfrm_Adatbazis.h"

#include "admin/DatabaseList.h"
#include "components/DbError.h"
#include "foundation/Conversions.h"
#include "foundation/Dialogs.h"
#include "foundation/IniFile.h"
#include "foundation/LastAction.h"
#include "foundation/gui/WidgetHelpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kml {
namespace {

const QString kWindowName = QStringLiteral("frm_Adatbazis");
const QString kMaskedPassword = QStringLiteral("******");
constexpr int kPasswordRole = Qt::UserRole + 1;

const char* const kTitles[] = {"Adatbázis / tárhely", "Kiszolgáló", "Port", "Felhasználó", "Jelszó",
                               "Megjelenített név",   "Verzió"};

bool IsEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QString BackupFilter(bool zip) {
    return zip ? QStringLiteral("Tömörített SQL file (*.zip)") : QStringLiteral("SQL file (*.sql)");
}

} // namespace

Tfrm_Adatbazis::Tfrm_Adatbazis(bool editable, bool selectable, QWidget* parent)
    : QDialog(parent), m_editable(editable), m_selectable(selectable) {
    setObjectName(kWindowName);
    setWindowTitle(QStringLiteral("Tárhelyek"));
    ApplyFontSize(this);
    resize(760, 380);

    m_model = new QStandardItemModel(0, ColumnCount, this);
    for (int c = 0; c < ColumnCount; ++c)
        m_model->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(kTitles[c]));
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfrm_Adatbazis::sortByColumn);
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (m_editable && !m_busy)
            editEntry();
    });

    auto* toolBar = new QToolBar;
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* aUj = addAction(QStringLiteral("aUj"), QStringLiteral("Új"), QKeySequence(Qt::Key_Insert),
                             &Tfrm_Adatbazis::addEntry);
    QAction* aSzerkeszt = addAction(QStringLiteral("aSzerkeszt"), QStringLiteral("Szerkeszt"),
                                    QKeySequence(Qt::Key_F2), &Tfrm_Adatbazis::editEntry);
    QAction* aTorol = addAction(QStringLiteral("aTorol"), QStringLiteral("Töröl"),
                                QKeySequence(Qt::CTRL | Qt::Key_Delete), &Tfrm_Adatbazis::deleteEntry);
    QAction* aTeszt = addAction(QStringLiteral("aTeszt"), QStringLiteral("Teszt"),
                                QKeySequence(Qt::CTRL | Qt::Key_T), &Tfrm_Adatbazis::testEntry);
    QAction* aBackup = addAction(QStringLiteral("aBackup"), QStringLiteral("Biztonsági mentés készítés"),
                                 QKeySequence(Qt::Key_F3), &Tfrm_Adatbazis::dataBackup);
    QAction* aMySQLDump =
        addAction(QStringLiteral("aMySQLDump"), QStringLiteral("Teljes biztonsági mentés készítés"),
                  QKeySequence(Qt::Key_F6), &Tfrm_Adatbazis::toggleDumpPanel);
    QAction* aVisszatoltes = addAction(QStringLiteral("aVisszatoltes"), QStringLiteral("Visszatöltés"),
                                       QKeySequence(Qt::Key_F4), &Tfrm_Adatbazis::restoreBackup);
    QAction* aTeljesMentes =
        addAction(QStringLiteral("aTeljesMentes"), QStringLiteral("Teljes mentés futtatása"), QKeySequence(),
                  &Tfrm_Adatbazis::fullBackup);
    QAction* aValaszt = addAction(QStringLiteral("aValaszt"), QStringLiteral("Választ"),
                                  QKeySequence(Qt::CTRL | Qt::Key_Return), &Tfrm_Adatbazis::chooseEntry);
    QAction* aBezar = addAction(QStringLiteral("aBezar"), QStringLiteral("Bezár"),
                                QKeySequence(Qt::Key_Escape), &Tfrm_Adatbazis::reject);
    aSzerkeszt->setVisible(m_editable);
    aTorol->setVisible(m_editable);
    aValaszt->setVisible(m_selectable);

    toolBar->addAction(aUj);
    toolBar->addAction(aSzerkeszt);
    toolBar->addAction(aTorol);
    toolBar->addAction(aTeszt);
    auto* backupMenu = new QMenu(this);
    backupMenu->addAction(aBackup);
    backupMenu->addAction(aMySQLDump);
    auto* backupButton = new QToolButton;
    backupButton->setObjectName(QStringLiteral("btnMentes"));
    backupButton->setText(QStringLiteral("Mentés"));
    backupButton->setMenu(backupMenu);
    backupButton->setPopupMode(QToolButton::InstantPopup);
    toolBar->addWidget(backupButton);
    toolBar->addAction(aVisszatoltes);
    toolBar->addAction(aValaszt);
    toolBar->addAction(aBezar);

    // The full-backup panel, hidden at start.
    m_dumpPanel = new QFrame;
    m_dumpPanel->setObjectName(QStringLiteral("pMysqlDump"));
    m_dumpPanel->setFrameShape(QFrame::StyledPanel);
    m_dumpPath = new QLineEdit;
    m_dumpPath->setObjectName(QStringLiteral("edMysqlDump"));
    m_dumpPath->setPlaceholderText(QStringLiteral("mariadb-dump"));
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setObjectName(QStringLiteral("btnTallozas"));
    connect(browse, &QPushButton::clicked, this, &Tfrm_Adatbazis::browseDumpProgram);
    auto* run = new QPushButton(QStringLiteral("Teljes mentés futtatása"));
    run->setObjectName(QStringLiteral("btnTeljesMentes"));
    connect(run, &QPushButton::clicked, aTeljesMentes, &QAction::trigger);
    auto* hide = new QPushButton(QStringLiteral("Elrejt"));
    hide->setObjectName(QStringLiteral("btnElrejt"));
    connect(hide, &QPushButton::clicked, m_dumpPanel, &QWidget::hide);
    auto* panelLayout = new QHBoxLayout(m_dumpPanel);
    panelLayout->addWidget(new QLabel(QStringLiteral("MySQLDump.exe program helye")));
    panelLayout->addWidget(m_dumpPath, 1);
    panelLayout->addWidget(browse);
    panelLayout->addWidget(run);
    panelLayout->addWidget(hide);
    m_dumpPanel->hide();

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("lblStatus"));
    auto* statusLayout = new QHBoxLayout;
    statusLayout->addWidget(m_status, 1);
    statusLayout->addWidget(m_progress);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_dumpPanel);
    layout->addLayout(statusLayout);

    const std::vector<ConnectionEntry> stored = ReadConnectionEntries();
    for (const ConnectionEntry& entry : stored)
        setRow(m_model->rowCount(), entry, QString());
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 0));
    m_dumpPath->setText(IniReadStr(DatabaseListSection, DumpProgramKey));
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &Tfrm_Adatbazis::updateActions);
    installEventFilter(this);
    updateActions();
}

Tfrm_Adatbazis::~Tfrm_Adatbazis() = default;

QString Tfrm_Adatbazis::Run(bool editable, bool selectable) {
    Tfrm_Adatbazis window(editable, selectable, QApplication::activeWindow());
    window.exec();
    return window.chosenEntry();
}

QAction* Tfrm_Adatbazis::addAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                                   void (Tfrm_Adatbazis::*handler)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [this, name, handler] {
        if (m_busy)
            return;
        SetLastAction(kWindowName + QLatin1Char('.') + name);
        (this->*handler)();
    });
    QWidget::addAction(action);
    m_actions.push_back(action);
    return action;
}

QAction* Tfrm_Adatbazis::action(const QString& name) const {
    for (QAction* a : m_actions)
        if (a->objectName() == name)
            return a;
    return nullptr;
}

void Tfrm_Adatbazis::setRow(int row, const ConnectionEntry& entry, const QString& version) {
    if (row >= m_model->rowCount())
        m_model->insertRow(row);
    const QString values[] = {entry.database,
                              entry.host,
                              QString::number(StrInt(entry.port)),
                              entry.user,
                              entry.password.isEmpty() ? QString() : kMaskedPassword,
                              entry.displayName,
                              version};
    for (int c = 0; c < ColumnCount; ++c) {
        auto* item = new QStandardItem(values[c]);
        if (c == ColPassword)
            item->setData(entry.password, kPasswordRole);
        m_model->setItem(row, c, item);
    }
}

ConnectionEntry Tfrm_Adatbazis::entryAt(int row) const {
    ConnectionEntry e;
    e.database = m_model->item(row, ColDatabase)->text();
    e.host = m_model->item(row, ColHost)->text();
    e.port = m_model->item(row, ColPort)->text();
    e.user = m_model->item(row, ColUser)->text();
    e.password = m_model->item(row, ColPassword)->data(kPasswordRole).toString();
    e.displayName = m_model->item(row, ColName)->text();
    return e;
}

std::vector<ConnectionEntry> Tfrm_Adatbazis::entries() const {
    std::vector<ConnectionEntry> list;
    for (int r = 0; r < m_model->rowCount(); ++r)
        list.push_back(entryAt(r));
    return list;
}

int Tfrm_Adatbazis::currentRow() const {
    const QModelIndex index = m_grid->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void Tfrm_Adatbazis::sortByColumn(int column) {
    if (column < 0 || column >= ColumnCount)
        return;
    const int row = currentRow();
    const ConnectionEntry current = row >= 0 ? entryAt(row) : ConnectionEntry{};
    m_model->setSortRole(column == ColPort ? Qt::UserRole + 2 : Qt::DisplayRole);
    if (column == ColPort)
        for (int r = 0; r < m_model->rowCount(); ++r)
            m_model->item(r, ColPort)->setData(StrInt(m_model->item(r, ColPort)->text()), Qt::UserRole + 2);
    m_model->sort(column, Qt::AscendingOrder);
    for (int r = 0; r < m_model->rowCount(); ++r)
        for (int c = 0; c < ColumnCount; ++c)
            m_model->item(r, c)->setBackground(c == column ? QBrush(kHighlightColor) : QBrush());
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (row >= 0 && entryAt(r) == current) {
            m_grid->setCurrentIndex(m_model->index(r, 0));
            break;
        }
}

void Tfrm_Adatbazis::updateActions() {
    const bool row = currentRow() >= 0;
    for (QAction* a : m_actions) {
        const QString name = a->objectName();
        bool enabled = !m_busy;
        if (name == QLatin1String("aSzerkeszt") || name == QLatin1String("aTorol"))
            enabled = enabled && m_editable && row;
        else if (name == QLatin1String("aValaszt"))
            enabled = enabled && m_selectable && row;
        else if (name == QLatin1String("aTeszt") || name == QLatin1String("aBackup") ||
                 name == QLatin1String("aTeljesMentes") || name == QLatin1String("aVisszatoltes"))
            enabled = enabled && row;
        else if (name == QLatin1String("aBezar") || name == QLatin1String("aMySQLDump") ||
                 name == QLatin1String("aUj"))
            enabled = !m_busy;
        a->setEnabled(enabled);
    }
    m_dumpPanel->setEnabled(!m_busy);
}

void Tfrm_Adatbazis::addEntry() {
    if (m_model->rowCount() >= StoredEntryLimit) {
        ShowError(QStringLiteral("Legfeljebb %1 tárhely tárolható.").arg(StoredEntryLimit), this);
        return;
    }
    ConnectionEntry entry;
    entry.port = QStringLiteral("3306");
    Tfrm_Adatbazis_Szerkeszt editor(entry, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    const int row = m_model->rowCount();
    setRow(row, editor.entry(), QString());
    m_grid->setCurrentIndex(m_model->index(row, 0));
    updateActions();
}

void Tfrm_Adatbazis::editEntry() {
    const int row = currentRow();
    if (!m_editable || row < 0)
        return;
    Tfrm_Adatbazis_Szerkeszt editor(entryAt(row), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    setRow(row, editor.entry(), m_model->item(row, ColVersion)->text());
    m_grid->setCurrentIndex(m_model->index(row, 0));
}

void Tfrm_Adatbazis::deleteEntry() {
    const int row = currentRow();
    if (!m_editable || row < 0)
        return;
    if (!AskYesNo(QStringLiteral("Valóban töröljem az adatbázist a listából?"), QStringLiteral("Megerősítés"),
                  this))
        return;
    m_model->removeRow(row);
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(qMin(row, m_model->rowCount() - 1), 0));
    updateActions();
}

void Tfrm_Adatbazis::testEntry() {
    const int row = currentRow();
    if (row < 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EntryTest result = TestDatabaseEntry(m_db1, entryAt(row));
    QApplication::restoreOverrideCursor();
    if (!result.ok) {
        ErrorT(result.error, this);
        return;
    }
    if (!result.version.isEmpty())
        m_model->item(row, ColVersion)->setText(result.version);
    ShowInfo(QStringLiteral("Kapcsolat vizsgálata sikeres"), this);
}

void Tfrm_Adatbazis::setBusy(bool busy) {
    m_busy = busy;
    m_grid->setEnabled(!busy);
    updateActions();
    if (!busy) {
        m_progress->setValue(0);
        m_status->clear();
    }
}

void Tfrm_Adatbazis::showProgress(qint64 position, qint64 maximum) {
    m_progress->setValue(maximum > 0 ? int(position * 1000 / maximum) : 0);
    // The window keeps answering (its actions are off and it refuses to close).
    QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Tfrm_Adatbazis::dataBackup() {
    const int row = currentRow();
    if (row < 0)
        return;
    const ConnectionEntry entry = entryAt(row);
    const QString file = AskBackupFile(
        {QStringLiteral("Biztonsági mentés készítés"),
         {BackupFilter(false), BackupFilter(true)},
         SuggestedBackupName(entry.database, QDateTime::currentDateTime()) + QStringLiteral(".sql"),
         true});
    if (file.isEmpty())
        return;
    try {
        OpenEntry(m_db1, entry);
    } catch (const DbError& e) {
        ErrorT(QStringLiteral("Hiba: ") + e.text(), this);
        return;
    } catch (const ConversionError& e) {
        ErrorT(QStringLiteral("Hiba: ") + QString::fromStdString(e.what()), this);
        return;
    }
    setBusy(true);
    m_status->setText(QStringLiteral("Mentés: ") + QFileInfo(file).fileName());
    QString error;
    try {
        WriteDataBackup(m_db1, file, [this](qint64 p, qint64 m) { showProgress(p, m); });
    } catch (const DbError& e) {
        error = QStringLiteral("Hiba: ") + e.text();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    m_db1.close();
    setBusy(false);
    if (!error.isEmpty())
        ErrorT(error, this);
    else
        ShowInfo(QStringLiteral("A biztonsági mentés elkészült:\r\n") + file, this);
}

void Tfrm_Adatbazis::restoreBackup() {
    const int row = currentRow();
    if (row < 0)
        return;
    const ConnectionEntry entry = entryAt(row);
    const QString file = AskBackupFile({QStringLiteral("Visszatöltés"),
                                        {QStringLiteral("SQL vagy tömörített SQL file (*.sql *.zip)"),
                                         BackupFilter(false), BackupFilter(true)},
                                        QString(),
                                        false});
    if (file.isEmpty())
        return;
    if (!AskYesNo(RestoreQuestion(entry, file), QStringLiteral("Megerősítés"), this))
        return;
    try {
        OpenEntry(m_db1, entry);
    } catch (const DbError& e) {
        ErrorT(QStringLiteral("Hiba: ") + e.text(), this);
        return;
    } catch (const ConversionError& e) {
        ErrorT(QStringLiteral("Hiba: ") + QString::fromStdString(e.what()), this);
        return;
    }
    setBusy(true);
    m_status->setText(QStringLiteral("Visszatöltés: ") + QFileInfo(file).fileName());
    QString error;
    try {
        RestoreDataBackup(m_db1, file, [this](qint64 p, qint64 m) { showProgress(p, m); });
    } catch (const DbError& e) {
        error = QStringLiteral("Hiba: ") + e.text();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    m_db1.close();
    setBusy(false);
    if (!error.isEmpty())
        ErrorT(QStringLiteral("A visszatöltés nem fejeződött be.\r\n") + error, this);
    else
        ShowInfo(QStringLiteral("A visszatöltés kész."), this);
}

void Tfrm_Adatbazis::toggleDumpPanel() {
    m_dumpPanel->setVisible(!m_dumpPanel->isVisible());
}

void Tfrm_Adatbazis::browseDumpProgram() {
    const QString file = AskBackupFile({QStringLiteral("MySQLDump program helye"),
                                        {QStringLiteral("mariadb-dump, mysqldump (*)")},
                                        m_dumpPath->text(),
                                        false});
    if (!file.isEmpty())
        m_dumpPath->setText(file);
}

void Tfrm_Adatbazis::fullBackup() {
    const int row = currentRow();
    if (row < 0)
        return;
    const ConnectionEntry entry = entryAt(row);
    if (FindDumpProgram(m_dumpPath->text()).isEmpty()) {
        ErrorT(QStringLiteral("A mentőprogram nem található: ") + (m_dumpPath->text().trimmed().isEmpty()
                                                                       ? QStringLiteral("mariadb-dump")
                                                                       : m_dumpPath->text()),
               this);
        return;
    }
    const QString file = AskBackupFile(
        {QStringLiteral("Teljes biztonsági mentés készítés"),
         {BackupFilter(false)},
         SuggestedBackupName(entry.database, QDateTime::currentDateTime()) + QStringLiteral(".sql"),
         true});
    if (file.isEmpty())
        return;
    m_fullRun = std::make_unique<FullBackupRun>();
    connect(m_fullRun.get(), &FullBackupRun::finished, this, &Tfrm_Adatbazis::onFullBackupFinished,
            Qt::QueuedConnection);
    QString error;
    m_fullFile = file;
    setBusy(true);
    m_progress->setRange(0, 0); // running, length unknown
    m_status->setText(QStringLiteral("Teljes mentés fut: ") + QFileInfo(file).fileName());
    if (!m_fullRun->start(m_dumpPath->text(), entry, file, error)) {
        m_progress->setRange(0, 1000);
        setBusy(false);
        ErrorT(error, this);
    }
}

void Tfrm_Adatbazis::onFullBackupFinished(bool ok, const QString& message) {
    m_progress->setRange(0, 1000);
    setBusy(false);
    if (ok)
        ShowInfo(QStringLiteral("A teljes mentés elkészült:\r\n") + m_fullFile, this);
    else
        ErrorT(message, this);
    emit fullBackupFinished(ok);
}

void Tfrm_Adatbazis::chooseEntry() {
    const int row = currentRow();
    if (!m_selectable || row < 0)
        return;
    m_chosen = entryAt(row).listText();
    accept();
}

void Tfrm_Adatbazis::store() {
    if (m_stored)
        return;
    m_stored = true;
    try {
        IniWriteStr(DatabaseListSection, DumpProgramKey, m_dumpPath->text());
        WriteConnectionEntries(entries());
    } catch (const std::exception& e) {
        ErrorT(QStringLiteral("A tárhelyek listája nem menthető:\r\n") + QString::fromLocal8Bit(e.what()),
               this);
    }
    SaveWindowBounds(this, kWindowName);
}

void Tfrm_Adatbazis::done(int result) {
    if (m_busy) {
        ShowWarning(QStringLiteral("Mentés vagy visszatöltés fut, az ablak a végén zárható be."), this);
        return;
    }
    store();
    QDialog::done(result);
}

void Tfrm_Adatbazis::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore();
        ShowWarning(QStringLiteral("Mentés vagy visszatöltés fut, az ablak a végén zárható be."), this);
        return;
    }
    QDialog::closeEvent(event);
}

void Tfrm_Adatbazis::showEvent(QShowEvent* event) {
    LoadWindowBounds(this, kWindowName);
    QDialog::showEvent(event);
}

bool Tfrm_Adatbazis::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key) && (key->modifiers() & Qt::ControlModifier)) {
            if (m_busy)
                return true;
            if (m_selectable)
                chooseEntry();
            else
                reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Tfrm_Adatbazis_Szerkeszt ----------------------------------------------

Tfrm_Adatbazis_Szerkeszt::Tfrm_Adatbazis_Szerkeszt(const ConnectionEntry& entry, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Adatbazis_Szerkeszt"));
    setWindowTitle(QStringLiteral("Tárhely"));
    ApplyFontSize(this);
    const auto box = [this](const QString& name, const QString& text) {
        auto* edit = new QLineEdit(text);
        edit->setObjectName(name);
        edit->setMaxLength(50);
        edit->installEventFilter(this);
        return edit;
    };
    m_name = box(QStringLiteral("edNev"), entry.displayName);
    m_database = box(QStringLiteral("edAdatbazis"), entry.database);
    m_host = box(QStringLiteral("edKiszolgalo"), entry.host);
    m_port = box(QStringLiteral("edPort"), entry.port);
    m_user = box(QStringLiteral("edFelhasznalo"), entry.user);
    m_password = box(QStringLiteral("edJelszo"), entry.password);
    m_password->setEchoMode(QLineEdit::Password);
    auto* toggle = new QPushButton(QStringLiteral("Mutat"));
    toggle->setObjectName(QStringLiteral("btnJelszoMutat"));
    toggle->setFocusPolicy(Qt::NoFocus);
    connect(toggle, &QPushButton::clicked, this, &Tfrm_Adatbazis_Szerkeszt::togglePasswordMask);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_password, 1);
    passwordRow->addWidget(toggle);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Megjelenített név"), m_name);
    form->addRow(QStringLiteral("Adatbázis / tárhely"), m_database);
    form->addRow(QStringLiteral("Kiszolgáló"), m_host);
    form->addRow(QStringLiteral("Port"), m_port);
    form->addRow(QStringLiteral("Felhasználó"), m_user);
    form->addRow(QStringLiteral("Jelszó"), passwordRow);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Mégsem"));
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &Tfrm_Adatbazis_Szerkeszt::accept);
    connect(cancel, &QPushButton::clicked, this, &Tfrm_Adatbazis_Szerkeszt::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QLineEdit* Tfrm_Adatbazis_Szerkeszt::field(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

ConnectionEntry Tfrm_Adatbazis_Szerkeszt::entry() const {
    ConnectionEntry e;
    e.database = m_database->text().trimmed();
    e.host = m_host->text().trimmed();
    e.port = m_port->text().trimmed();
    e.user = m_user->text().trimmed();
    e.password = m_password->text();
    e.displayName = m_name->text().trimmed();
    return e;
}

void Tfrm_Adatbazis_Szerkeszt::togglePasswordMask() {
    m_password->setEchoMode(m_password->echoMode() == QLineEdit::Password ? QLineEdit::Normal
                                                                          : QLineEdit::Password);
    m_password->setFocus();
}

void Tfrm_Adatbazis_Szerkeszt::accept() {
    const QString problem = EntryProblem(entry());
    if (!problem.isEmpty()) {
        ShowError(problem, this);
        return;
    }
    if (entry().password != entry().password.trimmed()) {
        // Fields are read back trimmed: a blank at either end of a password would be lost.
        ShowError(QStringLiteral("A jelszó nem kezdődhet és nem végződhet szóközzel."), this);
        return;
    }
    QDialog::accept();
}

bool Tfrm_Adatbazis_Szerkeszt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, event->type() == QEvent::FocusIn
                                                 ? QColor(0xA6, 0xCA, 0xF0)
                                                 : QApplication::palette().color(QPalette::Base));
            edit->setPalette(palette);
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key)) {
            if (key->modifiers() & Qt::ControlModifier)
                accept();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Installation -------------------------------------------------------------

void InstallDatabaseListWindows() {
    OpenDatabaseList.install(&Tfrm_Adatbazis::Run);
    AskBackupFile.install([](const FileRequest& request) {
        QFileDialog dialog(QApplication::activeWindow(), request.caption);
        dialog.setNameFilters(request.filters);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (request.save)
            dialog.setDefaultSuffix(QStringLiteral("sql"));
        if (!request.proposed.isEmpty())
            dialog.selectFile(request.proposed);
        if (request.save) {
            // The suffix follows the chosen filter.
            QObject::connect(
                &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                    dialog.setDefaultSuffix(filter.contains(QLatin1String("*.zip")) ? QStringLiteral("zip")
                                                                                    : QStringLiteral("sql"));
                });
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    });
}

} // namespace kml
