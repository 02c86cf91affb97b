#include "transfer/foldersite.h"

#include "document/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace lumipage
{

FolderSite::FolderSite(const QString &folder, const std::atomic_bool *cancel)
    : m_folder(QDir::cleanPath(folder)), m_cancel(cancel)
{
}

TransferError FolderSite::stat(const QString &relative, RemoteState *state)
{
    if (!QFileInfo(m_folder).isDir())
        return {TransferError::Kind::Permission,
                QStringLiteral("フォルダがありません: ") + m_folder};
    const QFileInfo info(m_folder + u'/' + relative);
    *state = {info.isFile(), info.isFile() ? info.size() : -1,
              info.isFile() ? info.lastModified().toSecsSinceEpoch() : 0};
    return {};
}

TransferError FolderSite::put(const QString &localPath, const QString &relative,
                              const Progress &progress)
{
    if (m_cancel && *m_cancel)
        return {TransferError::Kind::Cancelled};
    QFile source(localPath);
    if (!source.open(QIODevice::ReadOnly))
        return {TransferError::Kind::LocalFile, source.errorString(), relative};
    const QByteArray bytes = source.readAll();
    const QString target = m_folder + u'/' + relative;
    if (!QDir().mkpath(QFileInfo(target).path()))
        return {TransferError::Kind::Permission, {}, relative};
    const atomicfile::Result result = atomicfile::write(target, bytes);
    if (!result.ok)
        return {result.errnum == ENOSPC ? TransferError::Kind::DiskFull
                : result.errnum == EACCES || result.errnum == EPERM || result.errnum == EROFS
                    ? TransferError::Kind::Permission
                    : TransferError::Kind::Other,
                result.systemText, relative};
    if (progress)
        progress(bytes.size());
    return {};
}

TransferError FolderSite::cleanUp(const QStringList &relatives)
{
    QSet<QString> folders;
    for (const QString &relative : relatives)
        folders.insert(QFileInfo(m_folder + u'/' + relative).path());
    for (const QString &folder : folders)
        atomicfile::removeStaleTemporaries(folder);
    return {};
}

} // namespace lumipage
