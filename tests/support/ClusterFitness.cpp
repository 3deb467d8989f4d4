#include "ClusterFitness.h"

#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace kml::test {

QStringList ClusterUnfitObjects(Connection& db) {
    QStringList faults;
    const auto collect = [&](const QString& sql, const QString& what) {
        const ResultSet rs = db.query(sql);
        for (int r = 0; r < rs.rowCount(); ++r)
            faults << what + QStringLiteral(": ") + rs.text(r, 0);
    };
    collect(QStringLiteral(
                "SELECT CONCAT(TABLE_NAME, ' ', ENGINE) FROM information_schema.TABLES "
                "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE' AND ENGINE <> 'InnoDB'"),
            QStringLiteral("not InnoDB"));
    collect(QStringLiteral(
                "SELECT t.TABLE_NAME FROM information_schema.TABLES t "
                "WHERE t.TABLE_SCHEMA = DATABASE() AND t.TABLE_TYPE = 'BASE TABLE' AND NOT EXISTS "
                "(SELECT 1 FROM information_schema.TABLE_CONSTRAINTS k WHERE k.TABLE_SCHEMA = "
                "t.TABLE_SCHEMA AND k.TABLE_NAME = t.TABLE_NAME AND k.CONSTRAINT_TYPE = 'PRIMARY KEY')"),
            QStringLiteral("no primary key"));
    const QString locks = QStringLiteral("(UPPER(%1) LIKE '%LOCK TABLE%' OR UPPER(%1) LIKE '%GET_LOCK%' "
                                         "OR UPPER(%1) LIKE '%MYISAM%')");
    collect(QStringLiteral(
                "SELECT ROUTINE_NAME FROM information_schema.ROUTINES WHERE ROUTINE_SCHEMA = DATABASE() "
                "AND ") +
                locks.arg(QStringLiteral("ROUTINE_DEFINITION")),
            QStringLiteral("locks in routine"));
    collect(QStringLiteral(
                "SELECT TRIGGER_NAME FROM information_schema.TRIGGERS WHERE TRIGGER_SCHEMA = DATABASE() "
                "AND ") +
                locks.arg(QStringLiteral("ACTION_STATEMENT")),
            QStringLiteral("locks in trigger"));
    collect(QStringLiteral("SELECT EVENT_NAME FROM information_schema.EVENTS WHERE EVENT_SCHEMA = DATABASE() "
                           "AND ") +
                locks.arg(QStringLiteral("EVENT_DEFINITION")),
            QStringLiteral("locks in event"));
    return faults;
}

QStringList ClusterUnfitScriptLines() {
    static const QRegularExpression unfit(
        QStringLiteral(R"(\bLOCK\s+TABLES?\b|\bGET_LOCK\b|\bENGINE\s*=\s*(?!InnoDB\b)\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList faults;
    const QDir folder(SourcePath(QStringLiteral("db")));
    for (const QString& name : folder.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        QFile f(folder.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            const QString code = lines[i].section(QStringLiteral("--"), 0, 0);
            if (unfit.match(code).hasMatch())
                faults << QStringLiteral("%1:%2: %3").arg(name).arg(i + 1).arg(lines[i].trimmed());
        }
    }
    return faults;
}

} // namespace kml::test
