#include "transfer/publishjob.h"

#include <QElapsedTimer>

namespace lumipage
{

PublishJob::PublishJob(const PublishTarget &target, const RemoteSite::Options &options,
                       const QString &manifestPath, QObject *parent)
    : QObject(parent), m_target(target), m_options(options), m_manifestPath(manifestPath)
{
    m_options.cancel = &m_cancel;
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

PublishJob::~PublishJob()
{
    cancel();
    // The publisher goes on the thread that used it, then the thread stops.
    QMetaObject::invokeMethod(
        m_worker, [this] { m_publisher.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void PublishJob::runOnWorker(std::function<void()> work)
{
    QMetaObject::invokeMethod(m_worker, std::move(work), Qt::QueuedConnection);
}

void PublishJob::cancel()
{
    m_cancel = true;
}

void PublishJob::prepare(const QString &pagePath, const QString &root,
                         const sitefiles::Options &options)
{
    m_cancel = false;
    runOnWorker([this, pagePath, root, options] {
        if (!m_publisher)
            m_publisher = std::make_unique<Publisher>(m_target, m_options, m_manifestPath);
        const QList<sitefiles::SiteFile> files = sitefiles::siteFiles(pagePath, root, options);
        QList<publishplan::Item> items = publishplan::localPlan(files, m_publisher->manifest());
        const TransferError error = m_publisher->check(items);
        emit prepared(items, sitefiles::nameWarnings(files), error);
    });
}

void PublishJob::send(const QList<publishplan::Item> &items)
{
    m_cancel = false;
    runOnWorker([this, items] {
        if (!m_publisher)
            m_publisher = std::make_unique<Publisher>(m_target, m_options, m_manifestPath);
        // A signal for every libcurl callback would flood the window: a few a second.
        QElapsedTimer sinceLast;
        QString lastFile;
        const PublishResult result = m_publisher->send(items, [&](const PublishProgress &p) {
            if (p.file != lastFile || !sinceLast.isValid() || sinceLast.elapsed() >= 100) {
                lastFile = p.file;
                sinceLast.restart();
                emit progressed(p);
            }
        });
        emit finished(result);
    });
}

} // namespace lumipage
