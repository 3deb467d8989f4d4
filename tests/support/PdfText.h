#pragma once

// Reading a PDF back the way a person would: its page count, title and paper
// from pdfinfo, the text of each page from pdftotext -layout (poppler-utils).

#include <QString>
#include <QStringList>

namespace kml::test {

struct PdfInfo {
    int pages = 0;
    QString title;
    QString pageSize; // as pdfinfo prints it, e.g. "595.276 x 841.89 pts (A4)"
};

// Throws std::runtime_error when the tool fails (no file, not a PDF).
PdfInfo ReadPdfInfo(const QString& path);
// The text of every page, in order, laid out as on the page.
QStringList ReadPdfPages(const QString& path);

// The text with runs of blanks made one blank: "Összesen     12 500" becomes
// "Összesen 12 500", so that tests can look for a caption and its value.
QString Squeezed(const QString& text);

} // namespace kml::test
