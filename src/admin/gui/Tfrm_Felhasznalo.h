#pragma once

// "Felhasználók adatai": the program's users and their rights, and the
// editor of one user (Tfrm_FelhasznaloSzerkeszt). Runs on the shared
// connection.

#include "admin/Users.h"

#include <QDialog>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace kml {

class Connection;

class Tfrm_Felhasznalo final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Felhasznalo(Connection& connection, QWidget* parent = nullptr);

    static void Run();

    // Re-reads the list and moves to the code (the first row when gone).
    void reread(const QString& code = {});
    QString currentCode() const;
    void moveTo(const QString& code);
    QTableView* grid() const { return m_grid; }
    QStandardItemModel* model() const { return m_model; }
    QLabel* counter() const { return m_counter; }
    QAction* action(const QString& name) const;

    // The editor on the current row (isNew: a new user); true when saved.
    bool EditUser(bool isNew);
    void deleteUser();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addListAction(const QString& name, const QString& caption, const QKeySequence& shortcut,
                           std::function<void()> handler);
    void updateCounter();

    Connection& m_connection;
    QTableView* m_grid;
    QStandardItemModel* m_model;
    QLabel* m_counter;
};

class Tfrm_FelhasznaloSzerkeszt final : public QDialog {
    Q_OBJECT
public:
    // original: the stored user, nothing for a new one (which gets an
    // initial password at once).
    Tfrm_FelhasznaloSzerkeszt(Connection& connection, const std::optional<UserRecord>& original,
                              QWidget* parent = nullptr);

    UserRecord user() const;
    // "Visszaállítás": a new initial password, shown under "Induló jelszó",
    // stored with OK.
    void resetPassword();
    const std::optional<QString>& newPassword() const { return m_password; }
    QLineEdit* codeBox() const { return m_code; }
    QLineEdit* nameBox() const { return m_name; }
    QCheckBox* rightBox(int index) const { return m_rights[size_t(index)]; }
    QLabel* passwordLabel() const { return m_passwordLabel; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Connection& m_connection;
    QString m_original;
    std::optional<QString> m_password;
    QLineEdit* m_code;
    QLineEdit* m_name;
    std::array<QCheckBox*, 5> m_rights{};
    QLabel* m_passwordLabel;
};

void InstallUserWindows();

} // namespace kml
