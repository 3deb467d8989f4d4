#pragma once

#include "exchange/GridHtml.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace kml {

// "HTML export": saves a grid as a web page (GridHtmlPage). "OK" writes the
// file named in "Mentés helye" and, with "Mentés után megnyitás", opens it
// with the desktop's program; "E-Mail" writes it and hands it to the mail
// program (SendMail, subject and body "Html küldés"), the window staying
// open; "Mégsem" writes nothing. A file that cannot be written gives
// "Hiba: ..." and the window stays open.
class Tfrm_Grid2Html final : public QDialog {
    Q_OBJECT
public:
    Tfrm_Grid2Html(QTableView* grid, const QString& title, QWidget* parent = nullptr);

    // ExportGridHtml on a grid: the window proposes the file; closed with
    // OK, HtmlUt becomes the folder of the file written.
    static void Run(QTableView* grid, const QString& title);

    // The grid's bound columns as the page needs them: visual order, title,
    // width, the field's alignment.
    static std::vector<HtmlColumn> GridColumns(QTableView* grid);

    QLineEdit* fileEdit() const { return m_file; }
    QCheckBox* openAfter() const { return m_openAfter; }
    // Writes the page to the file in the edit; false after "Hiba: ...".
    bool writePage();
    void sendMail();

    void accept() override;
    void done(int result) override;

private:
    QTableView* m_grid;
    QString m_title;
    QLineEdit* m_file;
    QCheckBox* m_openAfter;
    QProgressBar* m_progress;
};

} // namespace kml
