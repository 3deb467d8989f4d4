#include "components/FtpUpload.h"

#include <QFile>
#include <QRandomGenerator>
#include <QUrl>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace kml {
namespace {

struct Transfer {
    QFile* file = nullptr;
    const FtpProgress* progress = nullptr;
    bool stopped = false;
};

size_t ReadFromFile(char* buffer, size_t size, size_t count, void* data) {
    auto* transfer = static_cast<Transfer*>(data);
    const qint64 n = transfer->file->read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

int Progress(void* data, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded) {
    auto* transfer = static_cast<Transfer*>(data);
    if (transfer->progress && *transfer->progress && !(*transfer->progress)(uploaded, uploadTotal)) {
        transfer->stopped = true;
        return 1;
    }
    return 0;
}

// A name that goes into an FTP command line must not be able to end it.
bool HasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

QByteArray Encoded(const QString& segment) {
    return QUrl::toPercentEncoding(segment);
}

} // namespace

FtpHostPort FtpHostAndPort(const QString& host, int port) {
    FtpHostPort result;
    QString name = host.trimmed();
    int inlinePort = 0;
    if (name.startsWith(QLatin1Char('['))) {
        const qsizetype close = name.indexOf(QLatin1Char(']'));
        if (close > 0) {
            if (name.mid(close + 1).startsWith(QLatin1Char(':')))
                inlinePort = name.mid(close + 2).toInt();
            name = name.mid(1, close - 1);
        }
    } else if (name.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        inlinePort = name.mid(colon + 1).toInt();
        name = name.left(colon);
    }
    result.host = name;
    result.port = port > 0 ? port : inlinePort > 0 ? inlinePort : 21;
    return result;
}

QByteArray FtpAddress(const FtpTarget& target, const QString& remoteName) {
    const FtpHostPort hp = FtpHostAndPort(target.host, target.port);
    QByteArray address = "ftp://";
    address += hp.host.contains(QLatin1Char(':')) ? "[" + hp.host.toUtf8() + "]" : QUrl::toAce(hp.host);
    address += ":" + QByteArray::number(hp.port) + "/";
    QString folder = target.folder.trimmed();
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (folder.startsWith(QLatin1Char('/')))
        address += "%2F";
    for (const QString& segment : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        address += Encoded(segment) + "/";
    address += Encoded(remoteName);
    return address;
}

void FtpUpload(const FtpTarget& target, const QString& localFile, const QString& remoteName,
               const FtpProgress& progress) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    if (remoteName.isEmpty() || remoteName.contains(QLatin1Char('/')) || HasControlCharacter(remoteName))
        throw FtpError(QStringLiteral("Hibás távoli állománynév: %1").arg(remoteName));
    if (HasControlCharacter(target.folder))
        throw FtpError(QStringLiteral("Hibás távoli mappa: %1").arg(target.folder));
    const FtpHostPort hp = FtpHostAndPort(target.host, target.port);
    if (hp.host.isEmpty())
        throw FtpError(QStringLiteral("Nincs megadva az FTP kiszolgáló."));

    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FtpError(QStringLiteral("%1: %2").arg(localFile, file.errorString()));

    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw FtpError(QStringLiteral("Az FTP kliens nem indítható."));

    // The file goes up under a name of its own in the same folder, then
    // takes the final name in one rename.
    const QString temporary = QStringLiteral(".%1.%2.part")
                                  .arg(remoteName)
                                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray address = FtpAddress(target, temporary);
    const QByteArray user = target.user.isEmpty() ? QByteArray("anonymous") : target.user.toUtf8();
    const QByteArray password = target.password.toUtf8();
    const QByteArray renameFrom = "RNFR " + temporary.toUtf8();
    const QByteArray renameTo = "RNTO " + remoteName.toUtf8();
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rename(
        curl_slist_append(curl_slist_append(nullptr, renameFrom.constData()), renameTo.constData()),
        &curl_slist_free_all);

    Transfer transfer{&file, &progress};
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_NONE));
    curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    curl_easy_setopt(h, CURLOPT_UPLOAD_BUFFERSIZE, 1L << 20);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, &ReadFromFile);
    curl_easy_setopt(h, CURLOPT_READDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_POSTQUOTE, rename.get());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(h, CURLOPT_FTP_RESPONSE_TIMEOUT, 60L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 60L);
    if (target.activeMode)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    else
        curl_easy_setopt(h, CURLOPT_FTPPORT, nullptr);

    const CURLcode result = curl_easy_perform(h);
    if (result == CURLE_OK)
        return;
    // curl's own text names the step that failed; neither it nor the
    // address we add carries the user name or the password.
    QString why = QString::fromUtf8(errorText).trimmed();
    if (why.isEmpty())
        why = QString::fromUtf8(curl_easy_strerror(result));
    if (result == CURLE_QUOTE_ERROR) {
        // Stored but not renamed: the temporary file is removed (best
        // effort) so that none is left beside the real one.
        const QByteArray remove = "DELE " + temporary.toUtf8();
        const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> cleanup(
            curl_slist_append(nullptr, remove.constData()), &curl_slist_free_all);
        curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(h, CURLOPT_POSTQUOTE, cleanup.get());
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 1L);
        curl_easy_perform(h);
    }
    if (transfer.stopped)
        throw FtpError(QStringLiteral("Az FTP küldés megszakítva."));
    throw FtpError(QStringLiteral("FTP (%1:%2): %3").arg(hp.host).arg(hp.port).arg(why));
}

} // namespace kml
