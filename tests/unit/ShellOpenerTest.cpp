// What is missing to open an address is found before the desktop is asked,
// and said in Hungarian: no mail program, no browser, no opener at all. The
// desktop tools are stand-in scripts in a PATH of the test's own.

#include "foundation/ShellOpener.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace kml {
namespace {

void WriteTool(const QTemporaryDir& dir, const char* name, const char* body) {
    QFile f(dir.filePath(QLatin1String(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("#!/bin/sh\n") + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ShellOpener, MissingProgramsAreNamedBeforeOpening) {
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldBrowser = qgetenv("BROWSER");
    qputenv("PATH", bin.path().toUtf8());
    qunsetenv("BROWSER");

    const QString mail = QStringLiteral("mailto:info@tarnova.hu?subject=Koravel.ML");
    const QString web = QStringLiteral("https://www.tarnova.hu/sugo");
    const QString file = QStringLiteral("file:///tmp/lista.csv");
    // Nothing at all.
    EXPECT_TRUE(MissingOpener(mail).startsWith(QStringLiteral("Nincs levelezőprogram beállítva")));
    EXPECT_TRUE(MissingOpener(mail).endsWith(QStringLiteral("info@tarnova.hu")));
    EXPECT_TRUE(MissingOpener(web).startsWith(QStringLiteral("Nincs böngésző beállítva")));
    EXPECT_TRUE(MissingOpener(web).endsWith(web));
    EXPECT_EQ(MissingOpener(file),
              QStringLiteral("Nincs telepítve a megnyitáshoz szükséges program (xdg-open, az "
                             "xdg-utils csomagból), ezért ezt nem tudom megnyitni: /tmp/lista.csv"));
    // xdg-open, and xdg-mime that knows no handler: still no browser or mail program.
    WriteTool(bin, "xdg-open", "exit 0");
    WriteTool(bin, "xdg-mime", "exit 0");
    EXPECT_FALSE(MissingOpener(mail).isEmpty());
    EXPECT_FALSE(MissingOpener(web).isEmpty());
    EXPECT_EQ(MissingOpener(file), QString());
    // Handlers for both schemes.
    WriteTool(bin, "xdg-mime", "echo handler.desktop");
    EXPECT_EQ(MissingOpener(mail), QString());
    EXPECT_EQ(MissingOpener(web), QString());

    qputenv("PATH", oldPath);
    if (!oldBrowser.isEmpty())
        qputenv("BROWSER", oldBrowser);
}

} // namespace
} // namespace kml
