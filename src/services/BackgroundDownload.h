#pragma once

#include "foundation/Download.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

namespace kml {

// One DownloadFile on a thread of its own. finished() arrives on the thread
// the object lives on (queued), once. Destroying the object abandons a
// download still running and waits the second it takes to stop, so that
// nothing outlives it.
class BackgroundDownload final : public QObject {
    Q_OBJECT
public:
    BackgroundDownload(QString url, QString fileName, DownloadLimits limits, QObject* parent = nullptr);
    ~BackgroundDownload() override;

    void start();
    bool isRunning() const;

signals:
    void finished(bool ok);

private:
    QString m_url;
    QString m_fileName;
    DownloadLimits m_limits;
    std::atomic<bool> m_cancel{false};
    std::unique_ptr<QThread> m_thread;
};

} // namespace kml
