// Downloads against a small local HTTP server started for the test.
#include "foundation/Download.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kml;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A loopback port that nobody listens on at the moment.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

bool Listening(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(port);
    const bool ok = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return ok;
}

class Download : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = new QTemporaryDir;
        WriteAll(root->filePath("verkov.txt"),
                 "24.0.0.111|Koravel ML|\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91\n");
        QDir(root->path()).mkdir("hirek");
        WriteAll(root->filePath("hirek/index.html"), "<p>hírek</p>");
        port = FreePort();
        server = new QProcess;
        server->setWorkingDirectory(root->path());
        server->start("/usr/bin/python3",
                      {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1"});
        ASSERT_TRUE(server->waitForStarted());
        for (int i = 0; i < 200; ++i) {
            if (Listening(port))
                return;
            QThread::msleep(50);
        }
        FAIL() << "the test HTTP server did not start";
    }
    static void TearDownTestSuite() {
        server->kill();
        server->waitForFinished();
        delete server;
        delete root;
    }
    static QString Url(const QString& path) {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(path);
    }

    QTemporaryDir m_target;
    static inline QTemporaryDir* root = nullptr;
    static inline QProcess* server = nullptr;
    static inline int port = 0;
};

TEST_F(Download, WritesTheAnswerIntoTheFile) {
    const QString file = m_target.filePath("Verkov.txt");
    WriteAll(file, "old content that is longer than the new one ........................................");
    ASSERT_TRUE(DownloadFile(Url("verkov.txt"), file));
    EXPECT_EQ(ReadAll(file), ReadAll(root->filePath("verkov.txt")));
}

TEST_F(Download, FollowsRedirects) {
    // The server answers a folder without its trailing slash with a redirect.
    const QString file = m_target.filePath("hirek.html");
    ASSERT_TRUE(DownloadFile(Url("hirek"), file));
    EXPECT_EQ(ReadAll(file), ReadAll(root->filePath("hirek/index.html")));
}

TEST_F(Download, FailuresLeaveTheFileAsItWas) {
    const QString file = m_target.filePath("Verkov.txt");
    WriteAll(file, "previous");
    EXPECT_FALSE(DownloadFile(Url("nincs-ilyen.txt"), file)); // 404
    EXPECT_EQ(ReadAll(file), "previous");
    EXPECT_FALSE(
        DownloadFile(QStringLiteral("http://127.0.0.1:%1/x").arg(FreePort()), file)); // nobody listens
    EXPECT_EQ(ReadAll(file), "previous");
    EXPECT_FALSE(DownloadFile("ftp://127.0.0.1/x", file));                                 // not HTTP
    EXPECT_FALSE(DownloadFile(Url("verkov.txt"), m_target.filePath("nincs/mappa/x.txt"))); // cannot write

    const QString fresh = m_target.filePath("uj.txt");
    EXPECT_FALSE(DownloadFile(Url("nincs-ilyen.txt"), fresh));
    EXPECT_FALSE(QFile::exists(fresh));
    EXPECT_EQ(QDir(m_target.path()).entryList(QDir::Files), QStringList{"Verkov.txt"}); // no partial file
}

} // namespace
