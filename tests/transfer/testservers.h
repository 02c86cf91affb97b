#pragma once

#include "transfer/publishtarget.h"

#include <QProcess>
#include <QString>

#include <memory>

namespace lumipage::test
{

// Real servers on 127.0.0.1 for the publish tests, each serving a folder of the test's
// temporary folder: FTP (pyftpdlib, refusing a rename onto a taken name as some servers
// do), SFTP (an sshd of its own, key login), WebDAV
// and WebDAV over https on a self-signed certificate (rclone), FTPS with explicit TLS on
// a self-signed certificate (vsftpd, anonymous uploads). A server whose program is missing
// is not started and says why.
class TestServers
{
public:
    enum Kind { Ftp, Sftp, WebDav, Folder, Https, Ftps };
    explicit TestServers(const QString &folder);
    ~TestServers();

    // Starts all servers that can run; their reasons otherwise.
    void startAll();
    // Starts one server; false (with the reason kept) when it cannot run.
    bool start(Kind kind);
    QString whyMissing(Kind kind) const { return m_missing[kind]; }
    // The target publishing to the server's "www" folder with the right credentials (the
    // FTPS one trusts its server's certificate).
    PublishTarget target(Kind kind) const;
    // The folder on this disk where the target's files land.
    QString publicFolder(Kind kind) const;
    // Kills the server's processes that serve connections (for SFTP and FTPS, the
    // sessions; the listener stays), and for the others starts the server again on its port.
    void killConnections(Kind kind);
    void restart(Kind kind);
    QString hostKeyFile() const;                  // the SFTP server's public host key
    QString clientKey() const;                    // the key the SFTP target logs in with
    QString otherKey() const;                     // a key the server does not know
    QString certificate(Kind kind = Https) const; // a TLS server's self-signed certificate (PEM)

private:
    QString m_folder;
    bool startFtps(QProcess *process, const QString &served, const QString &port);
    bool makeCertificate(Kind kind);

    static constexpr int Kinds = 6;
    int m_ports[Kinds] = {};
    std::unique_ptr<QProcess> m_processes[Kinds];
    QString m_missing[Kinds];
    qint64 m_sshdPid = 0;
};

} // namespace lumipage::test
