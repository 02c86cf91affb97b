// Publishing a site to the test servers against curl uploading the same files.
#include "benchsupport.h"
#include "cases.h"
#include "testservers.h"
#include "transfer/publisher.h"
#include "transfer/sitefiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace lumipage::bench
{

namespace
{

using test::TestServers;

// A page naming `count` pictures of `bytes` each in img/.
void makeSite(const QString &site, int count, qsizetype bytes)
{
    QDir().mkpath(site + "/img");
    QByteArray page = "<html><body>\n";
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("img/p%1.png").arg(i);
        QFile file(site + u'/' + name);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(bytes, char('a' + i % 26)) + QByteArray::number(i));
        page += "<img src=\"" + name.toUtf8() + "\">\n";
    }
    QFile index(site + "/index.htm");
    index.open(QIODevice::WriteOnly);
    index.write(page + "</body></html>\n");
}

// One whole publish: the site read, the server asked, the files sent.
PublishResult publishSite(const PublishTarget &target, const QString &site,
                          const QString &knownHosts, const QString &hostKey = {})
{
    Publisher publisher(target, {knownHosts, hostKey, nullptr}, Manifest::pathFor(target));
    QList<publishplan::Item> items = publishplan::localPlan(
        sitefiles::siteFiles(site + "/index.htm", site), publisher.manifest());
    if (!publisher.check(items).ok())
        qFatal("the publish bench could not reach its server");
    return publisher.send(items, {});
}

// Starts afresh: nothing on the server, no record of an earlier publish.
void clearTarget(TestServers &servers, TestServers::Kind kind)
{
    QDir(servers.publicFolder(kind)).removeRecursively();
    QFile::remove(Manifest::pathFor(servers.target(kind)));
}

// curl sending the same pictures in one run (one connection), and the page.
void curlUpload(TestServers &servers, TestServers::Kind kind, const QString &site, int count)
{
    const PublishTarget target = servers.target(kind);
    QString folder = target.url("img/x"); // curl appends each file's name to a folder's
    folder.chop(1);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("p%1.png").arg(i);
    QStringList arguments{"-sS",
                          "--ftp-create-dirs",
                          "-T",
                          site + "/img/{" + names.join(u',') + u'}',
                          target.url("img/"),
                          "-T",
                          site + "/index.htm",
                          target.url("index.htm")};
    if (kind == TestServers::Sftp)
        arguments << "-u" << target.user + u':' << "--key" << target.keyFile << "-k";
    else
        arguments << "-u" << target.user + u':' + target.password;
    if (QProcess::execute("curl", arguments) != 0)
        qFatal("curl could not upload to the bench's server");
}

} // namespace

void publishCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "publish"))
        return;
    TestServers servers(dir + "/servers");
    servers.startAll();
    const QString knownHosts = dir + "/known_hosts";
    const QString site = dir + "/publish-site";
    makeSite(site, 200, 50 * 1024); // 10 MB
    const Budget budget{.minPairs = 5, .maxPairs = 15, .seconds = 90};
    for (const auto kind : {TestServers::Ftp, TestServers::Sftp}) {
        if (!servers.whyMissing(kind).isEmpty()) {
            qWarning("publish bench: %s", qPrintable(servers.whyMissing(kind)));
            continue;
        }
        const PublishTarget target = servers.target(kind);
        QString hostKey;
        if (kind == TestServers::Sftp) {
            QProcess keygen;
            keygen.start("ssh-keygen", {"-l", "-E", "sha256", "-f", servers.hostKeyFile()});
            keygen.waitForFinished();
            hostKey = QString::fromLatin1(keygen.readAllStandardOutput()).section(u' ', 1, 1);
        }
        const Trial ours = timed([&] { clearTarget(servers, kind); },
                                 [&] { publishSite(target, site, knownHosts, hostKey); });
        const Trial curl = timed([&] { clearTarget(servers, kind); },
                                 [&] { curlUpload(servers, kind, site, 200); });
        report(QStringLiteral("publish 200 files (10 MB) to %1 vs curl")
                   .arg(kind == TestServers::Ftp ? "FTP" : "SFTP"),
               QStringLiteral("200 × 50 KB"), compare(ours, curl, budget));
    }

    // An unchanged site: the publish reads and hashes every file and sends nothing; the
    // other side only hashes the same files, the least a comparison can do.
    if (!servers.whyMissing(TestServers::Ftp).isEmpty())
        return;
    const QString big = dir + "/publish-1000";
    makeSite(big, 1000, 4 * 1024);
    const PublishTarget target = servers.target(TestServers::Ftp);
    clearTarget(servers, TestServers::Ftp);
    publishSite(target, big, knownHosts);
    const Trial ours = timed([&] {
        if (publishSite(target, big, knownHosts).sent != 0)
            qFatal("an unchanged site sent files");
    });
    const Trial hashes = timed([&] {
        for (const QFileInfo &file : QDir(big + "/img").entryInfoList(QDir::Files))
            publishplan::digest(file.filePath());
    });
    report(QStringLiteral("publish an unchanged 1000-file site (FTP) vs hashing its files"),
           QStringLiteral("1000 × 4 KB"), compare(ours, hashes, budget));
}

} // namespace lumipage::bench
