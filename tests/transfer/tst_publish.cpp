#include "testservers.h"
#include "transfer/publisher.h"
#include "transfer/sitefiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <utime.h>

using namespace lumipage;
using lumipage::test::TestServers;
using publishplan::Action;

namespace
{

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Bytes that differ from run to run of the same size, so that no upload is a no-op.
QByteArray picture(qsizetype size, char seed)
{
    QByteArray bytes(size, seed);
    for (qsizetype i = 0; i < size; i += 4096)
        bytes[i] = char(i / 4096 + seed);
    return bytes;
}

// What one publish did: the check's answer, the plan and the send's result.
struct Outcome {
    TransferError checkError;
    QList<publishplan::Item> plan;
    PublishResult result;
    QStringList sent; // in order
    QString action(const QString &relative) const
    {
        for (const publishplan::Item &item : plan)
            if (item.file.relative == relative)
                return publishplan::actionText(item.action);
        return {};
    }
};

} // namespace

class PublishTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestServers> m_servers;
    QString m_site;

    QString knownHosts() const { return m_dir.path() + "/known_hosts"; }

    // The key the test's sshd shows, as the publish reports it.
    QString hostFingerprint() const
    {
        QProcess keygen;
        keygen.start("ssh-keygen", {"-l", "-E", "sha256", "-f", m_servers->hostKeyFile()});
        keygen.waitForFinished();
        return QString::fromLatin1(keygen.readAllStandardOutput()).section(u' ', 1, 1);
    }

    Outcome publish(const PublishTarget &target, const std::function<void(qint64)> &onBytes = {},
                    const QString &acceptedKey = {}, bool tickChanged = false,
                    const std::atomic_bool *cancel = nullptr)
    {
        Outcome out;
        RemoteSite::Options options{knownHosts(), acceptedKey, cancel};
        Publisher publisher(target, options, Manifest::pathFor(target));
        out.plan = publishplan::localPlan(sitefiles::siteFiles(m_site + "/index.htm", m_site),
                                          publisher.manifest());
        out.checkError = publisher.check(out.plan);
        if (!out.checkError.ok())
            return out;
        for (publishplan::Item &item : out.plan)
            item.ticked = item.ticked || (tickChanged && item.action == Action::ChangedOnServer);
        out.result = publisher.send(out.plan, [&](const PublishProgress &p) {
            if (out.sent.isEmpty() || out.sent.last() != p.file)
                out.sent << p.file;
            if (onBytes)
                onBytes(p.fileSent);
        });
        return out;
    }

    // Every file of the site equals its copy on the server, and no temporary name is left.
    void compareServer(const QString &remote)
    {
        for (const QString &relative : {"index.htm", "frame.htm", "css/site.css", "img/a.png",
                                        "img/bg.png", "img/f.png", "img/big.jpg"})
            QVERIFY2(readAll(remote + u'/' + relative) == readAll(m_site + u'/' + relative),
                     qPrintable(relative));
        for (QDirIterator it(remote, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();)
            QVERIFY2(!it.next().contains("lumipage"), qPrintable(it.filePath()));
    }

    // One row per server kind, named after it.
    static void serverRows(std::initializer_list<TestServers::Kind> kinds)
    {
        QTest::addColumn<int>("kindNumber");
        const char *names[] = {"FTP", "SFTP", "WebDAV", "folder", "https WebDAV", "FTPS"};
        for (TestServers::Kind kind : kinds)
            QTest::newRow(names[kind]) << int(kind);
    }

    // Whether the server of `kind` runs (the test is skipped otherwise); an SFTP server's
    // host key is then trusted.
    bool runs(TestServers::Kind kind)
    {
        if (!m_servers->whyMissing(kind).isEmpty()) {
            QTest::qSkip(qPrintable(m_servers->whyMissing(kind)), __FILE__, __LINE__);
            return false;
        }
        trustSftp(kind);
        return true;
    }
    static TestServers::Kind rowKind()
    {
        QFETCH(int, kindNumber);
        return TestServers::Kind(kindNumber);
    }

    void trustSftp(TestServers::Kind kind)
    {
        // The host key is accepted once, as the author does when asked.
        if (kind != TestServers::Sftp || QFileInfo::exists(knownHosts()))
            return;
        RemoteState state;
        QVERIFY(RemoteSite::open(m_servers->target(kind), {knownHosts(), hostFingerprint()})
                    ->stat("index.htm", &state)
                    .ok());
    }

    // The suite runs these functions in two runs side by side, each naming its own
    // (tests/CMakeLists.txt): a new function goes into one of them.
private slots:
    void initTestCase()
    {
        // The manifests live under the home folder, keyed by host and port: one of an
        // earlier run on the same port would make files look already published.
        QVERIFY(m_dir.isValid());
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        QStandardPaths::setTestModeEnabled(true);
        // A page with pictures, a linked sheet whose url() names a picture, a frame page
        // with its own picture, and a large picture.
        m_site = m_dir.path() + "/site";
        write(m_site + "/index.htm",
              "<html><head><link rel=stylesheet href=\"css/site.css\"></head><body>"
              "<img src=img/a.png><img src=img/big.jpg><iframe src=frame.htm></iframe>"
              "</body></html>");
        write(m_site + "/css/site.css", "body { background: url(\"../img/bg.png\") }");
        write(m_site + "/frame.htm", "<img src=\"img/f.png\">");
        write(m_site + "/img/a.png", picture(3000, 'a'));
        write(m_site + "/img/bg.png", picture(5000, 'b'));
        write(m_site + "/img/f.png", picture(100, 'f'));
        write(m_site + "/img/big.jpg", picture(8 << 20, 'g'));
        m_servers = std::make_unique<TestServers>(m_dir.path());
        m_servers->startAll();
    }

    void cleanupTestCase() { m_servers.reset(); }

    void onlyWhatChangedIsSent_data()
    {
        serverRows({TestServers::Ftp, TestServers::Sftp, TestServers::WebDav, TestServers::Folder,
                    TestServers::Ftps});
    }
    // The first publish sends every file, in order: pictures, then the sheet, then the
    // pages. Then an edited picture alone goes; a file changed on the server since is
    // not overwritten unless the author ticks it.
    void onlyWhatChangedIsSent()
    {
        const TestServers::Kind kind = rowKind();
        if (!runs(kind))
            return;
        const PublishTarget target = m_servers->target(kind);
        const QString remote = m_servers->publicFolder(kind);

        Outcome first = publish(target);
        QVERIFY2(first.checkError.ok(), qPrintable(first.checkError.message()));
        QVERIFY2(first.result.error.ok(), qPrintable(first.result.error.message()));
        QCOMPARE(first.sent, QStringList({"img/bg.png", "img/a.png", "img/big.jpg", "img/f.png",
                                          "css/site.css", "index.htm", "frame.htm"}));
        compareServer(m_servers->publicFolder(kind));

        Outcome again = publish(target);
        QCOMPARE(again.result.sent, 0);
        QCOMPARE(again.action("img/big.jpg"), QString("変更なし"));

        write(m_site + "/img/a.png", picture(3000, char('A' + kind)));
        Outcome edited = publish(target);
        QCOMPARE(edited.sent, QStringList({"img/a.png"}));
        compareServer(m_servers->publicFolder(kind));

        // Someone else replaces the sheet on the server; the author edits it too.
        write(remote + "/css/site.css", "/* theirs */");
        const utimbuf times{1000000000, 1000000000};
        ::utime(QFile::encodeName(remote + "/css/site.css").constData(), &times);
        const QByteArray ours =
            "body { background: url(\"../img/bg.png\") } /* ours */" + QByteArray::number(kind);
        write(m_site + "/css/site.css", ours);
        Outcome conflict = publish(target);
        QCOMPARE(conflict.action("css/site.css"), QString("サーバー上で変更"));
        QCOMPARE(conflict.result.sent, 0);
        QCOMPARE(readAll(remote + "/css/site.css"), QByteArray("/* theirs */"));
        // Ticked by the author, it goes.
        QCOMPARE(publish(target, {}, {}, true).sent, QStringList({"css/site.css"}));
        QCOMPARE(readAll(remote + "/css/site.css"), ours);
    }

    void aBrokenConnectionLeavesTheOldFile_data()
    {
        serverRows({TestServers::Ftp, TestServers::Sftp, TestServers::WebDav, TestServers::Ftps});
    }
    // The server dies in the middle of the large picture: the public copy stays the old
    // one, whole; the next publish sends it and leaves no temporary file behind.
    void aBrokenConnectionLeavesTheOldFile()
    {
        const TestServers::Kind kind = rowKind();
        if (!runs(kind))
            return;
        const PublishTarget target = m_servers->target(kind);
        const QString remote = m_servers->publicFolder(kind);
        QVERIFY(publish(target).result.error.ok());
        const QByteArray old = readAll(remote + "/img/big.jpg");
        QCOMPARE(old, readAll(m_site + "/img/big.jpg"));

        write(m_site + "/img/big.jpg", picture(8 << 20, char('h' + kind)));
        bool killed = false;
        Outcome broken = publish(target, [&](qint64 sent) {
            if (!killed && sent > (2 << 20)) {
                killed = true;
                m_servers->killConnections(kind);
            }
        });
        QVERIFY(killed);
        QVERIFY(!broken.result.error.ok());
        QCOMPARE(broken.result.error.file, QString("img/big.jpg"));
        QCOMPARE(readAll(remote + "/img/big.jpg"), old);

        m_servers->restart(kind);
        Outcome next = publish(target);
        QVERIFY2(next.result.error.ok(), qPrintable(next.result.error.message()));
        QCOMPARE(next.sent, QStringList({"img/big.jpg"}));
        compareServer(m_servers->publicFolder(kind));
    }

    // A cancel in the middle of a file stops at once; the server keeps the old file and no
    // temporary name, and the record still tells what is there.
    void cancelLeavesTheOldFile()
    {
        if (!runs(TestServers::Ftp))
            return;
        const PublishTarget target = m_servers->target(TestServers::Ftp);
        const QString remote = m_servers->publicFolder(TestServers::Ftp);
        QVERIFY(publish(target).result.error.ok());
        const QByteArray old = readAll(remote + "/img/big.jpg");
        write(m_site + "/img/big.jpg", picture(8 << 20, 'c'));
        write(m_site + "/img/f.png", picture(100, 'c'));
        std::atomic_bool cancel = false;
        const Outcome cancelled = publish(
            target, [&](qint64 sent) { cancel = cancel || sent > (1 << 20); }, {}, false, &cancel);
        QCOMPARE(cancelled.result.error.kind, TransferError::Kind::Cancelled);
        QCOMPARE(readAll(remote + "/img/big.jpg"), old);
        QVERIFY(!QFileInfo::exists(remote + "/img/.big.jpg.lumipage-part"));
        const Outcome next = publish(target);
        QCOMPARE(next.sent, QStringList({"img/big.jpg", "img/f.png"}));
        compareServer(m_servers->publicFolder(TestServers::Ftp));
    }

    void putsBackAFileLeftAside_data() { serverRows({TestServers::Sftp, TestServers::Ftp}); }
    // SFTP, and FTP servers that will not rename onto a taken name, replace a file by
    // moving the old one aside first; a publish broken off right after that move leaves
    // the old file aside, and the next publish puts it back.
    void putsBackAFileLeftAside()
    {
        const TestServers::Kind kind = rowKind();
        if (!runs(kind))
            return;
        const PublishTarget target = m_servers->target(kind);
        const QString remote = m_servers->publicFolder(kind);
        QVERIFY(publish(target).result.error.ok());
        const QByteArray old = readAll(remote + "/img/a.png");
        QVERIFY(QFile::rename(remote + "/img/a.png", remote + "/img/.a.png.lumipage-part-old"));
        Manifest manifest = Manifest::load(Manifest::pathFor(target));
        manifest.pending = {"img/a.png"};
        QVERIFY(manifest.save(Manifest::pathFor(target)).isEmpty());

        const Outcome next = publish(target);
        QVERIFY2(next.checkError.ok(), qPrintable(next.checkError.message()));
        QCOMPARE(next.result.sent, 0);
        QCOMPARE(readAll(remote + "/img/a.png"), old);
        compareServer(remote);
    }

    void refusedLoginsSayWhy_data()
    {
        serverRows({TestServers::Ftp, TestServers::Sftp, TestServers::WebDav});
    }
    void refusedLoginsSayWhy()
    {
        const TestServers::Kind kind = rowKind();
        if (!runs(kind))
            return;
        PublishTarget target = m_servers->target(kind);
        target.password = "wrong";
        target.keyFile = m_servers->otherKey();
        target.remoteFolder += "-refused";
        const Outcome refused = publish(target);
        QCOMPARE(refused.checkError.kind, TransferError::Kind::Login);
        QVERIFY(refused.checkError.message().startsWith(
            "ユーザー名かパスワード（または鍵）が違います。"));

        target = m_servers->target(kind);
        target.port = 1; // nothing listens there
        QCOMPARE(publish(target).checkError.kind, TransferError::Kind::Refused);
    }

    void trustsOnlyTheAcceptedCertificate_data()
    {
        serverRows({TestServers::Https, TestServers::Ftps});
    }
    // TLS verifies the certificate: a self-signed one is refused and its key shown; once
    // the author trusts that key the publish goes through, and only that key.
    void trustsOnlyTheAcceptedCertificate()
    {
        const TestServers::Kind kind = rowKind();
        if (!runs(kind))
            return;
        PublishTarget target = m_servers->target(kind);
        target.certificatePin.clear();
        target.remoteFolder += "/pinned";
        const Outcome refused = publish(target);
        QCOMPARE(refused.checkError.kind, TransferError::Kind::Certificate);
        QProcess pin;
        pin.start("bash", {"-c", "openssl x509 -in '" + m_servers->certificate(kind) +
                                     "' -pubkey -noout | openssl pkey -pubin -outform der"
                                     " | openssl dgst -sha256 -binary | base64"});
        pin.waitForFinished();
        const QString expected =
            "sha256//" + QString::fromLatin1(pin.readAllStandardOutput()).trimmed();
        QCOMPARE(refused.checkError.fingerprint, expected);
        QVERIFY(refused.checkError.message().startsWith("サーバーの証明書を信頼できません。"));
        QVERIFY(refused.checkError.message().contains(expected));

        target.certificatePin = expected;
        const Outcome trusted = publish(target);
        QVERIFY2(trusted.result.error.ok(), qPrintable(trusted.result.error.message()));
        QCOMPARE(trusted.result.sent, 7);
        compareServer(m_servers->publicFolder(kind) + "/pinned");
        QCOMPARE(publish(target).result.bytes, 0);

        target.certificatePin = "sha256//" + QString(44, u'A').chopped(1) + u'=';
        write(m_site + "/img/f.png", picture(100, char('p' + kind))); // something to send
        QCOMPARE(publish(target).checkError.kind, TransferError::Kind::Certificate);
    }

    // An unknown host key is shown by its fingerprint and trusted only when accepted;
    // once remembered, another key on the same server is refused.
    void sftpHostKeys()
    {
        if (!runs(TestServers::Sftp))
            return;
        QFile::remove(knownHosts());
        PublishTarget target = m_servers->target(TestServers::Sftp);
        target.remoteFolder += "-keys";
        const Outcome unknown = publish(target);
        QCOMPARE(unknown.checkError.kind, TransferError::Kind::HostKeyUnknown);
        QCOMPARE(unknown.checkError.fingerprint, hostFingerprint());
        QVERIFY(unknown.checkError.message().contains(hostFingerprint()));
        QVERIFY(!QFileInfo::exists(knownHosts()) || readAll(knownHosts()).isEmpty());

        QVERIFY(publish(target, {}, hostFingerprint()).result.error.ok());
        QVERIFY(publish(target).checkError.ok()); // remembered

        // The remembered key is replaced by another one: a server changed or an impostor.
        QByteArray line = readAll(knownHosts()).trimmed();
        const QList<QByteArray> fields = line.split(' ');
        QVERIFY(fields.size() >= 3);
        const QByteArray other = readAll(m_servers->otherKey() + ".pub").split(' ')[1];
        write(knownHosts(), fields[0] + ' ' + fields[1] + ' ' + other + '\n');
        write(m_site + "/img/f.png", picture(100, 'F')); // something to send
        const Outcome changed = publish(target, {}, hostFingerprint());
        QCOMPARE(changed.checkError.kind, TransferError::Kind::HostKeyChanged);
        QVERIFY(changed.checkError.message().startsWith("サーバーのホスト鍵が前回と違います"));
        QFile::remove(knownHosts());
    }
};

QTEST_GUILESS_MAIN(PublishTest)
#include "tst_publish.moc"
