#pragma once

// "Tárhelyek": the connection entries of the ini file, with the connection
// test, the data-script backup and restore and the full backup, all on the
// window's own connection.

#include "admin/Backup.h"
#include "admin/ConnectionEntries.h"
#include "components/Connection.h"

#include <QDialog>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStandardItemModel;
class QTableView;

namespace kml {

class Tfrm_Adatbazis final : public QDialog {
    Q_OBJECT
public:
    // Column numbers of the list.
    enum Column { ColDatabase, ColHost, ColPort, ColUser, ColPassword, ColName, ColVersion, ColumnCount };

    Tfrm_Adatbazis(bool editable, bool selectable, QWidget* parent = nullptr);
    ~Tfrm_Adatbazis() override;

    // The window as OpenDatabaseList runs it.
    static QString Run(bool editable, bool selectable);

    // The entries in the list's current order.
    std::vector<ConnectionEntry> entries() const;
    QString chosenEntry() const { return m_chosen; }
    QTableView* grid() const { return m_grid; }
    QStandardItemModel* model() const { return m_model; }
    QAction* action(const QString& name) const;
    QLineEdit* dumpPathBox() const { return m_dumpPath; }
    QFrame* dumpPanel() const { return m_dumpPanel; }
    QProgressBar* progressBar() const { return m_progress; }
    bool isBusy() const { return m_busy; }
    const FullBackupRun* fullBackupRun() const { return m_fullRun.get(); }

    // Sorts the list by a column and marks the column (a title click).
    void sortByColumn(int column);

    // The actions, callable directly.
    void addEntry();
    void editEntry();
    void deleteEntry();
    void testEntry();
    void dataBackup();
    void restoreBackup();
    void toggleDumpPanel();
    void fullBackup();
    void chooseEntry();

    void done(int result) override;

signals:
    // A full backup ended (after its message was shown).
    void fullBackupFinished(bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                       void (Tfrm_Adatbazis::*handler)());
    void setRow(int row, const ConnectionEntry& entry, const QString& version);
    ConnectionEntry entryAt(int row) const;
    int currentRow() const;
    void setBusy(bool busy);
    void showProgress(qint64 position, qint64 maximum);
    void onFullBackupFinished(bool ok, const QString& message);
    void browseDumpProgram();
    void updateActions();
    void store();

    bool m_editable;
    bool m_selectable;
    bool m_busy = false;
    bool m_stored = false;
    QString m_chosen;
    Connection m_db1; // the window's own connection
    QTableView* m_grid = nullptr;
    QStandardItemModel* m_model = nullptr;
    QFrame* m_dumpPanel = nullptr;
    QLineEdit* m_dumpPath = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    std::vector<QAction*> m_actions;
    std::unique_ptr<FullBackupRun> m_fullRun;
    QString m_fullFile;
};

// The editor "Tárhely" of one entry; OK refuses a field with ";".
class Tfrm_Adatbazis_Szerkeszt final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Adatbazis_Szerkeszt(const ConnectionEntry& entry, QWidget* parent = nullptr);

    ConnectionEntry entry() const;
    QLineEdit* field(const QString& name) const;
    QLineEdit* passwordBox() const { return m_password; }
    // The button beside the password: mask off and on.
    void togglePasswordMask();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_name;
    QLineEdit* m_database;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QLineEdit* m_user;
    QLineEdit* m_password;
};

// Puts the windows behind OpenDatabaseList and AskBackupFile.
void InstallDatabaseListWindows();

} // namespace kml
