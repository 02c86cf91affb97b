#include "transfer/publisher.h"

namespace lumipage
{

using publishplan::Action;

Publisher::Publisher(const PublishTarget &target, const RemoteSite::Options &options,
                     const QString &manifestPath)
    : m_target(target), m_options(options), m_manifestPath(manifestPath),
      m_manifest(Manifest::load(manifestPath)), m_site(RemoteSite::open(target, options))
{
}

TransferError Publisher::check(QList<publishplan::Item> &items)
{
    if (!m_manifest.pending.isEmpty()) {
        if (TransferError error = m_site->cleanUp(m_manifest.pending); !error.ok())
            return error;
        m_manifest.pending.clear();
        m_manifest.save(m_manifestPath);
    }
    // Only files whose content changed are asked about: an unchanged site costs no
    // question to the server.
    for (publishplan::Item &item : items) {
        if (item.action != Action::Send)
            continue;
        RemoteState remote;
        if (TransferError error = m_site->stat(item.file.relative, &remote); !error.ok())
            return error;
        const auto known = m_manifest.files.constFind(item.file.relative);
        item.action =
            publishplan::remoteAction(known == m_manifest.files.cend() ? nullptr : &*known, remote);
        item.ticked = item.action == Action::Send;
    }
    return {};
}

PublishResult Publisher::send(const QList<publishplan::Item> &items,
                              const std::function<void(const PublishProgress &)> &progress)
{
    QList<publishplan::Item> toSend;
    PublishProgress state;
    for (const publishplan::Item &item : items)
        if (item.ticked && item.file.state == sitefiles::State::Present &&
            (item.action == Action::Send || item.action == Action::ChangedOnServer)) {
            toSend << item;
            state.total += item.size;
        }
    state.files = int(toSend.size());
    PublishResult result;
    if (toSend.isEmpty())
        return result;
    // Written before the first byte goes: a publish that never reaches its end (the
    // program killed) still tells the next one which temporary names to look for.
    for (const publishplan::Item &item : toSend)
        m_manifest.pending << item.file.relative;
    result.manifestError = m_manifest.save(m_manifestPath);
    if (!result.manifestError.isEmpty())
        return result;
    QStringList unfinished;
    for (const publishplan::Item &item : toSend) {
        if (!result.error.ok()) {
            unfinished << item.file.relative;
            continue;
        }
        state.file = item.file.relative;
        state.fileSize = item.size;
        state.fileSent = 0;
        const qint64 before = state.sent;
        if (progress)
            progress(state);
        result.error = m_site->put(item.file.path, item.file.relative, [&](qint64 sent) {
            state.fileSent = sent;
            state.sent = before + sent;
            if (progress)
                progress(state);
        });
        RemoteState remote;
        if (result.error.ok())
            result.error = m_site->stat(item.file.relative, &remote);
        if (!result.error.ok()) {
            unfinished << item.file.relative;
            continue;
        }
        m_manifest.files.insert(item.file.relative,
                                {item.sha256, item.size, remote.size, remote.time});
        ++result.sent;
        result.bytes += item.size;
        state.sent = before + item.size;
        ++state.filesDone;
    }
    // A cancel leaves the connection usable: what the broken-off upload left goes now.
    if (result.error.kind == TransferError::Kind::Cancelled) {
        std::atomic_bool notCancelled = false;
        RemoteSite::Options options = m_options;
        options.cancel = &notCancelled;
        if (RemoteSite::open(m_target, options)->cleanUp(unfinished).ok())
            unfinished.clear();
    }
    m_manifest.pending = unfinished;
    result.manifestError = m_manifest.save(m_manifestPath);
    return result;
}

} // namespace lumipage
