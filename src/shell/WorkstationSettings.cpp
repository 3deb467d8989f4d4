#include "shell/WorkstationSettings.h"

#include "foundation/Folders.h"
#include "foundation/IniFile.h"
#include "foundation/Settings.h"

#include <QDir>

namespace kml {
namespace {

const QString Defaults = QStringLiteral("Defaults");
const QString Pennart = QStringLiteral("Pennart");
const QString Alapertek = QStringLiteral("Alapertek");
const QString Tulajdonos = QStringLiteral("Tulajdonos");
const QString Nyomtato = QStringLiteral("Nyomtato");
const QString DefaultNumberFormat = QStringLiteral("### ### ##0");

} // namespace

int ValidFontSize(int stored) {
    return stored < 8 || stored > 10 ? 9 : stored;
}

void ReadWorkstationSettings(TBeall& s) {
    IniFile ini(IniFilePath());

    s.kepek = ini.readString(Defaults, QStringLiteral("Kepek"), DataFolder() + QStringLiteral("/Kepek"));
    if (!s.kepek.isEmpty() && !QDir(s.kepek).exists())
        QDir().mkpath(s.kepek); // a folder that cannot be made is noticed where it is used

    s.vanPennart = ini.readBool(Pennart, QStringLiteral("VanPennart"), false);
    s.pennart = ini.readString(Pennart, QStringLiteral("Pennart"), {});
    s.htmlUt = ini.readString(Alapertek, QStringLiteral("HtmlUt"), ProgramFolder() + QStringLiteral("/Html"));
    s.betumeret = ValidFontSize(ini.readInt(Alapertek, QStringLiteral("Betumeret"), 9));
    s.alapVaros = ini.readString(Alapertek, QStringLiteral("AlapVaros"), {});
    s.teljesKep = ini.readBool(Alapertek, QStringLiteral("TeljesKep"), true);
    s.tulajdonos = ini.readString(Tulajdonos, QStringLiteral("Tulajdonos"), {});

    s.bal = ini.readInt(Alapertek, QStringLiteral("Bal"), 5);
    s.felul = ini.readInt(Alapertek, QStringLiteral("Felul"), 5);
    s.magas = ini.readInt(Alapertek, QStringLiteral("Magas"), 400);
    s.szeles = ini.readInt(Alapertek, QStringLiteral("Szeles"), 640);

    s.formatFt = ini.readString(Alapertek, QStringLiteral("FormatFt"), DefaultNumberFormat);
    s.formatDb = ini.readString(Alapertek, QStringLiteral("FormatDb"), DefaultNumberFormat);
    s.alapNyomtato = ini.readString(Nyomtato, QStringLiteral("AlapNyomtato"), {});
}

void WriteWorkstationSettings(const TBeall& s, const QRect& bounds) {
    if (IniFilePath().isEmpty())
        return;
    IniFile ini(IniFilePath());
    ini.writeBool(Pennart, QStringLiteral("VanPennart"), s.vanPennart);
    ini.writeString(Pennart, QStringLiteral("Pennart"), s.pennart);
    ini.writeString(Defaults, QStringLiteral("Kepek"), s.kepek);
    ini.writeInt(Alapertek, QStringLiteral("Betumeret"), s.betumeret);
    ini.writeInt(Alapertek, QStringLiteral("MLapHatid"), s.mlaphatid);
    ini.writeString(Alapertek, QStringLiteral("HtmlUt"), s.htmlUt);
    ini.writeBool(Alapertek, QStringLiteral("TeljesKep"), s.teljesKep);
    ini.writeString(Tulajdonos, QStringLiteral("Tulajdonos"), s.tulajdonos);
    ini.writeString(Alapertek, QStringLiteral("AlapVaros"), s.alapVaros);
    ini.writeString(Alapertek, QStringLiteral("FormatFt"), s.formatFt);
    ini.writeString(Alapertek, QStringLiteral("FormatDb"), s.formatDb);
    ini.writeString(Nyomtato, QStringLiteral("AlapNyomtato"), s.alapNyomtato);
    ini.writeInt(Alapertek, QStringLiteral("Bal"), bounds.left());
    ini.writeInt(Alapertek, QStringLiteral("Felul"), bounds.top());
    ini.writeInt(Alapertek, QStringLiteral("Magas"), bounds.height());
    ini.writeInt(Alapertek, QStringLiteral("Szeles"), bounds.width());
    ini.save();
}

} // namespace kml
