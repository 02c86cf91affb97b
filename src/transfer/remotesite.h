#pragma once

#include "transfer/manifest.h"
#include "transfer/publishtarget.h"
#include "transfer/transfererror.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace lumipage
{

// One open connection to a publish target, used from one thread. Every upload goes to a
// temporary name in the file's own remote folder and is renamed over the public name
// only once complete, so the public file is always the old one or the new one.
class RemoteSite
{
public:
    // Bytes of the current file sent so far.
    using Progress = std::function<void(qint64 sent)>;
    // What to trust and when to stop: the SFTP host key the author accepted (its
    // "SHA256:…" fingerprint; it is then added to `knownHostsFile`), and a flag the
    // transfer polls to stop.
    struct Options {
        QString knownHostsFile;
        QString acceptedHostKey;
        const std::atomic_bool *cancel = nullptr;
    };

    virtual ~RemoteSite() = default;

    // The connection for a target (nothing is sent until the first call).
    static std::unique_ptr<RemoteSite> open(const PublishTarget &target, const Options &options);

    // What the server holds at a place under the remote folder.
    virtual TransferError stat(const QString &relative, RemoteState *state) = 0;
    // Sends a local file to a place under the remote folder, making missing folders.
    virtual TransferError put(const QString &localPath, const QString &relative,
                              const Progress &progress) = 0;
    // Removes what uploads of these places may have left behind (their temporary names);
    // names that are not there are no error.
    virtual TransferError cleanUp(const QStringList &relatives) = 0;

    // The temporary name an upload of `relative` uses, in the same folder.
    static QString temporaryName(const QString &relative);
};

} // namespace lumipage
