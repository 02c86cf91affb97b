#pragma once

#include "transfer/remotesite.h"

namespace lumipage
{

// A local folder as the target (a mounted share): the atomic write of the save puts
// each file in place.
class FolderSite : public RemoteSite
{
public:
    FolderSite(const QString &folder, const std::atomic_bool *cancel);
    TransferError stat(const QString &relative, RemoteState *state) override;
    TransferError put(const QString &localPath, const QString &relative,
                      const Progress &progress) override;
    TransferError cleanUp(const QStringList &relatives) override;

private:
    QString m_folder;
    const std::atomic_bool *m_cancel;
};

} // namespace lumipage
