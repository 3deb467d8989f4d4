#include "exchange/DelimitedExport.h"

#include "components/Cp1250.h"

#include <QSaveFile>

namespace kml {
namespace {

const QByteArray kBlob = QByteArrayLiteral("BLOB");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
constexpr qsizetype kWriteChunk = 1 << 20;

bool NeedsEscape(QByteArrayView value, bool memo, char separator) {
    for (const char c : value)
        if (c == '\\' || c == '\r' || c == '\n' || (memo && c == separator))
            return true;
    return false;
}

// Appends the value of one cell, quoted, to line.
void AppendCell(QByteArray& line, const ExportRows& rows, int row, int col, const DelimitedOptions& options) {
    const Field& field = rows.field(col);
    const ResultSet& result = rows.rows();
    const bool isNull = result.isNull(row, col);
    const bool memo = field.kind == FieldKind::Memo;
    if (rows.isBinary(col) || (memo && !options.memos)) {
        line += QuoteExportValue(kBlob, options.separator, options.quote);
        return;
    }
    QByteArray text = ExportCellText(field.kind, result.raw(row, col), isNull);
    if ((field.kind == FieldKind::Text || memo) && LooksLikeFormula(text))
        text.prepend('\'');
    if (NeedsEscape(text, memo, options.separator))
        line += QuoteExportValue(EscapeExportValue(text, memo, options.separator), options.separator,
                                 options.quote);
    else
        line += QuoteExportValue(text, options.separator, options.quote);
}

} // namespace

bool LooksLikeFormula(QByteArrayView text) {
    return !text.isEmpty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@');
}

char SeparatorOf(int index) {
    static const char separators[] = {';', '\t', ',', '|'};
    return index >= 0 && index < 4 ? separators[index] : ';';
}

char QuoteOf(int index) {
    static const char quotes[] = {'"', '\'', 0};
    return index >= 0 && index < 3 ? quotes[index] : 0;
}

QByteArray EscapeExportValue(QByteArrayView value, bool memo, char separator) {
    QByteArray out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\n";
            if (i + 1 < value.size() && value[i + 1] == '\n')
                ++i; // CR LF is one line break
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += memo && c == separator ? ',' : c;
        }
    }
    return out;
}

QByteArray QuoteExportValue(QByteArrayView value, char separator, char quote) {
    char q = quote;
    if (!q) {
        const bool needed =
            value.contains(separator) || value.contains('"') || value.contains('\r') || value.contains('\n');
        if (!needed)
            return value.toByteArray();
        q = '"';
    }
    QByteArray out;
    out.reserve(value.size() + 2);
    out += q;
    for (const char c : value) {
        out += c;
        if (c == q)
            out += q;
    }
    out += q;
    return out;
}

QByteArray DelimitedHeader(const ExportRows& rows, const DelimitedOptions& options) {
    QByteArray line;
    for (const int col : rows.columns()) {
        const Field& field = rows.field(col);
        line += QuoteExportValue(ToCp1250(options.fieldNames ? field.name : field.label()), options.separator,
                                 options.quote);
        line += options.separator;
    }
    return line;
}

QByteArray DelimitedLine(const ExportRows& rows, int row, const DelimitedOptions& options) {
    QByteArray line;
    for (const int col : rows.columns()) {
        AppendCell(line, rows, row, col, options);
        line += options.separator;
    }
    line.chop(1); // the last separator (nothing when no column is ticked)
    return line;
}

namespace {

// Feeds the lines to sink(bytes) in large pieces.
template <typename Sink>
ExportOutcome EmitLines(const ExportRows& rows, const DelimitedOptions& options,
                        const ExportProgress& progress, Sink&& sink) {
    ExportOutcome outcome;
    QByteArray buffer;
    buffer.reserve(kWriteChunk + 4096);
    if (options.header) {
        buffer += DelimitedHeader(rows, options);
        buffer += kLineEnd;
    }
    const int total = rows.rowCount();
    for (int row = 0; row < total; ++row) {
        if (progress && !progress(row, total)) {
            outcome.stopped = true;
            break;
        }
        buffer += DelimitedLine(rows, row, options);
        buffer += kLineEnd;
        ++outcome.rows;
        if (buffer.size() >= kWriteChunk) {
            sink(buffer);
            buffer.clear();
        }
    }
    sink(buffer);
    if (progress && !outcome.stopped)
        progress(total, total);
    return outcome;
}

} // namespace

ExportOutcome WriteDelimitedFile(const ExportRows& rows, const QString& path, const DelimitedOptions& options,
                                 const ExportProgress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("A file nem hozható létre: %1 (%2)").arg(path, file.errorString()));
    const auto write = [&](const QByteArray& bytes) {
        if (file.write(bytes) != bytes.size())
            throw ExportError(QStringLiteral("A file nem írható: %1 (%2)").arg(path, file.errorString()));
    };
    if (options.utf8)
        write(kUtf8Mark);
    const ExportOutcome outcome = EmitLines(rows, options, progress, [&](const QByteArray& bytes) {
        write(options.utf8 ? FromCp1250(bytes).toUtf8() : bytes);
    });
    if (!file.commit())
        throw ExportError(QStringLiteral("A file nem írható: %1 (%2)").arg(path, file.errorString()));
    return outcome;
}

ExportOutcome DelimitedText(const ExportRows& rows, const DelimitedOptions& options,
                            const ExportProgress& progress, QString& text) {
    QByteArray all;
    const ExportOutcome outcome =
        EmitLines(rows, options, progress, [&](const QByteArray& bytes) { all += bytes; });
    text = FromCp1250(all);
    return outcome;
}

} // namespace kml
