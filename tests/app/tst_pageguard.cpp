// The open page's file in other hands: another editor with the page open (the lock beside
// it, read-only mode), another program changing or removing the file, and files that are
// no proper pages.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"
#include "app/pageguard.h"
#include "document/pagelock.h"

#include <QDir>
#include <QSysInfo>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

class TestPageGuard : public QObject
{
    Q_OBJECT

    MainWindowFixture m_fixture;
    QTemporaryDir m_dir;

    MainWindow &window() { return *m_fixture.window; }
    WebEngineEditingComponent &editor() { return m_fixture.editor(); }
    PageGuard &guard() { return *window().findChild<PageGuard *>(); }
    QString page(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        writeBytes(path, bytes);
        return path;
    }
    // Saves onto `path` through the save command, answering its boxes with `answers`.
    std::shared_ptr<QStringList> save(const QString &path,
                                      QList<QMessageBox::StandardButton> answers)
    {
        m_fixture.dialog->files.enqueue(path);
        auto texts = answerBoxes(std::move(answers));
        window().run(CommandId::SaveFile);
        return texts;
    }
    void activate()
    {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window(), &activation);
    }
    // The window asks nothing for a while.
    bool staysQuiet()
    {
        return !test::waitFor([] { return QApplication::activeModalWidget() != nullptr; }, 800);
    }

