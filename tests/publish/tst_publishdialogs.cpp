#include "publish/publishcontroller.h"
#include "publish/publishlisttext.h"
#include "publish/publishsettings.h"
#include "publish/publishtargetfields.h"
#include "support/testsupport.h"
#include "testservers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace lumipage;
using lumipage::test::answerNextModal;

class PublishDialogsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    void fill(QWidget *dialog, const char *name, const QString &text)
    {
        auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(edit, name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

private slots:
    void targetFieldsAreChecked_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("problem"); // empty: a target
        QTest::newRow("no host") << "FTP"
                                 << " "
                                 << ""
                                 << ""
                                 << "サーバーのホスト名を入力してください。";
        QTest::newRow("user in host")
            << "SFTP"
            << "me@example.jp"
            << ""
            << ""
            << "ホスト名に空白や @ は使えません。ユーザー名は別の欄に入力してください。";
        QTest::newRow("port") << "FTPS"
                              << "example.jp"
                              << "70000"
                              << ""
                              << "ポート番号は 1 から 65535 までの数で入力してください。";
        QTest::newRow("relative folder") << "フォルダ"
                                         << ""
                                         << ""
                                         << "www"
                                         << "公開先のフォルダを絶対パスで指定してください。";
        QTest::newRow("good") << "WebDAV"
                              << "https://example.jp"
                              << "8443"
                              << "site"
                              << "";
    }
    void targetFieldsAreChecked()
    {
        QFETCH(QString, protocol);
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, folder);
        QFETCH(QString, problem);
        const auto built =
            publishtargetfields::target({protocol, host, port, "author", "pw", "", folder, true});
        if (!problem.isEmpty()) {
            QCOMPARE(std::get<QString>(built), problem);
            return;
        }
        const PublishTarget target = std::get<PublishTarget>(built);
        QCOMPARE(target.url("a.png"), QString("https://example.jp:8443/site/a.png"));
        QCOMPARE(publishtargetfields::fields(target).protocol, QString("WebDAV"));
    }

    void listTexts()
    {
        publishplan::Item send{{"/s/a.png", "a.png"}, publishplan::Action::Send, 2048, "x", true};
        publishplan::Item theirs{
            {"/s/b.css", "b.css"}, publishplan::Action::ChangedOnServer, 10, "y", false};
        publishplan::Item gone{
            {"/s/c.png", "c.png", sitefiles::Kind::Other, sitefiles::State::Missing},
            publishplan::Action::Missing};
        const QList<publishlisttext::Row> rows = publishlisttext::rows({send, theirs, gone});
        QCOMPARE(rows[0].size, QString("2.0 KB"));
        QCOMPARE(rows[1].action, QString("サーバー上で変更"));
        QVERIFY(rows[1].checkable && !rows[1].checked);
        QVERIFY(!rows[2].checkable);
        QCOMPARE(rows[2].size, QString());
        QCOMPARE(publishlisttext::totalText({send, theirs, gone}),
                 QString("送信するファイル: 1 個（2.0 KB）／全 3 個"));
        PublishResult result;
        result.sent = 3;
        QCOMPARE(publishlisttext::doneText(result), QString("3 個のファイルを送信しました。"));
        result.error = {TransferError::Kind::Broken, {}, "big.jpg"};
        QVERIFY(publishlisttext::doneText(result).endsWith(
            "ファイル: big.jpg\n\n送信できたファイル: 3 個"));
    }

    // A page edited and not saved is saved first; the target dialog stores the target
    // by the site's folder (never its password); the list shows every file with its
    // action, 「公開」 sends, and the message at the end counts the files sent.
    void publishAPageToAFolder()
    {
        const QString site = m_dir.path() + "/site";
        const QString remote = m_dir.path() + "/public";
        QDir().mkpath(remote);
        QDir().mkpath(site);
        test::writeBytes(site + "/index.htm",
                         "<img src=a.png><img src=gone.png><a href=next.htm>next</a>");
        test::writeBytes(site + "/next.htm", "<img src=b.png>");
        test::writeBytes(site + "/b.png", "other picture");
        test::writeBytes(site + "/a.png", "picture");
        bool modified = true;
        int saves = 0;
        auto window = std::make_unique<QWidget>();
        auto *controller = new PublishController( // a child of the window
            *window, {[&] { return site + "/index.htm"; }, [&] { return modified; },
                      [&] { ++saves, modified = false; }});

        // The save question, then the target dialog (no target stored yet), the list and
        // the message at the end, each answered as it comes.
        auto done = std::make_shared<QStringList>();
        const auto listShown = [&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("publishListDialog"));
            auto *list = dialog->findChild<QTreeWidget *>("publishList");
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(list->topLevelItem(0)->text(0), QString("a.png"));
            QCOMPARE(list->topLevelItem(0)->text(1), QString("送信"));
            QCOMPARE(list->topLevelItem(1)->text(1), QString("見つかりません"));
            QCOMPARE(dialog->findChild<QLabel *>("publishTotal")->text(),
                     QString("送信するファイル: 2 個（65 バイト）／全 3 個"));
            answerNextModal([done](QWidget *box) {
                *done << static_cast<QMessageBox *>(box)->text();
                static_cast<QMessageBox *>(box)->accept();
            });
            dialog->findChild<QPushButton *>("publishSend")->click();
        };
        // The linked page and its picture join the list once the author asks for them.
        const auto linkedShown = [&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("publishListDialog"));
            auto *list = dialog->findChild<QTreeWidget *>("publishList");
            QCOMPARE(list->topLevelItemCount(), 5);
            QCOMPARE(list->findItems("b.png", Qt::MatchExactly).size(), 1);
            answerNextModal(listShown);
            dialog->findChild<QCheckBox *>("publishLinkedPages")->click();
        };
        const auto targetShown = [&](QWidget *dialog) {
            QCOMPARE(dialog->objectName(), QString("publishTargetDialog"));
            auto *protocol = dialog->findChild<QComboBox *>("publishProtocol");
            QCOMPARE(protocol->itemText(4), QString("フォルダ"));
            protocol->setCurrentIndex(0);
            fill(dialog, "publishHost", "example.jp");
            fill(dialog, "publishUser", "author");
            fill(dialog, "publishPassword", "s3cret-pw");
            QVERIFY(!dialog->findChild<QLineEdit *>("publishKeyFile")->isEnabled());
            protocol->setCurrentIndex(4);
            fill(dialog, "publishRemoteFolder", remote);
            answerNextModal([&](QWidget *list) {
                // First without the linked page; then with it, then without again.
                QCOMPARE(list->findChild<QTreeWidget *>("publishList")->topLevelItemCount(), 3);
                answerNextModal(linkedShown);
                list->findChild<QCheckBox *>("publishLinkedPages")->click();
            });
            dialog->findChild<QPushButton *>("publishOk")->click();
        };
        answerNextModal([&](QWidget *box) {
            QVERIFY(static_cast<QMessageBox *>(box)->text().contains("保存しますか"));
            answerNextModal(targetShown);
            static_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
        });
        controller->publish();
        QCOMPARE(saves, 1);
        QTRY_COMPARE_WITH_TIMEOUT(done->size(), 1, 10000);
        QCOMPARE(done->first(), QString("2 個のファイルを送信しました。"));
        QCOMPARE(test::readBytes(remote + "/a.png"), QByteArray("picture"));

        const std::optional<publishsettings::Site> stored =
            publishsettings::siteFor(site + "/index.htm");
        QVERIFY(stored);
        QCOMPARE(stored->root, site);
        QCOMPARE(stored->target.remoteFolder, remote);
        // A password goes to the secret store or the run's memory, never to the settings.
        PublishTarget ftp = stored->target;
        ftp.protocol = PublishTarget::Protocol::Ftp;
        ftp.password = "s3cret-pw";
        publishsettings::store({site, ftp});
        QSettings().sync();
        QVERIFY(!test::readBytes(QSettings().fileName()).contains("s3cret-pw"));
        QCOMPARE(publishsettings::siteFor(site + "/index.htm")->target.protocol, ftp.protocol);
    }

    // A publish to an SFTP server not met before: its key's fingerprint is asked about,
    // and once trusted the files go up through the worker and the count is shown.
    void publishToAnUnknownSftpServer()
    {
        test::TestServers servers(m_dir.path() + "/servers");
        if (!servers.start(test::TestServers::Sftp))
            QSKIP(qPrintable(servers.whyMissing(test::TestServers::Sftp)));
        const QString site = m_dir.path() + "/sftp-site";
        QDir().mkpath(site);
        test::writeBytes(site + "/index.htm", "<img src=a.png>");
        test::writeBytes(site + "/a.png", "picture");
        publishsettings::store({site, servers.target(test::TestServers::Sftp)});
        auto window = std::make_unique<QWidget>();
        auto *controller = new PublishController(
            *window, {[&] { return site + "/index.htm"; }, [] { return false; }, [] {}});

        QProcess keygen;
        keygen.start("ssh-keygen", {"-l", "-E", "sha256", "-f", servers.hostKeyFile()});
        keygen.waitForFinished();
        const QString fingerprint =
            QString::fromLatin1(keygen.readAllStandardOutput()).section(u' ', 1, 1);
        auto done = std::make_shared<QStringList>();
        answerNextModal([&](QWidget *box) {
            const QString text = static_cast<QMessageBox *>(box)->text();
            QVERIFY2(text.contains(fingerprint) && text.endsWith("このサーバーを信頼しますか？"),
                     qPrintable(text));
            answerNextModal([done](QWidget *list) {
                QCOMPARE(list->objectName(), QString("publishListDialog"));
                answerNextModal([done](QWidget *box) {
                    *done << static_cast<QMessageBox *>(box)->text();
                    static_cast<QMessageBox *>(box)->accept();
                });
                list->findChild<QPushButton *>("publishSend")->click();
            });
            static_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
        });
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(done->size(), 1, 20000);
        QCOMPARE(done->first(), QString("2 個のファイルを送信しました。"));
        QCOMPARE(test::readBytes(servers.publicFolder(test::TestServers::Sftp) + "/a.png"),
                 QByteArray("picture"));
    }
};

LUMIPAGE_TEST_MAIN(PublishDialogsTest)
#include "tst_publishdialogs.moc"
