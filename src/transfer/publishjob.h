#pragma once

#include "transfer/publisher.h"
#include "transfer/sitefiles.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

namespace lumipage
{

// A publish run on a worker thread of its own, so the window stays responsive: reading
// the site and asking the server (prepare), then sending what the author ticked (send).
// Results arrive as signals in the thread that made the job. Deleting the job cancels
// what runs and waits for the worker to stop.
class PublishJob : public QObject
{
    Q_OBJECT
public:
    PublishJob(const PublishTarget &target, const RemoteSite::Options &options,
               const QString &manifestPath, QObject *parent = nullptr);
    ~PublishJob() override;

    // Lists the page's files under `root` and plans them against the manifest and the
    // server; answers with prepared().
    void prepare(const QString &pagePath, const QString &root, const sitefiles::Options &options);
    // Sends the ticked items; answers with progressed() along the way and finished().
    void send(const QList<publishplan::Item> &items);
    // Stops the transfer under way; the file being sent stays the old one on the server.
    void cancel();

signals:
    void prepared(const QList<lumipage::publishplan::Item> &items, const QStringList &warnings,
                  const lumipage::TransferError &error);
    void progressed(const lumipage::PublishProgress &progress);
    void finished(const lumipage::PublishResult &result);

private:
    void runOnWorker(std::function<void()> work);

    PublishTarget m_target;
    RemoteSite::Options m_options;
    QString m_manifestPath;
    std::atomic_bool m_cancel = false;
    QThread m_thread;
    QObject *m_worker = nullptr;            // lives in m_thread
    std::unique_ptr<Publisher> m_publisher; // made and used on the worker only
};

} // namespace lumipage
