#include "shell/Rights.h"

#include "components/Query.h"
#include "foundation/Flags.h"
#include "foundation/Settings.h"

namespace kml {
namespace {

bool Flag(const Query& row, const char* column) {
    return IsFlagSet(row.asString(QLatin1String(column)));
}

} // namespace

void GrantAllRights() {
    TBeall& b = Beall();
    b.felhasznaloNev = QStringLiteral("rendszergazda");
    b.rendszergazda = b.torzsszerkeszt = b.nyomtathat = b.nyeresegnezhet = b.excelbe = true;
    b.canins = b.canedit = b.candel = true;
}

void LoadRights(const Query& user) {
    TBeall& b = Beall();
    b.torzsszerkeszt = Flag(user, "torzsszerkeszt");
    b.rendszergazda = Flag(user, "rendszergazda");
    b.felhasznalo = user.asString(QStringLiteral("felhasznalo"));
    b.felhasznaloNev = user.asString(QStringLiteral("felhasznalo_nev"));
    b.canins = Flag(user, "canins");
    b.canedit = Flag(user, "canedit");
    b.candel = Flag(user, "candel");
    b.nyomtathat = Flag(user, "nyomtathat");
    b.nyeresegnezhet = Flag(user, "nyeresegnezhet");
    b.excelbe = Flag(user, "excelbe");
}

} // namespace kml
