#pragma once

#include <QByteArray>
#include <QString>

namespace kml::test {

// SQL text, or a UTF-8 SQL file (the db/ files), as the Windows-1250 bytes
// the mariadb client sends over its latin2 connection, the way
// scripts/mariadb-cp1250 loads them. Throws std::runtime_error on a character
// that Windows-1250 cannot store.
QByteArray SqlAsCp1250(const QString& sql);
QByteArray SqlFileAsCp1250(const QString& path);

} // namespace kml::test
