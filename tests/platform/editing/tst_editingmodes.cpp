// Edit and browse modes, focus and the context menu, in the real engine.
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QElapsedTimer>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestEditingModes : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_owner;
    WebEngineEditingComponent *m_editor = nullptr;

    QVariant evalInBrowsePage(const QString &script)
    {
        return evalInPage(browseView(*m_editor), script);
    }

private slots:
    void initTestCase()
    {
        m_owner = shownEditor();
        m_editor = m_owner.get();
    }
    void cleanupTestCase() { m_owner.reset(); }

    void pageScriptsNeverRunWhileEditing()
    {
        QVERIFY(setHtmlAndWait(
            *m_editor,
            QStringLiteral(
                "<HTML><BODY onload=\"document.body.setAttribute('data-ran','onload')\">"
                "<P id=p>text</P><SCRIPT>document.title='script ran';"
                "document.getElementById('p').textContent='changed';</SCRIPT></BODY></HTML>")));
        const QString html = m_editor->DocumentHTML();
        QVERIFY(html.contains(QLatin1String("<P id=p>text</P>")));
        QVERIFY(!html.contains(QLatin1String(" data-ran=")));
        QVERIFY(!html.contains(QLatin1String("script ran</TITLE>")));
    }

    // One browsed copy for both (each start of browse mode costs a renderer of its own):
    // the page's scripts run there, links and jumps never leave it, and nothing done
    // there reaches the document.
    void browseModeRunsScriptsStaysOnThePageAndLeaksNothingBack()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("page.htm"),
                   "<HTML><HEAD></HEAD><BODY><A id=a href=\"other.htm\">go</A><P id=p>text</P>"
                   "<SCRIPT>document.getElementById('p').textContent='changed by script';"
                   "</SCRIPT></BODY></HTML>");
        writeBytes(dir.filePath("other.htm"), "<HTML><BODY><P id=p>other</P></BODY></HTML>");
        QVERIFY(loadAndWait(*m_editor, dir.filePath("page.htm")));
        const QString before = m_editor->DocumentHTML();
        QSignalSpy links(m_editor, &EditingComponent::linkActivated);

        m_editor->setBrowseMode(true);
        QVERIFY(m_editor->BrowseMode());
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInBrowsePage(QStringLiteral("document.getElementById('p') && "
                                            "document.getElementById('p').textContent"))
                .toString(),
            QStringLiteral("changed by script"), 10000);
        QCOMPARE(m_editor->QueryStatus(decmd::BOLD), CommandStatus::NotAvailable);
        QVERIFY(!m_editor->pasteHTML(QStringLiteral("<B>x</B>")));
        QVERIFY(!m_editor->lastError().isEmpty());

        evalInBrowsePage(QStringLiteral("document.getElementById('a').click(); true"));
        QTRY_COMPARE_WITH_TIMEOUT(links.count(), 1, 5000);
        QVERIFY(links.first().first().toUrl().path().endsWith(QLatin1String("other.htm")));
        // A script's jump is refused too: the engine reports a load of the other page that
        // starts and is stopped.
        QList<QWebEngineLoadingInfo::LoadStatus> jumps;
        QObject scope; // the record goes with this test, whatever happens
        connect(browseView(*m_editor)->page(), &QWebEnginePage::loadingChanged, &scope,
                [&jumps](const QWebEngineLoadingInfo &info) {
                    if (info.url().path().endsWith(QLatin1String("other.htm")))
                        jumps << info.status();
                });
        evalInBrowsePage(QStringLiteral("location.href = 'other.htm'; true"));
        QTRY_VERIFY(jumps.contains(QWebEngineLoadingInfo::LoadStartedStatus) &&
                    jumps.last() != QWebEngineLoadingInfo::LoadStartedStatus);
        QCOMPARE(jumps.last(), QWebEngineLoadingInfo::LoadStoppedStatus);
        QCOMPARE(
            evalInBrowsePage(QStringLiteral("document.getElementById('p').textContent")).toString(),
            QStringLiteral("changed by script"));

        QSignalSpy complete(m_editor, &EditingComponent::DocumentComplete);
        m_editor->setBrowseMode(false);
        QVERIFY(complete.wait(5000));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void aLoopingPageDoesNotFreezeTheEditor()
    {
        QVERIFY(setHtmlAndWait(
            *m_editor,
            QStringLiteral("<HTML><BODY><P id=p>loop</P><SCRIPT>document.title = 'looping';"
                           "setTimeout(function(){ for(;;){} }, 10);</SCRIPT></BODY></HTML>")));
        m_editor->setCallTimeout(3000);
        m_editor->setBrowseMode(true);
        // The page has begun its loop once it has run and answers no more.
        QWebEngineView *view = browseView(*m_editor);
        QVERIFY(view);
        QTRY_VERIFY_WITH_TIMEOUT(view->page()->title() == QLatin1String("looping") &&
                                     !evalInPage(view, QStringLiteral("1"), 300).isValid(),
                                 10000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(m_editor->DocumentHTML().contains(QLatin1String("<P id=p>loop</P>")));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        QVERIFY(m_editor->ExecCommand(decmd::SELECTALL, CommandOption::Prompt));
        QVERIFY2(timer.elapsed() < 8000, qPrintable(QString::number(timer.elapsed())));
        m_editor->setCallTimeout(15000);
    }

    void rightClickIsHandedToTheProgram()
    {
        QVERIFY(setHtmlAndWait(*m_editor, QStringLiteral("<HTML><BODY><P>menu</P></BODY></HTML>")));
        QSignalSpy asked(m_editor, &EditingComponent::contextMenuRequested);
        auto *view = m_editor->findChild<QWebEngineView *>();
        emit view->customContextMenuRequested(QPoint(20, 20));
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(asked.first().first().toPoint(), view->mapToGlobal(QPoint(20, 20)));
        QVERIFY(!QApplication::activePopupWidget()); // the component shows no menu itself
    }
};

LUMIPAGE_TEST_MAIN(TestEditingModes)
#include "tst_editingmodes.moc"
