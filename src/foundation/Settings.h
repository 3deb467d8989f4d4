#pragma once

#include <QDate>
#include <QString>

namespace kml {

// The run-time settings record: one per process, alive as long as the main
// window. Per-workstation values come from the ini file at start-up and go
// back to it at close; shop-wide values come from vw_beallit; the user's
// display name and rights are set by the login.
struct TBeall {
    // Connection
    QString connectionEntry; // clear text: database;host;port;user;password;display name
    QString connectionName;  // the entry's display name

    // Per-workstation (ini file)
    QString kepek;                                     // Defaults/Kepek: picture folder
    bool vanPennart = false;                           // Pennart/VanPennart
    QString pennart;                                   // Pennart/Pennart: path of the invoicing program
    QString htmlUt;                                    // Alapertek/HtmlUt
    int betumeret = 9;                                 // Alapertek/Betumeret, 8..10
    QString alapVaros;                                 // Alapertek/AlapVaros
    bool teljesKep = true;                             // Alapertek/TeljesKep
    QString tulajdonos;                                // Tulajdonos/Tulajdonos
    int bal = 5, felul = 5, magas = 400, szeles = 640; // Alapertek/Bal, Felul, Magas, Szeles
    QString formatFt = QStringLiteral("### ### ##0");  // Alapertek/FormatFt
    QString formatDb = QStringLiteral("### ### ##0");  // Alapertek/FormatDb
    QString alapNyomtato;                              // Nyomtato/AlapNyomtato

    // Working date: the server's date at start-up
    QDate workDate;

    // Shop-wide (vw_beallit)
    bool kepftp = false;
    QString kephost, kepuser, keppwd, kepfolder;
    int kepport = 0;
    bool autocikkszam = false;
    int autocikkszamhossz = 5;
    bool mlapdatummodosit = false;
    double afakulcs = 27;
    bool vanbelep = false;
    int mlaphatid = 0;
    QString levelkuldlink;
    QString allapotlink; // the status address of a work sheet ("Állapot link")
    QString gyszstr;
    QString keszulekstr;
    int prgtipus = 0;
    QString prgtipusNev;
    QString muszakistr;
    bool kedvmutat = false;
    bool vankeszulek = false;

    // Logged-in user
    QString felhasznalo;                                  // login code; empty without a login
    QString felhasznaloNev;                               // display name recorded on work sheets and notes
    bool rendszergazda = false;                           // administrator
    bool torzsszerkeszt = false;                          // record maintenance
    bool nyomtathat = false;                              // printing
    bool nyeresegnezhet = false;                          // profit view
    bool excelbe = false;                                 // export
    bool canins = false, canedit = false, candel = false; // loaded only

    bool startupFailed = false;
};

// The process's one settings record. User-interface thread only.
TBeall& Beall();

inline const QString NoRightMessage = QStringLiteral("Nincs jogosultság a művelethez.");

// Guards an operation with one of the user's rights: true when the right is
// granted; otherwise shows "Nincs jogosultság a művelethez." (ShowError) and
// gives false, and the caller does nothing else.
//
//     if (!RequireRight(Beall().excelbe))
//         return;
bool RequireRight(bool right);

// The font size of every window: the setting Betumeret, 9 while it is unset
// (0), kept within 8 to 10.
int WindowFontSize();

} // namespace kml
