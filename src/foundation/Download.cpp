#include "foundation/Download.h"

#include <QSaveFile>
#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace kml {
namespace {

size_t WriteToFile(char* data, size_t size, size_t count, void* target) {
    auto* file = static_cast<QSaveFile*>(target);
    const qint64 bytes = qint64(size * count);
    return file->write(data, bytes) == bytes ? size * count : 0; // 0 makes curl stop with an error
}

int CancelWhenAsked(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0; // non-zero aborts
}

} // namespace

bool DownloadFile(const QString& url, const QString& fileName) {
    return DownloadFile(url, fileName, DownloadLimits{});
}

bool DownloadFile(const QString& url, const QString& fileName, const DownloadLimits& limits) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;

    const QByteArray address = url.toUtf8();
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, long(limits.connect));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, long(limits.total));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "KoravelML/24.0.0.111");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &WriteToFile);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &file);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray caFile = limits.caFile.toLocal8Bit();
    if (!caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    if (limits.cancel) {
        curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &CancelWhenAsked);
        curl_easy_setopt(h, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(limits.cancel));
        curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    }

    if (curl_easy_perform(h) != CURLE_OK) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace kml
