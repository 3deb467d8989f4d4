#include "components/FtpFiles.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace kml {
namespace {

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

size_t Collect(char* data, size_t size, size_t count, void* buffer) {
    static_cast<QByteArray*>(buffer)->append(data, qsizetype(size * count));
    return size * count;
}

// A session on the target's folder: the folder's address (ending in "/",
// so that libcurl changes into it and lists it), the login and the mode.
CurlHandle FolderSession(const FtpTarget& target, QByteArray& address, QByteArray& user, QByteArray& password,
                         char* errorText) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (HasControlCharacter(target.folder))
        throw FtpError(QStringLiteral("Hibás távoli mappa: %1").arg(target.folder));
    if (FtpHostAndPort(target.host, target.port).host.isEmpty())
        throw FtpError(QStringLiteral("Nincs megadva az FTP kiszolgáló."));
    CurlHandle curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw FtpError(QStringLiteral("Az FTP kliens nem indítható."));
    // The address of a file named "x" in the folder, without the "x".
    address = FtpAddress(target, QStringLiteral("x"));
    address.chop(1);
    user = target.user.isEmpty() ? QByteArray("anonymous") : target.user.toUtf8();
    password = target.password.toUtf8();
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    curl_easy_setopt(h, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(h, CURLOPT_FTP_RESPONSE_TIMEOUT, 60L);
    if (target.activeMode)
        curl_easy_setopt(h, CURLOPT_FTPPORT, "-");
    return curl;
}

[[noreturn]] void Fail(const FtpTarget& target, CURLcode result, const char* errorText) {
    const FtpHostPort hp = FtpHostAndPort(target.host, target.port);
    QString why = QString::fromUtf8(errorText).trimmed();
    if (why.isEmpty())
        why = QString::fromUtf8(curl_easy_strerror(result));
    throw FtpError(QStringLiteral("FTP (%1:%2): %3").arg(hp.host).arg(hp.port).arg(why));
}

} // namespace

QStringList FtpListNames(const FtpTarget& target) {
    QByteArray address, user, password, listing;
    char errorText[CURL_ERROR_SIZE] = {};
    const CurlHandle curl = FolderSession(target, address, user, password, errorText);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &listing);
    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK)
        Fail(target, result, errorText);
    QStringList names;
    for (const QByteArray& line : listing.split('\n')) {
        QString name = QString::fromUtf8(line.trimmed());
        // Some servers answer NLST with paths.
        name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

void FtpRename(const FtpTarget& target, const std::vector<FtpRenameStep>& steps) {
    if (steps.empty())
        return;
    std::vector<QByteArray> commands;
    for (const auto& [from, to] : steps) {
        for (const QString& name : {from, to})
            if (name.isEmpty() || name.contains(QLatin1Char('/')) || HasControlCharacter(name))
                throw FtpError(QStringLiteral("Hibás távoli állománynév: %1").arg(name));
        commands.push_back("RNFR " + from.toUtf8());
        commands.push_back("RNTO " + to.toUtf8());
    }
    CurlList list(nullptr, &curl_slist_free_all);
    for (const QByteArray& command : commands)
        list.reset(curl_slist_append(list.release(), command.constData()));

    // The folder is listed (which changes into it) and the renames follow
    // in it, so that the names are the folder's own.
    QByteArray address, user, password, listing;
    char errorText[CURL_ERROR_SIZE] = {};
    const CurlHandle curl = FolderSession(target, address, user, password, errorText);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &listing);
    curl_easy_setopt(curl.get(), CURLOPT_POSTQUOTE, list.get());
    const CURLcode result = curl_easy_perform(curl.get());
    if (result != CURLE_OK)
        Fail(target, result, errorText);
}

} // namespace kml
