#include "exchange/ExportRows.h"

#include "foundation/Folders.h"

#include <QDir>
#include <QFileInfo>
#include <charconv>

namespace kml {

ExportRows::ExportRows(const Query& data, const std::vector<bool>& ticked) : m_rows(data.result()) {
    m_fields.reserve(size_t(data.fieldCount()));
    for (int i = 0; i < data.fieldCount(); ++i) {
        m_fields.push_back(data.field(i));
        if (size_t(i) >= ticked.size() || ticked[size_t(i)])
            m_columns.push_back(i);
    }
}

QByteArray ExportCellText(FieldKind kind, QByteArrayView raw, bool isNull) {
    if (isNull)
        return {};
    switch (kind) {
    case FieldKind::Float: {
        double value = 0;
        const auto [end, error] = std::from_chars(raw.data(), raw.data() + raw.size(), value);
        if (error != std::errc() || end != raw.data() + raw.size())
            return raw.toByteArray();
        char buffer[32];
        const auto [last, failed] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        QByteArray text(buffer, failed == std::errc() ? last - buffer : 0);
        text.replace('.', ',');
        return text;
    }
    case FieldKind::Date:
    case FieldKind::DateTime: {
        if (raw.size() < 10 || raw.startsWith("0000-00-00"))
            return {};
        QByteArray text = raw.toByteArray();
        text[4] = '.';
        text[7] = '.';
        return text;
    }
    default:
        return raw.toByteArray();
    }
}

QString ResolveExportPath(const QString& fileName) {
    const QString name = fileName.trimmed();
    if (name.isEmpty() || QFileInfo(name).isAbsolute())
        return name;
    return QDir(DocumentsFolder()).absoluteFilePath(name);
}

} // namespace kml
