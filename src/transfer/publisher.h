#pragma once

#include "transfer/manifest.h"
#include "transfer/remotesite.h"

#include <QList>

namespace lumipage
{

// Where a publish stands, for the progress dialog.
struct PublishProgress {
    QString file; // place under the remote folder
    qint64 fileSent = 0;
    qint64 fileSize = 0;
    qint64 sent = 0; // of all files, this one included
    qint64 total = 0;
    int filesDone = 0;
    int files = 0;
};

struct PublishResult {
    int sent = 0;
    qint64 bytes = 0;
    TransferError error;   // the first failure; the files after it were not sent
    QString manifestError; // the record could not be written (the next publish asks again)
};

// Publishes a site's files to one target: first asks the server about the files to send
// (and removes what an earlier publish that broke off left there), then sends the files
// the author ticked, in the plan's order. The manifest records each file once it is in
// place and is written at the end whatever happened, so it stays true to the server.
// Runs on any one thread; `cancel` may be set from another.
class Publisher
{
public:
    Publisher(const PublishTarget &target, const RemoteSite::Options &options,
              const QString &manifestPath);

    const Manifest &manifest() const { return m_manifest; }
    // The plan for a site's files against the manifest and the server: files to send
    // that someone else changed on the server become ChangedOnServer and are unticked.
    TransferError check(QList<publishplan::Item> &items);
    // Sends the ticked files that are present on the disk.
    PublishResult send(const QList<publishplan::Item> &items,
                       const std::function<void(const PublishProgress &)> &progress);

private:
    PublishTarget m_target;
    RemoteSite::Options m_options;
    QString m_manifestPath;
    Manifest m_manifest;
    std::unique_ptr<RemoteSite> m_site;
};

} // namespace lumipage
