// The page as a file, without a display: what a save and an open rely on below the engine.
#include "document/atomicfile.h"
#include "document/pagedocument.h"
#include "document/pagefile.h"
#include "document/pagelock.h"
#include "platform/markup/sourcetree.h"
#include "platform/markup/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace lumipage;

namespace
{
// A page that answers the document as an editing view would: what changed, and its own
// markup of the changed stretches.
class AnsweringPage : public PageSource
{
public:
    std::optional<PageChanges> changes;
    QStringList stretches;
    int stretchesAsked = 0;

    std::optional<PageChanges> pageChanges(bool, QString *why) override
    {
        if (!changes)
            *why = QStringLiteral("the page did not answer");
        return changes;
    }
    std::optional<QStringList> stretchMarkup(const std::vector<MarkupRegion> &, QString *) override
    {
        ++stretchesAsked;
        return stretches;
    }
};

// The page as the editing view hands it to a save: `text` in DocumentHTML's form.
PageSnapshot snapshotOf(const QString &text)
{
    const QString html = SourceTree(sourcemap::SourceText{{}, text.toUtf8(), {}}).documentHtml();
    return {QtFuture::makeReadyFuture(html), html, {}, std::nullopt};
}
} // namespace

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

    // The document, not the view, writes the page: only the edited element anew, in the
    // file's own encoding and line ends; what would read otherwise than the page is never
    // written; a failed save leaves the document what it was.
    void aSaveWritesOnlyWhatChangedAndNothingThatReadsOtherwise()
    {
        QTemporaryDir dir;
        const QString original =
            QStringLiteral("<HTML>\r\n<HEAD><TITLE>日記</TITLE></HEAD>\r\n<BODY BGCOLOR=white>"
                           "\r\n<P>今日は晴れ①</P>\r\n<P ALIGN=center>明日は雨</P>\r\n</BODY>"
                           "\r\n</HTML>\r\n");
        const QString path = dir.filePath(QStringLiteral("diary.htm"));
        QString error;
        QVERIFY(pagefile::writeBytes(path, textcodec::encode(original, "Shift_JIS"), &error));
        PageDocument document;
        pagefile::Page page;
        QVERIFY2(document.open(path, &page, &error), qPrintable(error));
        const QByteArray encoding = document.encoding(); // the detected Shift_JIS family
        QVERIFY(!bytesOf(path).contains("日記"));
        QVERIFY(document.wantsChanges());

        // 0 html, 1 head, 2 title, 3 body, 4 p, 5 p: the second paragraph's text changed.
        QString edited = original;
        edited.replace(QStringLiteral("明日は雨"), QStringLiteral("明日は雪"));
        AnsweringPage view;
        view.changes = PageChanges{false, {{5, false, true}}, 0, {}};
        view.stretches = {QStringLiteral("明日は雪")};
        const QString saved = dir.filePath(QStringLiteral("saved.htm"));
        QByteArray written;
        QVERIFY2(document.save(saved, snapshotOf(edited), view, &written, &error),
                 qPrintable(error));
        QCOMPARE(bytesOf(saved), textcodec::encode(edited, encoding));
        QCOMPARE(written, bytesOf(saved));
        QCOMPARE(document.keptFallback(), QString());
        QCOMPARE(document.path(), QFileInfo(saved).absoluteFilePath());

        // The page's markup of the change does not read back as the page: written whole.
        view.stretches = {QStringLiteral("明日は")};
        QVERIFY(document.save(saved, snapshotOf(edited), view, &written, &error));
        QVERIFY(!document.keptFallback().isEmpty());
        QCOMPARE(bytesOf(saved), textcodec::encode(snapshotOf(edited).html(), encoding));

        // A save that cannot be written: the old file whole, the document still that file.
        QVERIFY(!document.save(dir.filePath(QStringLiteral("no/such/folder.htm")),
                               snapshotOf(edited), view, &written, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(document.path(), QFileInfo(saved).absoluteFilePath());
        // A copy never goes over the page's own file.
        QVERIFY(!document.writeCopy(saved, edited, &error));
        QVERIFY(error.contains(QStringLiteral("別の名前")));
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
