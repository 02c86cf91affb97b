#include "testservers.h"

#include "transfer/certificatepin.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumipage::test
{

namespace
{

// An FTP server on 127.0.0.1 at the port argv[1], serving the folder argv[2] to the user
// "author" (password "secret") with every right to write.
const char kFtpServer[] =
    "import os, sys\n"
    "from pyftpdlib.authorizers import DummyAuthorizer\n"
    "from pyftpdlib.handlers import FTPHandler\n"
    "from pyftpdlib.servers import FTPServer\n"
    "plain = FTPHandler.ftp_RNTO\n"
    "def strict(self, path):\n"
    "    if self._rnfr and os.path.lexists(path):\n"
    "        self._rnfr = None\n"
    "        return self.respond('550 File exists.')\n"
    "    return plain(self, path)\n"
    "FTPHandler.ftp_RNTO = strict\n"
    "users = DummyAuthorizer()\n"
    "users.add_user('author', 'secret', sys.argv[2], perm='elradfmwMT')\n"
    "FTPHandler.authorizer = users\n"
    "FTPHandler.auth_failed_timeout = 0\n"
    "FTPServer(('127.0.0.1', int(sys.argv[1])), FTPHandler).serve_forever()\n";

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

bool listening(int port, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = ::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(s);
        if (ok)
            return true;
        QThread::msleep(5); // a refused connect on loopback costs nothing: look again soon
    }
    return false;
}

// The processes whose parent is `pid`, and theirs, deepest first.
QList<qint64> descendants(qint64 pid)
{
    QList<qint64> out;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 child = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toLongLong() == pid)
            out = descendants(child) + out << child;
    }
    return out;
}

bool runs(const QString &program)
{
    return QFileInfo(program).isExecutable();
}

QString userName()
{
    const passwd *pw = ::getpwuid(::geteuid());
    return pw ? QString::fromLocal8Bit(pw->pw_name) : QString();
}

void makeKey(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QProcess::execute(QStringLiteral("ssh-keygen"),
                      {"-q", "-t", "ed25519", "-N", "", "-f", path, "-C", "test"});
}

} // namespace

TestServers::TestServers(const QString &folder) : m_folder(folder) {}

TestServers::~TestServers()
{
    if (m_processes[Ftps])
        for (qint64 pid : descendants(m_processes[Ftps]->processId()))
            ::kill(pid_t(pid), SIGKILL);
    for (auto &process : m_processes)
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(3000);
        }
    if (m_sshdPid > 0) {
        for (qint64 pid : descendants(m_sshdPid))
            ::kill(pid_t(pid), SIGKILL);
        ::kill(pid_t(m_sshdPid), SIGTERM);
    }
}

void TestServers::startAll()
{
    for (Kind kind : {Ftp, Sftp, WebDav, Https, Ftps})
        start(kind);
    QDir().mkpath(publicFolder(Folder));
}

QString TestServers::publicFolder(Kind kind) const
{
    const char *names[] = {"ftp", "sftp", "dav", "folder", "https", "ftps"};
    return m_folder + u'/' + QLatin1String(names[kind]) + QStringLiteral("/www");
}

QString TestServers::hostKeyFile() const
{
    return m_folder + QStringLiteral("/ssh/host_key.pub");
}
QString TestServers::clientKey() const
{
    return m_folder + QStringLiteral("/ssh/client_key");
}
QString TestServers::certificate(Kind kind) const
{
    // Beside the served folder, so that no client can fetch the key.
    return QFileInfo(publicFolder(kind)).path() + QStringLiteral("-tls/certificate.pem");
}

bool TestServers::makeCertificate(Kind kind)
{
    if (QFileInfo::exists(certificate(kind)))
        return true;
    const QString key = QFileInfo(certificate(kind)).path() + QStringLiteral("/key.pem");
    QDir().mkpath(QFileInfo(key).path());
    QProcess openssl;
    openssl.setStandardErrorFile(QProcess::nullDevice());
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
                   certificate(kind), "-days", "2", "-subj", "/CN=lumipage-test"});
    if (!openssl.waitForFinished(30000))
        openssl.kill();
    return QFileInfo::exists(certificate(kind));
}

