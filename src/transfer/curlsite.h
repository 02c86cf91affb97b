#pragma once

#include "transfer/remotesite.h"

#include <QByteArray>
#include <QSet>

typedef void CURL;

namespace lumipage
{

// FTP, FTPS (explicit TLS), SFTP and WebDAV through one libcurl handle, so that every
// call after the first reuses the open connection.
class CurlSite : public RemoteSite
{
public:
    CurlSite(const PublishTarget &target, const Options &options);
    ~CurlSite() override;
    TransferError stat(const QString &relative, RemoteState *state) override;
    TransferError put(const QString &localPath, const QString &relative,
                      const Progress &progress) override;
    TransferError cleanUp(const QStringList &relatives) override;

    // What the host-key check saw (for the callback).
    enum class HostKey { NotChecked, Known, Unknown, Changed };
    HostKey m_hostKey = HostKey::NotChecked;
    QString m_fingerprint;
    QString m_acceptedHostKey;
    const std::atomic_bool *m_cancel = nullptr;
    Progress m_progress;

private:
    void prepare(const QString &url);
    TransferError perform(const QString &relative);
    TransferError makeFolders(const QString &relative);
    // Over FTP, puts the uploaded temporary file in place of the public one by moving
    // the old one aside first, for servers that will not rename onto a taken name.
    TransferError replaceAside(const QString &relative);
    QByteArray quoted(const QString &relative) const;
    // The pin of the certificate the server shows, read without verifying it.
    QString certificateKey();

    PublishTarget m_target;
    QString m_knownHosts;
    CURL *m_curl = nullptr;
    char m_errorText[256] = {};
    int m_lastCode = 0;
    QSet<QString> m_madeFolders; // WebDAV folders made in this session
};

} // namespace lumipage
