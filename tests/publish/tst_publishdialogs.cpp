#include "publish/publishcontroller.h"
#include "publish/publishlisttext.h"
#include "publish/publishsettings.h"
#include "publish/publishtargetfields.h"
#include "support/testsupport.h"
#include "testservers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace lumipage;
using lumipage::test::answerNextModal;
using lumipage::test::TestServers;

namespace
{

// How the author answers the windows of a publish, and what came up, in order: a
// password question as "password: <label>", a message box as its text, the list as
// "list".
struct Answers {
    QStringList passwords;                    // typed in turn into the password questions
    QList<QMessageBox::StandardButton> boxes; // clicked in turn; OK once none are left
    bool send = false;                        // 「公開」 in the list, else the list is closed
    QStringList seen;
};

// Answers each modal window as it comes, for the rest of the test function.
void answerAll(const std::shared_ptr<Answers> &answers)
{
    answerNextModal([answers](QWidget *window) {
        answerAll(answers);
        if (auto *input = qobject_cast<QInputDialog *>(window)) {
            answers->seen << "password: " + input->labelText();
            QTest::keyClicks(input->findChild<QLineEdit *>(), answers->passwords.takeFirst());
            input->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(window)) {
            answers->seen << box->text();
            box->button(answers->boxes.isEmpty() ? QMessageBox::Ok : answers->boxes.takeFirst())
                ->click();
        } else if (window->objectName() == QLatin1String("publishListDialog")) {
            answers->seen << "list";
            if (answers->send)
                window->findChild<QPushButton *>("publishSend")->click();
            else
                static_cast<QDialog *>(window)->reject();
        }
    });
}

} // namespace

class PublishDialogsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestServers> m_servers;

    // A site of one page and one picture under the test folder, published to `target`.
    QString site(const QString &name, const PublishTarget &target)
    {
        const QString root = m_dir.path() + u'/' + name;
        QDir().mkpath(root);
        test::writeBytes(root + "/index.htm", "<img src=a.png>");
        test::writeBytes(root + "/a.png", "picture " + name.toUtf8());
        publishsettings::store({root, target});
        return root + "/index.htm";
    }
    // The controller of a window of its own, publishing `page`, which is saved.
    PublishController *controllerFor(QWidget &window, const QString &page)
    {
        return new PublishController(window, {[page] { return page; }, [] { return false; },
                                              [] {}}); // a child of the window
    }

    void fill(QWidget *dialog, const char *name, const QString &text)
    {
        auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
        QVERIFY2(edit, name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

private slots:
    void initTestCase()
    {
        // Trusted host keys and manifests live under the home folder, keyed by host and
        // port: those of an earlier run on the same port must not count.
        QVERIFY(m_dir.isValid());
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        m_servers = std::make_unique<TestServers>(m_dir.path() + "/servers");
        for (auto kind : {TestServers::Ftp, TestServers::Sftp, TestServers::Ftps})
            m_servers->start(kind);
    }
    void cleanupTestCase() { m_servers.reset(); }

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
    // and once trusted the files go up through the worker and the count is shown. Later
    // the server shows another key: the publish is refused with its message, not asked.
    void publishToAnUnknownSftpServer()
    {
        if (!m_servers->whyMissing(TestServers::Sftp).isEmpty())
            QSKIP(qPrintable(m_servers->whyMissing(TestServers::Sftp)));
        const PublishTarget target = m_servers->target(TestServers::Sftp);
        const QString page = site("sftp-site", target);
        QWidget window;
        PublishController *controller = controllerFor(window, page);
        QProcess keygen;
        keygen.start("ssh-keygen", {"-l", "-E", "sha256", "-f", m_servers->hostKeyFile()});
        keygen.waitForFinished();
        const QString fingerprint =
            QString::fromLatin1(keygen.readAllStandardOutput()).section(u' ', 1, 1);

        auto answers = std::make_shared<Answers>(Answers{{}, {QMessageBox::Yes}, true});
        answerAll(answers);
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 3, 10000);
        QVERIFY2(answers->seen[0].contains(fingerprint) &&
                     answers->seen[0].endsWith("このサーバーを信頼しますか？"),
                 qPrintable(answers->seen[0]));
        QCOMPARE(answers->seen.mid(1), QStringList({"list", "2 個のファイルを送信しました。"}));
        QCOMPARE(test::readBytes(m_servers->publicFolder(TestServers::Sftp) + "/a.png"),
                 QByteArray("picture sftp-site"));

        // The key kept for this server is replaced by another one.
        const QString knownHosts =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/known_hosts/127.0.0.1_%1").arg(target.port);
        const QList<QByteArray> fields = test::readBytes(knownHosts).trimmed().split(' ');
        QCOMPARE(fields.size(), 3);
        const QByteArray other = test::readBytes(m_servers->otherKey() + ".pub").split(' ')[1];
        test::writeBytes(knownHosts, fields[0] + ' ' + fields[1] + ' ' + other + '\n');
        test::writeBytes(QFileInfo(page).path() + "/a.png", "changed picture");
        answers->seen.clear();
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 1, 10000);
        QVERIFY2(answers->seen[0].startsWith("サーバーのホスト鍵が前回と違います"),
                 qPrintable(answers->seen[0]));
        QVERIFY(test::readBytes(knownHosts).contains(other));
        // The publish is over (its progress dialog gone, after the last question): nothing
        // else came up.
        QTRY_VERIFY(!window.findChild<QProgressDialog *>("publishProgress"));
        QCOMPARE(answers->seen.size(), 1);
    }

    // Without a secret store the password is asked once per run; one the server refused
    // is forgotten and asked again.
    void passwordAskedOncePerRun()
    {
        if (!m_servers->whyMissing(TestServers::Ftp).isEmpty())
            QSKIP(qPrintable(m_servers->whyMissing(TestServers::Ftp)));
        if (PasswordStore::secretStoreRuns())
            QSKIP("a secret store runs here: passwords are kept there");
        PublishTarget target = m_servers->target(TestServers::Ftp);
        target.password.clear();
        QWidget window;
        PublishController *controller = controllerFor(window, site("ftp-site", target));
        const QString question = QStringLiteral("password: author@127.0.0.1 のパスワード:");

        auto answers = std::make_shared<Answers>(Answers{{"wrong", "secret"}, {}, false});
        answerAll(answers);
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 2, 10000);
        QCOMPARE(answers->seen[0], question);
        QVERIFY2(answers->seen[1].startsWith("ユーザー名かパスワード（または鍵）が違います。"),
                 qPrintable(answers->seen[1]));
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 4, 10000);
        QCOMPARE(answers->seen.mid(2), QStringList({question, "list"}));
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 5, 10000);
        QCOMPARE(answers->seen.last(), QString("list"));
        QVERIFY(answers->passwords.isEmpty());
    }

    // A self-signed FTPS certificate is shown and asked about: refused, nothing is sent
    // and nothing kept; trusted, the publish goes and the certificate is not asked about
    // again.
    void certificateQuestion()
    {
        if (!m_servers->whyMissing(TestServers::Ftps).isEmpty())
            QSKIP(qPrintable(m_servers->whyMissing(TestServers::Ftps)));
        PublishTarget target = m_servers->target(TestServers::Ftps);
        const QString pin = target.certificatePin;
        target.certificatePin.clear();
        target.password.clear();
        const QString page = site("ftps-site", target);
        QWidget window;
        PublishController *controller = controllerFor(window, page);

        auto answers = std::make_shared<Answers>(
            Answers{{"guest"}, {QMessageBox::No, QMessageBox::Yes}, true});
        answerAll(answers);
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 2, 10000);
        QVERIFY2(answers->seen[1].startsWith("サーバーの証明書を信頼できません。") &&
                     answers->seen[1].contains(pin) &&
                     answers->seen[1].endsWith("この証明書を信頼しますか？"),
                 qPrintable(answers->seen[1]));
        QTRY_VERIFY(!window.findChild<QProgressDialog *>("publishProgress")); // the publish is over
        QCOMPARE(answers->seen.size(), 2);
        QVERIFY(publishsettings::siteFor(page)->target.certificatePin.isEmpty());

        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 5, 10000);
        QCOMPARE(answers->seen[2], answers->seen[1]);
        QCOMPARE(answers->seen.mid(3), QStringList({"list", "2 個のファイルを送信しました。"}));
        QCOMPARE(publishsettings::siteFor(page)->target.certificatePin, pin);
        QCOMPARE(test::readBytes(m_servers->publicFolder(TestServers::Ftps) + "/a.png"),
                 QByteArray("picture ftps-site"));

        test::writeBytes(QFileInfo(page).path() + "/a.png", "changed picture");
        answers->send = false;
        controller->publish();
        QTRY_COMPARE_WITH_TIMEOUT(answers->seen.size(), 6, 10000);
        QCOMPARE(answers->seen.last(), QString("list"));
    }
};

LUMIPAGE_TEST_MAIN(PublishDialogsTest)
#include "tst_publishdialogs.moc"