private slots:
    void initTestCase() { QVERIFY(m_fixture.create()); }
    void cleanupTestCase() { m_fixture.destroy(); }
    void init()
    {
        QVERIFY(m_fixture.reuse());
        guard().released();
    }

    void theLockNamesItsOwnerAndGoesWithIt()
    {
        const QString path = page(QStringLiteral("locked.htm"), "<P>x</P>");
        const QString file = PageLock::lockPathFor(path);
        QCOMPARE(QFileInfo(file).fileName(), QStringLiteral(".~lumipage-lock.locked.htm#"));
        {
            PageLock mine;
            QCOMPARE(mine.lock(path), PageLock::Outcome::Locked);
            PageLock other;
            const std::optional<PageLock::Owner> owner = other.otherOwner(path);
            QVERIFY(owner);
            QCOMPARE(owner->pid, QCoreApplication::applicationPid());
            QCOMPARE(owner->host, QSysInfo::machineHostName());
            QVERIFY(!owner->user.isEmpty());
            QVERIFY(qAbs(owner->time.secsTo(QDateTime::currentDateTime())) < 60);
            QCOMPARE(other.lock(path), PageLock::Outcome::HeldElsewhere);
            QVERIFY(!mine.otherOwner(path));
        }
        QVERIFY(!QFileInfo::exists(file));

        // A dead process of this machine: taken over silently. Another machine's: held.
        writeBytes(file, "999999\nlumipage\n" + QSysInfo::machineHostName().toUtf8() +
                             "\nsomeone\n2026-01-02T03:04:05\n");
        PageLock taker;
        QCOMPARE(taker.lock(path), PageLock::Outcome::Locked);
        QCOMPARE(PageLock::read(file)->pid, QCoreApplication::applicationPid());
        taker.unlock();
        writeBytes(file, "4242\nlumipage\nfaraway-host\nsomeone\n2026-01-02T03:04:05\n");
        QCOMPARE(taker.lock(path), PageLock::Outcome::HeldElsewhere);
        QFile::remove(file);
    }

    void aPageOpenElsewhereIsAskedAboutBeforeItLoads()
    {
        const QString path = page(QStringLiteral("shared.htm"), "<P>shared page</P>");
        const QByteArray onDisk = readBytes(path);
        PageLock otherWindow;
        QCOMPARE(otherWindow.lock(path), PageLock::Outcome::Locked);
        const QString owner = PageLock::read(PageLock::lockPathFor(path))->user + "・" +
                              QSysInfo::machineHostName() + "・";

        const QString before = editor().documentPath();
        auto texts = answerBoxes({QMessageBox::Cancel});
        window().openFile(path);
        QCOMPARE(texts->size(), 1);
        QVERIFY2(texts->first().startsWith("このページは別のウィンドウで編集中です（" + owner),
                 qPrintable(texts->first()));
        QCOMPARE(editor().documentPath(), before);
        QVERIFY(!editor().DocumentHTML().contains("shared page"));

        texts = answerBoxes({QMessageBox::Open});
        window().openFile(path);
        QCOMPARE(editor().documentPath(), path);
        QVERIFY(guard().readOnly());
        QVERIFY(window().windowTitle().contains(QStringLiteral("読み取り専用")));
        QVERIFY(editor().pasteHTML(QStringLiteral("<B>mine</B>")));
        texts = save(path, {QMessageBox::Ok, QMessageBox::Ok});
        QCOMPARE(texts->size(), 2);
        QVERIFY(texts->at(1).contains(QStringLiteral("読み取り専用")));
        QVERIFY(texts->at(1).contains(QStringLiteral("別の名前")));
        QCOMPARE(readBytes(path), onDisk);

        // Saved under another name, the page is that file's, and holds it.
        const QString copy = m_dir.filePath(QStringLiteral("shared-copy.htm"));
        save(copy, {QMessageBox::Ok});
        QVERIFY(readBytes(copy).contains("mine"));
        QVERIFY(!guard().readOnly());
        QVERIFY(!window().windowTitle().contains(QStringLiteral("読み取り専用")));
        QCOMPARE(PageLock::read(PageLock::lockPathFor(copy))->pid,
                 QCoreApplication::applicationPid());

        // Opened despite the lock: editable, and the other window's lock stays its own.
        answerBoxes({QMessageBox::Ignore});
        window().openFile(path);
        QCOMPARE(editor().documentPath(), path);
        QVERIFY(!guard().readOnly());
        QVERIFY(!QFileInfo::exists(PageLock::lockPathFor(copy))); // given up on leaving it
        QVERIFY(!otherWindow.otherOwner(path));                   // still the other's

        // Saved onto a file another window holds: asked first, and キャンセル keeps it.
        const QString held = page(QStringLiteral("held.htm"), "<P>held elsewhere</P>");
        PageLock heldWindow;
        QCOMPARE(heldWindow.lock(held), PageLock::Outcome::Locked);
        texts = save(held, {QMessageBox::Ok, QMessageBox::Cancel});
        QCOMPARE(texts->size(), 2);
        QVERIFY2(texts->at(1).startsWith("このページは別のウィンドウで編集中です（" + owner),
                 qPrintable(texts->at(1)));
        QVERIFY(readBytes(held).contains("held elsewhere"));
        texts = save(held, {QMessageBox::Ok, QMessageBox::Save, QMessageBox::Ok});
        QCOMPARE(texts->size(), 3);
        QVERIFY(readBytes(held).contains("shared page"));
    }

    void anotherProgramsChangeIsAskedAboutOnceAndNeverOverwrittenUnasked()
    {
        const QString path = page(QStringLiteral("changed.htm"),
                                  "<html><body>\n<p id=a>first</p>\n<p id=b>second</p>\n"
                                  "</body></html>\n");
        window().openFile(path);
        QVERIFY(QFileInfo::exists(PageLock::lockPathFor(path)));
        QVERIFY(staysQuiet());
        const QByteArray theirs = "<html><body>\n<p id=a>first</p>\n<p>THEIRS</p>\n"
                                  "<p id=b>second</p>\n</body></html>\n";

        // Unedited: reload or keep, asked once for this change.
        auto texts = answerBoxes({QMessageBox::No});
        writeBytes(path, theirs);
        activate();
        QTRY_COMPARE(texts->size(), 1);
        QVERIFY(texts->first().startsWith(QStringLiteral(
            "ディスク上のファイルが他のプログラムで変更されました。読み込み直しますか？")));
        activate();
        QVERIFY(staysQuiet());
        QVERIFY(!editor().DocumentHTML().contains("THEIRS"));

        // Edited: the question names the danger; the save asks before it overwrites, and
        // what it writes is the page as loaded with the edit, never the other program's text.
        QVERIFY(selectIn(editor(), QStringLiteral("a"), 5, 5));
        QVERIFY(editor().pasteHTML(QStringLiteral(" more")));
        texts = answerBoxes({QMessageBox::No});
        writeBytes(path, theirs + "<!-- again -->\n");
        activate();
        QTRY_COMPARE(texts->size(), 1);
        QVERIFY(texts->first().contains(QStringLiteral("編集内容は失われます")));
        texts = save(path, {QMessageBox::Ok, QMessageBox::Cancel});
        QTRY_COMPARE(texts->size(), 2);
        QVERIFY(texts->at(1).contains(QStringLiteral("他のプログラムで変更")));
        QCOMPARE(readBytes(path), theirs + "<!-- again -->\n");
        texts = save(path, {QMessageBox::Ok, QMessageBox::Save, QMessageBox::Ok});
        QTRY_COMPARE(texts->size(), 3);
        const QByteArray saved = readBytes(path);
        QVERIFY2(!saved.contains("THEIRS") && !saved.contains("again") &&
                     saved.contains("first more") && saved.startsWith("<html><body>\n") &&
                     saved.endsWith("<p id=b>second</p>\n</body></html>\n"),
                 qPrintable(QString::fromUtf8(saved) + u'\n' + editor().keptMarkupFallback()));
        QVERIFY(!window().document().isModified());

        // はい reads the other program's page.
        texts = answerBoxes({QMessageBox::Yes});
        writeBytes(path, theirs);
        activate();
        QTRY_COMPARE(texts->size(), 1);
        QTRY_VERIFY(editor().DocumentHTML().contains("THEIRS"));
        QCOMPARE(editor().documentPath(), path);
    }

    void aQuestionWaitsForTheDialogOpenBeforeIt()
    {
        const QString path = page(QStringLiteral("waiting.htm"), "<P>waits</P>");
        window().openFile(path);
        writeBytes(path, "<P>changed meanwhile</P>");
        QMessageBox open(QMessageBox::Information, QStringLiteral("open"), QStringLiteral("x"),
                         QMessageBox::Ok, &window());
        open.setWindowModality(Qt::ApplicationModal);
        open.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &open);
        activate();
        // No question comes over the open dialog for a while.
        QVERIFY(!test::waitFor([&] { return QApplication::activeModalWidget() != &open; }, 800));
        open.close();
        auto texts = answerBoxes({QMessageBox::No});
        QTRY_COMPARE(texts->size(), 1);
    }

    void aRemovedFileIsToldOnceAndASaveWritesItAnew()
    {
        const QString path = page(QStringLiteral("removed.htm"), "<P>gone soon</P>");
        window().openFile(path);
        auto texts = answerBoxes({QMessageBox::Ok});
        QVERIFY(QFile::remove(path));
        activate();
        QTRY_COMPARE(texts->size(), 1);
        QVERIFY(texts->first().contains(QStringLiteral("見つかりません")));
        activate();
        QVERIFY(staysQuiet());
        texts = save(path, {QMessageBox::Ok});
        QTRY_COMPARE(texts->size(), 1);
        QVERIFY(readBytes(path).contains("gone soon"));
    }

    void openingAPageClearsWhatAKilledSaveLeftBeside()
    {
        const QString host = QSysInfo::machineHostName();
        const QString dead = page(".~lumipage.999999.AbCdEf." + host + ".tmp", "half");
        const QString live = page(QStringLiteral(".~lumipage.%1.XyZ123.%2.tmp")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(host),
                                  "being written");
        const QString usersOwn = page(QStringLiteral("index.htm.backup"), "keep");
        window().openFile(page(QStringLiteral("beside.htm"), "<P>beside</P>"));
        QVERIFY(!QFileInfo::exists(dead));
        QVERIFY(QFileInfo::exists(live));
        QVERIFY(QFileInfo::exists(usersOwn));
        QFile::remove(live);
    }

    // Bytes no page should hold open, edit and save with what was not edited kept as it
    // was; a file that is no page at all is refused in words and the page open stays.
    void filesThatAreNoProperPagesOpenEditAndSave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // what the open says, if anything
        QTest::addColumn<QByteArray>("kept");
        QTest::newRow("nul bytes") << QByteArray("<html><body><p id=a>before\0after</p>\n"
                                                 "<p id=b>plain</p></body></html>\n",
                                                 60)
                                   << QString() << QByteArray("before\0after", 12);
        QTest::newRow("invalid Shift_JIS")
            << QByteArray("<html><head><meta charset=Shift_JIS></head><body>\n"
                          "<p id=a>\x93\xFA\x96\x7B\xFF\x81</p>\n<p id=b>plain</p></body></html>\n")
            << QStringLiteral("読めないバイト") << QByteArray("\x93\xFA\x96\x7B\xFF\x81");
    }

    void filesThatAreNoProperPagesOpenEditAndSave()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QByteArray, kept);
        const QString path =
            page(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_') + ".htm", bytes);
        auto texts = answerBoxes(message.isEmpty() ? QList<QMessageBox::StandardButton>()
                                                   : QList{QMessageBox::Ok});
        window().openFile(path);
        QCOMPARE(editor().documentPath(), path);
        if (!message.isEmpty()) {
            QTRY_COMPARE(texts->size(), 1);
            QVERIFY(texts->first().contains(message));
        }
        QVERIFY(selectIn(editor(), QStringLiteral("b"), 5, 5));
        QVERIFY(editor().pasteHTML(QStringLiteral(" edited")));
        texts = save(path, {QMessageBox::Ok, QMessageBox::Ok});
        QTRY_COMPARE(texts->size(), 2);
        QVERIFY2(readBytes(path).contains(kept), qPrintable(editor().keptMarkupFallback()));
        // Reopened, the bytes that cannot be read are still there and said again.
        texts = answerBoxes(message.isEmpty() ? QList<QMessageBox::StandardButton>()
                                              : QList{QMessageBox::Ok});
        window().openFile(path);
        QTRY_COMPARE(texts->size(), message.isEmpty() ? 0 : 1);
        QVERIFY(editor().DocumentHTML().contains("plain edited"));

        // A binary file named .htm is no page.
        const QString binary =
            page(QStringLiteral("picture.htm"),
                 QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + QByteArray(4096, '\0'));
        texts = answerBoxes({QMessageBox::Ok});
        window().openFile(binary);
        QTRY_COMPARE(texts->size(), 1);
        QVERIFY(texts->first().contains(QStringLiteral("HTMLファイルではありません")));
        QCOMPARE(editor().documentPath(), path);
    }
};

LUMIPAGE_TEST_MAIN(TestPageGuard)
#include "tst_pageguard.moc"
