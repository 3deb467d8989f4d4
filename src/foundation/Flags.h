#pragma once

// The database's yes/no columns hold 'I' (igen) or 'N' (nem).

#include <QString>
#include <QVariant>

namespace kml {

// Whether a value is the 'I' of a set flag; NULL and anything else are not.
inline bool IsFlagSet(const QVariant& value) {
    return value.toString() == QLatin1String("I");
}

// The text a flag is stored as.
inline QString FlagText(bool set) {
    return set ? QStringLiteral("I") : QStringLiteral("N");
}

} // namespace kml
