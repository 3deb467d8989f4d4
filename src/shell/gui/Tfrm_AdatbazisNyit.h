#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace kml {

// The database choice: one line per offered connection entry. "OK" (or a
// double-click) tests the selected entry and closes with it when the server
// answers; "Mégsem" cancels; "Új" runs the first-run window. Up on the first
// line goes to the last, Down on the last to the first.
// Widgets by object name: lstDatabases, btnOk, btnCancel, btnNew.
class Tfrm_AdatbazisNyit final : public QDialog {
    Q_OBJECT
public:
    Tfrm_AdatbazisNyit(const QStringList& lines, const QStringList& entries, const QString& caption,
                       QWidget* parent = nullptr);

    // The chosen line (from 0), the number of lines after "Új" created an
    // entry, -1 when cancelled.
    int choice() const { return m_choice; }

    void chooseSelected();
    void createNew();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* m_list = nullptr;
    QStringList m_entries;
    int m_choice = -1;
};

// ChooseDatabase's window. Keeps its size in the ini file and opens centred.
int ShowDatabaseChoice(const QStringList& lines, const QStringList& entries, const QString& caption);

} // namespace kml
