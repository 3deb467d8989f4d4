#include "exchange/StatusLink.h"

#include "exchange/Letters.h"

#include <QRegularExpression>

namespace kml {

QString StatusAddress(const QString& link, qlonglong sheet) {
    if (link.trimmed().isEmpty())
        return {};
    static const QRegularExpression placeholder(QStringLiteral("%(id|key)%"),
                                                QRegularExpression::CaseInsensitiveOption);
    QString address;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(link); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        address += link.mid(from, m.capturedStart() - from);
        address += m.captured(1).compare(QLatin1String("id"), Qt::CaseInsensitive) == 0
                       ? QString::number(sheet)
                       : RecordKey(sheet);
        from = m.capturedEnd();
    }
    address += link.mid(from);
    return address.trimmed();
}

} // namespace kml
