#include "services/BackgroundDownload.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>

namespace kml {

BackgroundDownload::BackgroundDownload(QString url, QString fileName, DownloadLimits limits, QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_fileName(std::move(fileName)), m_limits(std::move(limits)) {
    m_limits.cancel = &m_cancel;
}

BackgroundDownload::~BackgroundDownload() {
    m_cancel = true;
    if (m_thread)
        m_thread->wait();
}

void BackgroundDownload::start() {
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] {
        const bool ok = DownloadFile(m_url, m_fileName, m_limits);
        if (m_cancel)
            return;
        // Back on the object's own thread; dropped when it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, ok] { emit finished(ok); }, Qt::QueuedConnection);
    }));
    m_thread->start();
}

bool BackgroundDownload::isRunning() const {
    return m_thread && m_thread->isRunning();
}

} // namespace kml
