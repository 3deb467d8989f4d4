#pragma once

#include <QString>

namespace kml {

// The program's own version text. The database must carry exactly this text
// as its largest verzio row, or the program refuses to start.
inline const QString ProgramVersion = QStringLiteral("24.0.0.111");
// The application title.
inline const QString ApplicationTitle = QStringLiteral("Koravel.ML");
// The number of this program at the maker's error-report page.
inline const QString ApplicationNumber = QStringLiteral("47");

} // namespace kml
