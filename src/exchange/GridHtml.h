#pragma once

// A grid saved as a simple HTML page ("HTML export"): its bound columns in
// grid order with their titles, relative widths and alignment, and every
// row of the dataset behind it, as the grid shows the values.
//
// The page is one line of Windows-1250 text. Texts from the data (the
// title, the column titles, the cells) are HTML-escaped (& < > " '), and a
// character that Windows-1250 cannot hold is written as a numeric character
// reference, so whatever a customer's name holds it shows as typed and
// cannot break or script the page.

#include "foundation/WindowOperation.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

namespace kml {

class Query;

namespace html_text {
inline const QString WindowCaption = QStringLiteral("HTML export");
inline const QString MailSubject = QStringLiteral("Html küldés");
inline const QString SaveFilter = QStringLiteral("HTML dokumentum (*.htm *.html)");
} // namespace html_text

// One grid column: the query field it shows (empty: an unbound column, left
// out), its title, its width in pixels and the field's alignment.
struct HtmlColumn {
    QString field;
    QString caption;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// The width a column gets: width / gridWidth * 100, rounded to the nearest
// whole number, halves to the even neighbour.
int HtmlWidthPercent(int width, int gridWidth);

// Text for the page: HTML-escaped, in cp1250 bytes, characters cp1250
// lacks as "&#N;".
QByteArray HtmlPageText(const QString& text);

// The whole page for the rows of data (the current row is not moved).
// progress(done, total) is called every ten rows.
QByteArray GridHtmlPage(const Query& data, const std::vector<HtmlColumn>& columns, int gridWidth,
                        const QString& title, const QDateTime& now,
                        const std::function<void(int done, int total)>& progress = {});

// Writes the page to path, replacing the file only when it is complete.
// Throws ExportError (exchange/ExportRows.h) when it cannot be written.
void WriteGridHtml(const QString& path, const QByteArray& page);

// The file the window proposes: the folder (htmlUt, or the data folder when
// empty), "/", and SafeFileName(title + ".htm").
QString ProposedHtmlFile(const QString& htmlUt, const QString& title);

// The window "HTML export" for the main window's grid of that object name
// ("DBGrid1"), titled title. Closed with OK: the page is written and the
// folder of the file becomes HtmlUt.
inline WindowOperation<void(const QString& gridName, const QString& title)> ExportGridHtml{"ExportGridHtml"};

} // namespace kml
