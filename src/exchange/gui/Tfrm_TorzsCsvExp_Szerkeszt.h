#pragma once

#include "patterns/gui/EditWindow.h"

class QButtonGroup;
class QListWidget;
class QLineEdit;
class QTabWidget;
class QsciScintilla;

namespace kml {

// "CSV Export beállítások": one row of csvexp on three pages.
// "Beállítások": name, category and the online service's field lists, with
// the field names of the statement's result beside them; a name dragged
// from there onto one of the seven field-list edits is appended (",name").
// "Egyszerű adatexport": the local file, separator, quote and the FTP
// upload. "SQL": the statement in a highlighting editor; "Frissít" (F5)
// prepares it on the server (never runs it) to list its fields, "Hibás
// SQL: ..." when the server refuses it. "Megnyitás file-ból" (Ctrl+O) and
// "Mentés file-ba" (Ctrl+S) on the SQL page.
class Tfrm_TorzsCsvExp_Szerkeszt final : public EditWindow {
    Q_OBJECT
public:
    explicit Tfrm_TorzsCsvExp_Szerkeszt(QWidget* parent = nullptr);

    // EditExportDefinition.
    static RowKey Run(RowKey id, QWidget* parent = nullptr);

    // Puts the row's statement, separator and quote into their controls and
    // lists the statement's fields when it has one.
    void showRow();
    // "Frissít": the field list from the editor's statement; false (after
    // "Hibás SQL: ...") when the server refused it.
    bool refreshFields();
    // The name dropped on a field-list edit.
    void dropFieldName(QLineEdit* edit, const QString& name);

    QListWidget* fieldList() const { return m_fields; }
    QsciScintilla* sqlEditor() const { return m_sql; }
    QTabWidget* pages() const { return m_pages; }
    QLineEdit* fieldListEdit(const QString& field) const;

    // A drop on a field-list edit appends the name (dropFieldName).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSql();
    void saveSql();
    void chooseLocalFile();

    QTabWidget* m_pages = nullptr;
    QListWidget* m_fields = nullptr;
    QsciScintilla* m_sql = nullptr;
    QButtonGroup* m_separator = nullptr;
    QButtonGroup* m_quote = nullptr;
    QLineEdit* m_localFile = nullptr;
    std::vector<QLineEdit*> m_fieldEdits;
    bool m_loading = false;
};

} // namespace kml
