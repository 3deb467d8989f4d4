#pragma once

#include "exchange/DelimitedExport.h"

#include <QDialog>
#include <QElapsedTimer>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kml {

class Query;

// The export window "Határolt szöveg export" over the caller's dataset: the
// file name, the columns to export, separator, quote and options; "Export
// indítás" writes the file (delimited text, .xls or .xlsx by its name),
// "Vágólapra!" copies the rows, "Megállít" stops a running export. The
// window only gathers the choices; DatasetExport.h does the work.
//
// While an export runs the window lets events run (a few times a second),
// moves the progress bar and answers only "Megállít": the other buttons are
// disabled and closing is refused until the export ends.
class Tfrm_Hatarolt final : public QDialog {
    Q_OBJECT
public:
    Tfrm_Hatarolt(Query& data, const QString& defaultFileName, QWidget* parent = nullptr);

    // ExportDataset with the real window.
    static void Run(Query& data, const QString& defaultFileName, QWidget* parent = nullptr);
    // ChooseExportFile with the desktop's save dialog.
    static QString ChooseFile(const QString& proposed, QWidget* parent = nullptr);

    // The choices as the window shows them.
    DelimitedOptions options() const;
    bool isRunning() const { return m_running; }

    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startExport();
    void copyToClipboard();
    void browse();
    void tickAll(bool ticked);
    void setRunning(bool running);
    bool progressed(int done, int total);

    Query& m_data;
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_placed = false;
    QElapsedTimer m_sinceEvents;

    QLineEdit* m_fileName = nullptr;      // Edit1
    QPushButton* m_browse = nullptr;      // SpeedButton1
    QListWidget* m_columns = nullptr;     // CheckListBox1
    QPushButton* m_all = nullptr;         // "Összes"
    QPushButton* m_none = nullptr;        // "Egyik sem"
    QButtonGroup* m_separators = nullptr; // RadioGroup1
    QButtonGroup* m_quotes = nullptr;     // RadioGroup2
    QButtonGroup* m_encodings = nullptr;  // the file's code page: Windows-1250 or UTF-8 with BOM
    QCheckBox* m_memos = nullptr;         // CheckBox1
    QCheckBox* m_fieldNames = nullptr;    // CheckBox2
    QCheckBox* m_noHeader = nullptr;      // CheckBox3
    QCheckBox* m_openAfter = nullptr;     // CheckBox4
    QPushButton* m_start = nullptr;       // "Export indítás"
    QPushButton* m_clipboard = nullptr;   // "Vágólapra!"
    QPushButton* m_stop = nullptr;        // "Megállít"
    QPushButton* m_close = nullptr;       // "Bezár"
    QProgressBar* m_progress = nullptr;   // ProgressBar1
};

} // namespace kml
