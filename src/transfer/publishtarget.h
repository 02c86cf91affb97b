#pragma once

#include <QString>

namespace lumipage
{

// Where a site is published: a server and a folder on it, or a local folder.
struct PublishTarget {
    enum class Protocol { Ftp, Ftps, Sftp, WebDav, Folder };
    Protocol protocol = Protocol::Ftp;
    QString host; // for WebDAV "https://host" chooses TLS, a bare name or "http://" not
    int port = 0; // 0: the protocol's own
    QString user;
    QString password;     // never stored with the rest (see publishsettings)
    QString keyFile;      // SFTP: a private key; empty tries the SSH agent and the password
    QString remoteFolder; // on the server (relative to the login folder unless it starts
                          // with "/"), or the local folder itself
    bool passive = true;  // FTP and FTPS
    // FTPS and https: the public key ("sha256//BASE64") of a certificate the author chose to
    // trust though no authority vouches for it (a self-signed one); only that key passes.
    QString certificatePin;

    // The address of a file under the remote folder ("ftp://host:21/www/img/a.png"),
    // each part %-escaped; an empty `relative` gives the server's start ("ftp://host:21/").
    QString url(const QString &relative) const;
    // The same place as the server's commands name it (FTP and SFTP quote commands).
    QString commandPath(const QString &relative) const;
    int effectivePort() const;
    // What tells two targets apart (protocol, user, host, port, folder): the manifest's key.
    QString identity() const;
};

} // namespace lumipage
