// The page as a file, without a display: what a save and an open rely on below the engine.
#include "document/atomicfile.h"
#include "document/pagefile.h"
#include "document/pagelock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lumipage;

class TestDocumentFiles : public QObject
{
    Q_OBJECT

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void aPageComesBackInItsOwnEncoding()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sjis.htm"));
        const QString html = QStringLiteral("<META charset=Shift_JIS><P>日本語と ①</P>");
        QString error;
        QVERIFY2(pagefile::write(path, html, "Shift_JIS", &error), qPrintable(error));
        pagefile::Page page;
        QVERIFY2(pagefile::read(path, &page, &error), qPrintable(error));
        QCOMPARE(page.text, html);
        QCOMPARE(page.bytes, bytesOf(path));
        QVERIFY(!page.bytes.contains("日本語")); // not UTF-8 on the disk
    }

    void aFailedWriteLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(atomicfile::write(path, "old").ok);
        // A folder where the file should be: nothing can be renamed over it.
        const QString folder = dir.filePath(QStringLiteral("folder.htm"));
        QVERIFY(QDir().mkdir(folder));
        QString error;
        QVERIFY(!pagefile::writeBytes(folder, "new", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(bytesOf(path), QByteArray("old"));
        // A write begun and dropped never touches its target nor leaves a file behind.
        {
            atomicfile::Pending pending = atomicfile::begin(path, "dropped");
            QVERIFY(pending.begun().ok);
        }
        QCOMPARE(bytesOf(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("page.htm")});
    }

    void aSecondLockSeesTheFirstAndAStaleOneIsTakenOver()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        PageLock first, second;
        QCOMPARE(first.lock(page), PageLock::Outcome::Locked);
        QVERIFY(!first.otherOwner(page));
        const std::optional<PageLock::Owner> owner = second.otherOwner(page);
        QVERIFY(owner);
        QCOMPARE(owner->pid, QCoreApplication::applicationPid());
        first.unlock();
        QVERIFY(!second.otherOwner(page));
        // A lock left by a process that no longer runs.
        QFile stale(PageLock::lockPathFor(page));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999999\nlumipage\n" + QSysInfo::machineHostName().toUtf8() +
                    "\nsomeone\n2020-01-01T00:00:00\n");
        stale.close();
        QVERIFY(!second.otherOwner(page));
        QCOMPARE(second.lock(page), PageLock::Outcome::Locked);
    }
};

QTEST_GUILESS_MAIN(TestDocumentFiles)
#include "tst_documentfiles.moc"
