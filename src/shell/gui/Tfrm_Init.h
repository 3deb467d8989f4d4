#pragma once

#include "admin/ConnectionEntries.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace kml {

// The first-run window "Adatbázis beállítás": the fields of a new connection
// entry, a connection test, and "Rendben" (enabled once a test succeeded) or
// "Mégsem". Ctrl+Enter in the host field confirms at once, without a test.
// Widgets by object name: edtHost, edtUser, edtPassword, edtDatabase,
// edtDisplayName, edtPort, btnTest, btnOk, btnCancel.
class Tfrm_Init final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_Init(QWidget* parent = nullptr);

    // The entry exactly as typed.
    ConnectionEntry entry() const;
    void testConnection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_host = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_database = nullptr;
    QLineEdit* m_displayName = nullptr;
    QLineEdit* m_port = nullptr;
    QPushButton* m_ok = nullptr;
};

// CreateConnectionEntry's window: the new entry's text, nothing when
// cancelled. The window keeps its position in the ini file.
std::optional<QString> ShowInitWindow();

} // namespace kml