bool TestServers::startFtps(QProcess *process, const QString &served, const QString &port)
{
    // vsftpd serves anonymous sessions as the "ftp" user, chrooted into `served`: that
    // folder must stay unwritable to it, the public one below it is its own.
    const passwd *ftp = ::getpwnam("ftp");
    if (::geteuid() != 0 || !ftp) {
        m_missing[Ftps] = QStringLiteral("vsftpd needs root and the ftp user to serve sessions");
        return false;
    }
    if (!makeCertificate(Ftps)) {
        m_missing[Ftps] = QStringLiteral("openssl could not make a certificate");
        return false;
    }
    QDir().mkpath(publicFolder(Ftps));
    QDir().mkpath(m_folder + QStringLiteral("/vsftpd-empty"));
    if (::chown(QFile::encodeName(publicFolder(Ftps)).constData(), ftp->pw_uid, ftp->pw_gid) != 0) {
        m_missing[Ftps] = QStringLiteral("the public folder cannot be given to the ftp user");
        return false;
    }
    // Below the ports the system hands out, so that no other server takes them.
    const int passive = 20000 + int(QRandomGenerator::global()->bounded(9800));
    QFile config(m_folder + QStringLiteral("/vsftpd.conf"));
    config.open(QIODevice::WriteOnly);
    config.setPermissions(QFile::ReadOwner | QFile::WriteOwner); // vsftpd refuses others'
    config.write(
        QStringLiteral("listen=YES\nlisten_address=127.0.0.1\nlisten_port=%1\n"
                       "background=NO\nseccomp_sandbox=NO\nsecure_chroot_dir=%6/vsftpd-empty\n"
                       "anonymous_enable=YES\nanon_root=%2\nlocal_enable=NO\n"
                       "write_enable=YES\nanon_upload_enable=YES\n"
                       "anon_mkdir_write_enable=YES\nanon_other_write_enable=YES\n"
                       "anon_umask=022\nssl_enable=YES\nallow_anon_ssl=YES\n"
                       "force_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\n"
                       "rsa_cert_file=%3/certificate.pem\nrsa_private_key_file=%3/key.pem\n"
                       "pasv_min_port=%4\npasv_max_port=%5\n"
                       "vsftpd_log_file=%6/vsftpd.log\nxferlog_enable=YES\n")
            .arg(port, served, QFileInfo(certificate(Ftps)).path())
            .arg(passive)
            .arg(passive + 200)
            .arg(m_folder)
            .toUtf8());
    config.close();
    process->setStandardErrorFile(m_folder + QStringLiteral("/vsftpd.err"), QIODevice::Append);
    process->start("/usr/sbin/vsftpd", {config.fileName()});
    return true;
}
QString TestServers::otherKey() const
{
    return m_folder + QStringLiteral("/ssh/other_key");
}

