#include "shell/ShopSettings.h"

#include "components/Query.h"
#include "foundation/Flags.h"
#include "foundation/Settings.h"

namespace kml {
namespace {

bool Flag(const Query& row, const char* column) {
    return IsFlagSet(row.asString(QLatin1String(column)));
}

QString Text(const Query& row, const char* column) {
    return row.asString(QLatin1String(column));
}

int Int(const Query& row, const char* column, int whenNull) {
    const QString name = QLatin1String(column);
    return row.isNull(name) ? whenNull : int(row.asInt(name));
}

} // namespace

void LoadShopSettings(TBeall& s) {
    Query row;
    row.setSql(QStringLiteral("SELECT * FROM vw_beallit;"));
    row.open();
    s.kepftp = Flag(row, "kepftp");
    s.kephost = Text(row, "kephost");
    s.kepuser = Text(row, "kepuser");
    s.keppwd = Text(row, "keppwd");
    s.kepfolder = Text(row, "kepfolder");
    s.kepport = Int(row, "kepport", 0);
    s.autocikkszam = Flag(row, "autocikkszam");
    s.autocikkszamhossz = Int(row, "autocikkszamhossz", 5);
    s.mlapdatummodosit = Flag(row, "mlapdatummodosit");
    s.afakulcs = row.isNull(QStringLiteral("afakulcs")) ? 27 : row.asFloat(QStringLiteral("afakulcs"));
    s.vanbelep = Flag(row, "vanbelep");
    s.mlaphatid = Int(row, "mlaphatid", 0);
    s.levelkuldlink = Text(row, "levelkuldlink");
    // A database not yet brought up to date by db/upgrade.sql has no status
    // link: it prints no QR code instead of refusing to start.
    s.allapotlink = row.fieldIndex(QStringLiteral("allapotlink")) >= 0 ? Text(row, "allapotlink") : QString();
    s.gyszstr = Text(row, "gyszstr");
    s.keszulekstr = Text(row, "keszulekstr");
    s.prgtipus = Int(row, "prgtipus", 0);
    s.prgtipusNev = Text(row, "prgtipus_nev");
    s.muszakistr = Text(row, "muszakistr");
    s.kedvmutat = Flag(row, "kedvmutat");
    s.vankeszulek = Flag(row, "vankeszulek");
    row.close();
}

} // namespace kml
