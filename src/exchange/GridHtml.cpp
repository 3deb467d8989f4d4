#include "exchange/GridHtml.h"

#include "components/Cp1250.h"
#include "components/Query.h"
#include "exchange/ExportRows.h"
#include "foundation/Folders.h"
#include "foundation/TextHelpers.h"

#include <QDir>
#include <QSaveFile>
#include <cfenv>
#include <cmath>

namespace kml {

int HtmlWidthPercent(int width, int gridWidth) {
    if (gridWidth <= 0)
        return 0;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double percent = std::nearbyint(double(width) / gridWidth * 100.0);
    std::fesetround(saved);
    return int(percent);
}

QByteArray HtmlPageText(const QString& text) {
    QByteArray out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default: {
            const int byte = UnicodeToCp1250(c.unicode());
            if (byte < 0 || c.isSurrogate())
                out += "&#" + QByteArray::number(c.unicode()) + ';';
            else
                out += char(byte);
        }
        }
    }
    return out;
}

namespace {

QByteArray WidthAttribute(int percent) {
    return "width=\"" + QByteArray::number(percent) + "%\"";
}

} // namespace

QByteArray GridHtmlPage(const Query& data, const std::vector<HtmlColumn>& columns, int gridWidth,
                        const QString& title, const QDateTime& now,
                        const std::function<void(int done, int total)>& progress) {
    struct Bound {
        int field;
        int percent;
        Qt::Alignment alignment;
        QString caption;
    };
    std::vector<Bound> bound;
    for (const HtmlColumn& column : columns) {
        if (column.field.isEmpty())
            continue;
        const int field = data.fieldIndex(column.field);
        if (field < 0)
            continue;
        bound.push_back({field, HtmlWidthPercent(column.width, gridWidth), column.alignment, column.caption});
    }
    const QByteArray heading = HtmlPageText(title);
    QByteArray page;
    page += "<!DOCTYPE html><html lang=\"hu-HU\"><head>"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">";
    page += "<title>" + heading + "</title>";
    page += "<meta name=\"GENERATOR\" content=\"Tarnova Bt. Grid2Html\"></head><body>";
    page += "<h1>" + heading +
            "</h1><h3></h3><div align=\"center\"><center>"
            "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">";
    page += "  <tr>";
    for (const Bound& b : bound) {
        QByteArray align;
        if (b.alignment & Qt::AlignRight)
            align = "align=\"right\"";
        else if (b.alignment & Qt::AlignHCenter)
            align = "align=\"center\"";
        page += "<th " + WidthAttribute(b.percent) + " bgcolor=\"#C0C0C0\" " + align + ">" +
                HtmlPageText(b.caption) + "</th>";
    }
    page += "  </tr>";
    const int total = data.recordCount();
    for (int row = 0; row < total; ++row) {
        if (progress && (row + 1) % 10 == 0)
            progress(row + 1, total);
        page += "<tr>";
        for (const Bound& b : bound) {
            page += "<td " + WidthAttribute(b.percent) + ">";
            if (b.alignment & Qt::AlignRight)
                page += "<p align=\"right\">";
            else if (b.alignment & Qt::AlignHCenter)
                page += "<p align=\"center\">";
            page += HtmlPageText(data.displayText(row, b.field)) + "</td>";
        }
        page += "  </tr>";
    }
    page += "</table></center></div>";
    page += "<p><font face=\"Verdana\" size=\"1\">" + ToCp1250(QStringLiteral("Összesen ")) +
            QByteArray::number(total) + " sor.</font></p>";
    page += "<p><font face=\"Verdana\" size=\"1\">" +
            now.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss")).toLatin1() + "</font></p>";
    page += "<p><font face=\"Courier New\" size=\"1\">Koravel.ML</font></p></body></html>";
    return page;
}

void WriteGridHtml(const QString& path, const QByteArray& page) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size() || !file.commit())
        throw ExportError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

QString ProposedHtmlFile(const QString& htmlUt, const QString& title) {
    const QString folder = htmlUt.isEmpty() ? DataFolder() : htmlUt;
    return folder + QLatin1Char('/') + SafeFileName(title + QStringLiteral(".htm"));
}

} // namespace kml
