#include "shell/MainSession.h"

#include <QStringList>

namespace kml {
namespace {

void Design(Query& query, Connection& connection, std::initializer_list<const char*> lines) {
    query.setConnection(&connection);
    QStringList sql;
    for (const char* line : lines)
        sql << QString::fromUtf8(line);
    query.sql() = sql;
}

} // namespace

MainSession::MainSession() {
    Connection& c = mySQLDatabase1;
    Design(QryMLap, c, {"SELECT * FROM vw_munkalap", "WHERE munkalap <> 0", "ORDER BY 1 DESC;"});
    Design(QryDolg, c, {"SELECT * FROM vw_munkalap_dolgozo", "WHERE munkalap = 0", "ORDER BY dolgozo_nev;"});
    Design(QryTetel, c,
           {"SELECT * FROM vw_munkalap_tetel", "WHERE munkalap = 0", "ORDER BY munkalap_tetel;"});
    Design(QryMLapSum, c, {"SELECT * FROM vw_mlapsum", "WHERE munkalap = 0;"});
    Design(QryU, c, {"SELECT * FROM vw_ugyfel", "WHERE ugyfel > 0", "ORDER BY ugyfel_nev;"});
    Design(QryKeszulek, c, {"SELECT * FROM vw_keszulek", "WHERE ugyfel = 0", "ORDER BY keszulek;"});
    Design(QryDolgozo, c, {"SELECT * FROM dolgozo", "WHERE torolve = 'N'", "ORDER BY dolgozo_nev;"});
    Design(QryNaptar, c,
           {"SELECT", "ora.ora,",
            "CONCAT(LPAD(ora.ora DIV 2,2,'0'),':',IF(ora.ora MOD 2 = 0,'00','30')) ora2,",
            "elojegyzes.elojegyzes,", "elojegyzes.azon,", "elojegyzes.dolgozo,", "elojegyzes.datum,",
            "elojegyzes.munkalap,", "elojegyzes.ugyfel,", "elojegyzes.keszulek,", "elojegyzes.szoveg,",
            "elojegyzes.munkalapstr,", "elojegyzes.ugyfelstr,", "elojegyzes.keszulekstr", "FROM ora",
            "LEFT JOIN elojegyzes ON (ora.ora = elojegyzes.ora) AND (elojegyzes.dolgozo = :pdolgozo) AND "
            "(elojegyzes.datum = :pdatum)",
            "ORDER BY ora.ora;"});
    QryNaptar.setParam(QStringLiteral("pdolgozo"), 0);
    Design(QryKesz, c, {"SELECT * FROM vw_keszulek", "WHERE ugyfel > 0", "ORDER BY gysz;"});
    Design(QryElozmeny, c, {"CALL sp_elozmeny(:pkeszulek);"});
    QryElozmeny.setParam(QStringLiteral("pkeszulek"), 0);
}

MainSession::~MainSession() {
    // The datasets close before the connection they run on; the shared
    // connection must not outlive it.
    for (Query* q : {&QryMLap, &QryDolg, &QryTetel, &QryMLapSum, &QryU, &QryKeszulek, &QryDolgozo, &QryNaptar,
                     &QryKesz, &QryElozmeny})
        q->close();
    try {
        if (&SharedConnection() == &mySQLDatabase1)
            SetSharedConnection(nullptr);
    } catch (const std::logic_error&) {
    }
}

} // namespace kml
