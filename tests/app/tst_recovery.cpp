// A page survives an editor that dies: recovery copies, their owners, the offer at start.
#include "support/mainwindowfixture.h"
#include "support/testsupport.h"

#include "app/document.h"

#include "app/documentrecovery.h"
#include "document/recoveryfiles.h"
#include "platform/editing/pagekeeper.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <csignal>

using namespace lumipage;
using namespace lumipage::test;

class TestRecovery : public QObject
{
    Q_OBJECT

    QString recoveryFolder() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
               QStringLiteral("/recovery");
    }
    int copiesOnDisk() const
    {
        return QDir(recoveryFolder()).entryList({QStringLiteral("*.recovery")}, QDir::Files).size();
    }

private slots:
    void init() { QDir(recoveryFolder()).removeRecursively(); }

    void runningEditorsNeverTakeEachOthersCopies()
    {
        QTemporaryDir dir;
        RecoveryFiles first(dir.path());
        RecoveryFiles second(dir.path());
        QVERIFY(first.write(QStringLiteral("<P>first</P>"), QStringLiteral("/a/b.htm"), "EUC-JP"));
        QVERIFY(first.hasCopy());
        QVERIFY(second.takeOrphans().isEmpty());
        first.remove();
        QVERIFY(!first.hasCopy());
    }

    void aDeadEditorsCopyIsFoundOnce()
    {
        QTemporaryDir dir;
        {
            RecoveryFiles dead(dir.path());
            QVERIFY(
                dead.write(QStringLiteral("<P>kept</P>"), QStringLiteral("/a/b.htm"), "Shift_JIS"));
        }
        // A killed editor leaves its lock behind, naming a process that is gone.
        const QStringList copies =
            QDir(dir.path()).entryList({QStringLiteral("*.recovery")}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        const QString lock = dir.filePath(copies.first().chopped(9) + QStringLiteral(".lock"));
        writeBytes(lock, "999999\nlumipage\n" + QSysInfo::machineHostName().toUtf8() + "\n");

        RecoveryFiles next(dir.path());
        const QList<RecoveryFiles::Orphan> orphans = next.takeOrphans();
        QCOMPARE(orphans.size(), 1);
        QCOMPARE(orphans.first().html, QStringLiteral("<P>kept</P>"));
        QCOMPARE(orphans.first().path, QStringLiteral("/a/b.htm"));
        QCOMPARE(orphans.first().encoding, QByteArray("Shift_JIS"));
        QVERIFY(orphans.first().time.isValid());
        // While this editor holds it, a third one does not see it.
        RecoveryFiles third(dir.path());
        QVERIFY(third.takeOrphans().isEmpty());
        next.drop(orphans.first());
        QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*.recovery")}, QDir::Files).size(), 0);
    }

    void theNextStartOffersTheUnsavedPage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        writeBytes(path, "<HTML><BODY><P id=p>saved text</P></BODY></HTML>");

        MainWindowFixture dying;
        QVERIFY(dying.create());
        dying.editor().keeper().setIdleDelay(200);
        QVERIFY(loadAndWait(dying.editor(), path));
        QVERIFY(selectIn(dying.editor(), QStringLiteral("p"), 5, 5));
        QVERIFY(dying.editor().pasteHTML(QStringLiteral("<B>RESCUED</B>")));
        QTRY_VERIFY_WITH_TIMEOUT(dying.window->recovery().files().hasCopy(), 10000);
        dying.destroy(); // gone without closing, as a killed editor is
        QCOMPARE(copiesOnDisk(), 1);

        MainWindowFixture next;
        QVERIFY(next.create());
        auto texts = answerBoxes({QMessageBox::Yes});
        QSignalSpy complete(next.window->editor(), &EditingComponent::DocumentComplete);
        QVERIFY(next.window->recovery().offerOrphans());
        QVERIFY(complete.wait(20000));
        QCOMPARE(texts->size(), 1);
        QVERIFY(texts->first().startsWith(
            QStringLiteral("前回保存されなかった編集内容があります。復元しますか？")));
        QVERIFY(texts->first().contains(QLatin1String("page.htm")));
        const QString html = next.editor().DocumentHTML();
        QVERIFY(html.contains(QLatin1String("<B>RESCUED</B>")));
        QCOMPARE(next.editor().documentPath(), QFileInfo(path).absoluteFilePath());
        QVERIFY(next.window->document().snapshot() != html); // a changed page, not a saved one
        QTRY_COMPARE(copiesOnDisk(), 1);            // now the copy of this editor
        QVERIFY(next.window->recovery().files().hasCopy());

        // Declined at the following start, the copy goes.
        next.destroy();
        MainWindowFixture third;
        QVERIFY(third.create());
        auto declined = answerBoxes({QMessageBox::No});
        QVERIFY(!third.window->recovery().offerOrphans());
        QCOMPARE(declined->size(), 1);
        QCOMPARE(copiesOnDisk(), 0);
        QVERIFY(third.editor().DocumentHTML().contains(QLatin1String("<BODY></BODY>")));
        third.destroy();
    }

    void browsingKeepsTheCopyOfAnUnsavedPage()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.create());
        fixture.editor().keeper().setIdleDelay(200);
        QVERIFY(fixture.setPage(QStringLiteral("<P id=p>text</P>")));
        QVERIFY(selectIn(fixture.editor(), QStringLiteral("p"), 4, 4));
        QVERIFY(fixture.editor().pasteHTML(QStringLiteral("<B>unsaved</B>")));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.window->recovery().files().hasCopy(), 10000);
        fixture.editor().setBrowseMode(true);
        fixture.editor().setBrowseMode(false);
        QVERIFY(waitForComplete(fixture.editor()));
        QVERIFY(fixture.window->recovery().files().hasCopy());
        fixture.destroy();
    }

    void theUserLearnsWhenThePageWasBroughtBack()
    {
        MainWindowFixture fixture;
        QVERIFY(fixture.create());
        QVERIFY(fixture.setPage(QStringLiteral("<P>alive</P>")));
        auto texts = answerBoxes({QMessageBox::Ok});
        QWebEngineView *view = fixture.editor().findChild<QWebEngineView *>();
        QVERIFY(view && view->page()->renderProcessPid() > 0);
        QVERIFY(::kill(pid_t(view->page()->renderProcessPid()), SIGKILL) == 0);
        QTRY_COMPARE_WITH_TIMEOUT(texts->size(), 1, 20000);
        QVERIFY(texts->first().startsWith(QStringLiteral("表示エンジンが停止したため")));
        QVERIFY(fixture.editor().DocumentHTML().contains(QLatin1String("alive")));
        fixture.destroy();
    }
};

LUMIPAGE_TEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