bool TestServers::start(Kind kind)
{
    const QString served = QFileInfo(publicFolder(kind)).path();
    QDir().mkpath(served);
    if (!m_ports[kind])
        m_ports[kind] = freePort();
    const QString port = QString::number(m_ports[kind]);
    auto process = std::make_unique<QProcess>();
    process->setStandardOutputFile(QProcess::nullDevice());
    if (kind == Ftp) {
        if (QProcess::execute("/usr/bin/python3", {"-c", "import pyftpdlib"}) != 0) {
            m_missing[kind] = QStringLiteral("pyftpdlib is not installed (python3-pyftpdlib)");
            return false;
        }
        process->setStandardErrorFile(m_folder + QStringLiteral("/ftp.log"), QIODevice::Append);
        // pyftpdlib as the servers that will not rename onto a name that is taken, with a
        // refused login answered at once (it otherwise waits three seconds before it says no).
        process->start("/usr/bin/python3", {"-c", QString::fromLatin1(kFtpServer), port, served});
    } else if (kind == WebDav || kind == Https) {
        if (QStandardPaths::findExecutable("rclone").isEmpty()) {
            m_missing[kind] = QStringLiteral("rclone is not installed");
            return false;
        }
        QStringList arguments{"serve", "webdav", served, "--addr", "127.0.0.1:" + port, "--user",
                              "author", "--pass", "secret",
                              // the test changes files behind it
                              "--dir-cache-time", "0s"};
        if (kind == Https) {
            if (!makeCertificate(kind)) {
                m_missing[kind] = QStringLiteral("openssl could not make a certificate");
                return false;
            }
            arguments << "--cert" << certificate(kind) << "--key"
                      << QFileInfo(certificate(kind)).path() + "/key.pem";
        }
        process->setStandardErrorFile(m_folder + QStringLiteral("/dav.log"), QIODevice::Append);
        process->start("rclone", arguments);
    } else if (kind == Sftp) {
        if (!runs("/usr/sbin/sshd") || QStandardPaths::findExecutable("ssh-keygen").isEmpty()) {
            m_missing[kind] = QStringLiteral("sshd or ssh-keygen is missing (openssh-server)");
            return false;
        }
        // sshd wants its privilege separation folder, which the system service makes.
        if (!QFileInfo::exists("/run/sshd") && !QDir().mkpath("/run/sshd")) {
            m_missing[kind] = QStringLiteral("/run/sshd is missing and cannot be made");
            return false;
        }
        const QString ssh = m_folder + QStringLiteral("/ssh");
        QDir().mkpath(ssh);
        makeKey(ssh + "/host_key");
        makeKey(clientKey());
        makeKey(otherKey());
        QFile::remove(ssh + "/authorized_keys");
        QFile::copy(clientKey() + ".pub", ssh + "/authorized_keys");
        QFile config(ssh + "/sshd_config");
        config.open(QIODevice::WriteOnly);
        config.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2/host_key\n"
                                    "AuthorizedKeysFile %2/authorized_keys\nPidFile %2/sshd.pid\n"
                                    "UsePAM no\nPermitRootLogin yes\nStrictModes no\n"
                                    "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                                    "Subsystem sftp internal-sftp\n")
                         .arg(port, ssh)
                         .toUtf8());
        config.close();
        process->setStandardErrorFile(m_folder + QStringLiteral("/sshd.log"), QIODevice::Append);
        process->start("/usr/sbin/sshd", {"-D", "-e", "-f", ssh + "/sshd_config"});
    } else if (kind == Ftps) {
        if (!runs("/usr/sbin/vsftpd")) {
            m_missing[kind] = QStringLiteral("vsftpd is not installed");
            return false;
        }
        if (!startFtps(process.get(), served, port))
            return false;
    }
    if (!process->waitForStarted(5000) || !listening(m_ports[kind], 10000)) {
        m_missing[kind] = QStringLiteral("the server did not start (see %1)").arg(m_folder);
        return false;
    }
    if (kind == Sftp)
        m_sshdPid = process->processId();
    m_processes[kind] = std::move(process);
    return true;
}

PublishTarget TestServers::target(Kind kind) const
{
    PublishTarget target;
    target.host = QStringLiteral("127.0.0.1");
    target.port = m_ports[kind];
    target.user = QStringLiteral("author");
    target.password = QStringLiteral("secret");
    target.remoteFolder = QStringLiteral("www");
    switch (kind) {
    case Ftp:
        target.protocol = PublishTarget::Protocol::Ftp;
        break;
    case WebDav:
        target.protocol = PublishTarget::Protocol::WebDav;
        break;
    case Sftp:
        target.protocol = PublishTarget::Protocol::Sftp;
        target.user = userName();
        target.password.clear();
        target.keyFile = clientKey();
        target.remoteFolder = publicFolder(kind);
        break;
    case Https:
        target.protocol = PublishTarget::Protocol::WebDav;
        target.host = QStringLiteral("https://127.0.0.1");
        break;
    case Ftps: {
        target.protocol = PublishTarget::Protocol::Ftps;
        target.user = QStringLiteral("anonymous");
        QFile pem(certificate(kind));
        pem.open(QIODevice::ReadOnly);
        target.certificatePin = certificatepin::pinOf(pem.readAll());
        break;
    }
    case Folder:
        target.protocol = PublishTarget::Protocol::Folder;
        target.remoteFolder = publicFolder(kind);
        break;
    }
    return target;
}

void TestServers::killConnections(Kind kind)
{
    if (kind == Sftp || kind == Ftps) {
        for (qint64 pid : descendants(kind == Sftp ? m_sshdPid : m_processes[kind]->processId()))
            ::kill(pid_t(pid), SIGKILL);
        return;
    }
    if (m_processes[kind]) {
        ::kill(pid_t(m_processes[kind]->processId()), SIGKILL);
        m_processes[kind]->waitForFinished(3000);
    }
}

void TestServers::restart(Kind kind)
{
    if (kind != Sftp && kind != Ftps && kind != Folder)
        start(kind);
}

} // namespace lumipage::test
