// Nothing lost when the engine's process dies, and no page traps the user in boxes.
#include "support/testsupport.h"

#include "platform/editing/pagekeeper.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <csignal>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

// Kills the engine process behind `view` the way a crash or the system would.
bool killRenderer(QWebEngineView *view)
{
    const qint64 pid = view ? view->page()->renderProcessPid() : 0;
    return pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0;
}

struct SeenBox {
    QString title;
    bool offersStop = false;
};

// Answers the page boxes that come, OK each; the box at `stopAt` (1-based) is told to
// stop the page's boxes.
void answerPageBoxes(std::shared_ptr<QList<SeenBox>> seen, int stopAt)
{
    answerNextModal([seen, stopAt](QWidget *w) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || dialog->objectName() != QLatin1String("pageDialog")) {
            w->close();
            return;
        }
        auto *stop = dialog->findChild<QCheckBox *>(QStringLiteral("stopDialogs"));
        seen->append({dialog->windowTitle(), stop != nullptr});
        if (stop && seen->size() == stopAt)
            stop->setChecked(true);
        else
            answerPageBoxes(seen, stopAt);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
}

} // namespace

class TestEditingRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;

    QWebEngineView *editView() const
    {
        return m_editor->findChild<QWebEngineView *>(QString(), Qt::FindDirectChildrenOnly);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_editor = shownEditor();
    }
    void cleanupTestCase() { m_editor.reset(); }

    void aChangedPageIsCopiedOnceItSettles()
    {
        m_editor->keeper().setIdleDelay(300);
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>start</P>")));
        QSignalSpy copies(m_editor.get(), &EditingComponent::pageCopied);
        QVERIFY(!copies.wait(800)); // an unchanged page is not read again
        QVERIFY(selectIn(*m_editor, QStringLiteral("p"), 5, 5));
        for (const char *word : {"<B>one</B>", "<I>two</I>", "<U>three</U>"})
            QVERIFY(m_editor->pasteHTML(QLatin1String(word)));
        QVERIFY(copies.wait(5000));
        QCOMPARE(copies.count(), 1); // one copy for the burst, not one per change
        QVERIFY(copies.first().first().toString().contains(QLatin1String("<U>three</U>")));
        QVERIFY(!m_editor->keeper().changedSinceCopy());
    }

    void aSavedPageIsNotReadAgainForItsCopy()
    {
        // Saved within the quiet time after a change: the save's bytes are the copy, and
        // no second reading of the whole page follows the save.
        m_editor->keeper().setIdleDelay(300);
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>start</P>")));
        QVERIFY(selectIn(*m_editor, QStringLiteral("p"), 5, 5));
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<B>saved</B>")));
        QTRY_VERIFY(m_editor->keeper().changedSinceCopy());
        QVERIFY(m_editor->keeper().copyPending());
        const QString path = m_dir.filePath(QStringLiteral("saved.htm"));
        QVERIFY(m_editor->SaveDocument(path));
        QVERIFY(!m_editor->keeper().copyPending()); // no copy will follow the save
        QVERIFY(!m_editor->keeper().changedSinceCopy());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(m_editor->keeper().copy(), QString::fromUtf8(file.readAll()));
        QVERIFY(m_editor->keeper().copy().contains(QLatin1String("<B>saved</B>")));
    }

    void aDeadPageComesBackFromItsCopy()
    {
        const QString path = m_dir.filePath(QStringLiteral("sjis.htm"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("sjis.htm")), path));
        QVERIFY(loadAndWait(*m_editor, path));
        const QByteArray encoding = m_editor->documentEncoding();
        QVERIFY(encoding != "UTF-8");

        m_editor->keeper().setIdleDelay(200);
        QSignalSpy copies(m_editor.get(), &EditingComponent::pageCopied);
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<P id=kept>KEPT</P>")));
        QVERIFY(copies.wait(5000));
        m_editor->keeper().setIdleDelay(60000); // the next change is not copied in time
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<P id=lost>LOST</P>")));

        QSignalSpy recovered(m_editor.get(), &EditingComponent::pageRecovered);
        QSignalSpy completes(m_editor.get(), &EditingComponent::DocumentComplete);
        QVERIFY(killRenderer(editView()));
        // A call made on the dying page does not wait out its timeout: it fails when the
        // death is seen, or answers from the page brought back.
        m_editor->setCallTimeout(60000);
        QElapsedTimer clock;
        clock.start();
        m_editor->DocumentHTML();
        QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
        m_editor->setCallTimeout(15000);

        QVERIFY(recovered.count() == 1 || recovered.wait(20000));
        QVERIFY(recovered.first().first().toString().contains(
            QStringLiteral("秒前の状態から復元しました。")));
        QCOMPARE(completes.count(), 0); // the same page goes on: no new page begins
        const QString html = m_editor->DocumentHTML();
        QVERIFY(html.contains(QLatin1String("KEPT")));
        QVERIFY(!html.contains(QLatin1String("LOST")));
        QCOMPARE(m_editor->documentPath(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(m_editor->documentEncoding(), encoding);
        // The new process edits as the old one did.
        QVERIFY(m_editor->pasteHTML(QStringLiteral("<P>again</P>")));
        QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("again")));
    }

    void aDeadBrowsedCopyReturnsToTheIntactPage()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>browsed</P>")));
        const QString before = m_editor->DocumentHTML();
        m_editor->setBrowseMode(true);
        QWebEngineView *view = browseView(*m_editor);
        QVERIFY(view);
        QTRY_VERIFY(view->page()->renderProcessPid() > 0);
        QSignalSpy recovered(m_editor.get(), &EditingComponent::pageRecovered);
        QVERIFY(killRenderer(view));
        QVERIFY(recovered.wait(20000));
        QVERIFY(!m_editor->BrowseMode());
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void aFolderIsRefusedWithAReason()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P>stays</P>")));
        QVERIFY(!m_editor->LoadDocument(m_dir.path()));
        QVERIFY(m_editor->lastError().contains(QStringLiteral("はフォルダです")));
        QVERIFY(bodyOf(*m_editor).contains(QLatin1String("stays")));
    }

    void aPageCannotTrapTheUserInBoxes()
    {
        const QString path = m_dir.filePath(QStringLiteral("loop.htm"));
        writeBytes(path, "<HTML><BODY><P id=p>loop</P><SCRIPT>"
                         "var n = 0; while (n < 50) { alert('box ' + n); n++; }"
                         "var c = confirm('sure?'); var p = prompt('name', 'x');"
                         "document.title = 'done ' + n + ' ' + c + ' ' + p;"
                         "</SCRIPT></BODY></HTML>");
        QVERIFY(loadAndWait(*m_editor, path));
        auto seen = std::make_shared<QList<SeenBox>>();
        answerPageBoxes(seen, 3);
        m_editor->setBrowseMode(true);
        QWebEngineView *view = browseView(*m_editor);
        QVERIFY(view);
        QTRY_COMPARE_WITH_TIMEOUT(view->page()->title(), QStringLiteral("done 50 false null"),
                                  20000);
        QCOMPARE(seen->size(), 3);
        for (const SeenBox &box : *seen) {
            QCOMPARE(box.title, QStringLiteral("loop.htm からのメッセージ"));
        }
        QCOMPARE(seen->at(0).offersStop, false);
        QCOMPARE(seen->at(1).offersStop, false);
        QCOMPARE(seen->at(2).offersStop, true);
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }
};

LUMIPAGE_TEST_MAIN(TestEditingRecovery)
#include "tst_editingrecovery.moc"
