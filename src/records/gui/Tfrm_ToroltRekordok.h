#pragma once

#include "records/DeletedRecords.h"

#include <QDialog>

class QComboBox;
class QPushButton;
class QTableWidget;

namespace kml {

// "Törölt rekordok": the deleted rows of one kind (customers, devices,
// catalogue items) in a grid; "Visszaállít" brings the current row back
// (RunRestoreDeleted) and reads the list again.
class Tfrm_ToroltRekordok final : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ToroltRekordok(QWidget* parent = nullptr);

    void showKind(DeletedKind kind);
    DeletedKind kind() const;
    // The key of the current row; -1 when the list is empty.
    qlonglong currentKey() const;
    int rowCount() const;
    // Restores the current row (the "Visszaállít" button).
    void restoreCurrent();
    void reread();

private:
    QComboBox* m_kinds = nullptr;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_restore = nullptr;
};

} // namespace kml
