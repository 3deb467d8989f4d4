#pragma once

#include "admin/SqlConsole.h"
#include "components/Query.h"

#include <QDialog>
#include <map>
#include <memory>

class QAction;
class QLabel;
class QProgressBar;
class QTabWidget;
class QTableView;
class QsciScintilla;

namespace kml {

class ConsoleTableModel;
class DatasetModel;

// "SQL lekérdezés": free SQL for administrators (admin/SqlConsole.h). The
// editor page "SQL" and the result page "Eredmény"; a query's rows stream
// into the result grid while the window answers; a script runs statement
// by statement with its progress shown, the window's actions off and
// closing refused until it ends; "table: name" opens a table for editing.
// The window works on a session of its own, closed with the window.
class Tfrm_SQL final : public QDialog {
    Q_OBJECT
public:
    // Connects the window's session with the program connection's options;
    // throws DbError when that fails.
    explicit Tfrm_SQL(QWidget* parent = nullptr);
    ~Tfrm_SQL() override;

    static void Run();

    QsciScintilla* editor() const { return m_editor; }
    QTableView* resultGrid() const { return m_grid; }
    QTabWidget* pages() const { return m_pages; }
    QProgressBar* progress() const { return m_progress; }
    QLabel* counter() const { return m_counter; }
    QAction* action(const QString& name) const;
    ConsoleSession& session() { return *m_session; }
    // The result shown (a query, or the table of the table mode); null when none.
    Query* shownResult() const { return m_shown; }
    ConsoleTableModel* tableModel() const { return m_tableModel; }
    bool isRunning() const { return m_running; }
    const QString& fileName() const { return m_fileName; }

    // "Futtat" and "Eredmény".
    void runText();
    void showFirstResult();
    // Loads a file into the editor (cp1250) / saves the editor's text.
    void loadFile(const QString& path);
    void saveFile(const QString& path);
    // Waits (letting events run) until the result shown has all its rows.
    bool waitForResult(int milliseconds = 30000);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Widths { All100, Narrow };

    QAction* addAction(const QString& name, const QString& caption, const QList<QKeySequence>& keys,
                       void (Tfrm_SQL::*slot)());
    QString textToRun() const;
    bool openTableMode();
    void openResult(const QString& sql, Widths widths, bool reportChangedRows);
    void showQuery(Query* query, Widths widths);
    void runScript(const std::vector<ScriptStatement>& statements);
    void setRunning(bool running);
    void updateActions();
    void updateCounter();
    void exportResult();
    void copyResult();
    void newFile();
    void openFile();
    void saveFileAs();
    void switchPage();
    bool prepareSession();

    std::unique_ptr<ConsoleSession> m_session;
    Query m_queries[2];
    DatasetModel* m_models[2] = {nullptr, nullptr};
    Query m_tableRows;
    ConsoleTableModel* m_tableModel = nullptr;
    Query* m_shown = nullptr;
    QsciScintilla* m_editor = nullptr;
    QTabWidget* m_pages = nullptr;
    QTableView* m_grid = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_counter = nullptr;
    std::map<QString, QAction*> m_actions;
    QString m_fileName;
    bool m_running = false;
    bool m_placed = false;
};

} // namespace kml
