// The security regression suite: a page run in browse mode reaches nothing outside its
// own folder and nothing of the user's machine; the same page while editing runs nothing.
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestBrowseSecurity : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;
    QString m_page;

    // What the page's attempts have come to so far, and whether all have ended.
    QJsonObject browseResults(bool *allEnded)
    {
        const QString json = evalInPage(browseView(*m_editor),
                                        QStringLiteral("JSON.stringify({pending: window.pending, "
                                                       "results: window.results || {}})"))
                                 .toString();
        const QJsonObject answer = QJsonDocument::fromJson(json.toUtf8()).object();
        *allEnded = answer.contains(QLatin1String("pending")) &&
                    answer.value(QLatin1String("pending")).toInt() == 0;
        return answer.value(QLatin1String("results")).toObject();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The page's folder is site/; beside it lie files the page must not reach.
        QDir root(m_dir.path());
        QVERIFY(root.mkdir(QStringLiteral("site")));
        for (const char *name : {"hostile.htm", "frame.htm", "pic.svg"})
            QVERIFY(QFile::copy(dataFile(QStringLiteral("hostile/") + QLatin1String(name)),
                                root.filePath(QStringLiteral("site/") + QLatin1String(name))));
        writeBytes(root.filePath(QStringLiteral("secret.txt")), "SECRET-OUTSIDE-THE-FOLDER");
        for (const char *name : {"outside.svg", "unnamed.svg"})
            QVERIFY(QFile::copy(dataFile(QStringLiteral("hostile/pic.svg")),
                                root.filePath(QLatin1String(name))));
        // A link inside the folder that leads out of it.
        QVERIFY(QFile::link(root.filePath(QStringLiteral("secret.txt")),
                            root.filePath(QStringLiteral("site/link-out.txt"))));
        m_page = root.filePath(QStringLiteral("site/hostile.htm"));
        QGuiApplication::clipboard()->setText(QStringLiteral("CLIPBOARD-SECRET"));
        m_editor = shownEditor();
    }
    void cleanupTestCase() { m_editor.reset(); }

    void theEditPageRunsNothing()
    {
        QVERIFY(loadAndWait(*m_editor, m_page));
        const QString html = m_editor->DocumentHTML();
        QVERIFY(html.contains(QLatin1String("<P id=p>")));
        QVERIFY(!html.contains(QLatin1String(" data-ran=")));
        QVERIFY(!html.contains(QLatin1String("<A href=")));
    }

    void browseModeRefusesEveryWayOutAndLoadsWhatThePageNames()
    {
        QVERIFY(loadAndWait(*m_editor, m_page));
        const QString before = m_editor->DocumentHTML();
        m_editor->setBrowseMode(true);
        QVERIFY(m_editor->BrowseMode());
        QWebEngineView *view = browseView(*m_editor);
        QVERIFY(view);
        QSignalSpy downloads(view->page()->profile(), &QWebEngineProfile::downloadRequested);

        // An attempt still waiting after the timeout counts as failed to be refused (its
        // check below names it), so the wait's own outcome is not needed.
        QJsonObject results;
        [[maybe_unused]] const bool allEnded = test::waitFor(
            [&] {
                bool allEnded = false;
                results = browseResults(&allEnded);
                return allEnded;
            },
            15000);
        const QStringList attempts = {
            "fetchFile",       "xhrFile",          "fetchSecretFile",
            "fetchParent",     "xhrParent",        "fetchOwnSchemeOutside",
            "fetchEditScheme", "fetchFilesHost",   "xhrFilesHost",
            "fetchLinkOut",    "readOutsideImage", "readOutsideFrame",
            "fetchQrc",        "xhrQrc",           "clipboardRead",
            "paste",           "geolocation",      "notification",
            "windowOpen",      "download"};
        for (const QString &name : attempts)
            QVERIFY2(results.value(name).toString() == QLatin1String("blocked"),
                     qPrintable(name + QLatin1String(": ") +
                                results.value(name).toString(QStringLiteral("no answer"))));

        // A download the page starts is cancelled before anything is written.
        if (!downloads.isEmpty()) {
            auto *download = downloads.first().first().value<QWebEngineDownloadRequest *>();
            QTRY_VERIFY(download->state() == QWebEngineDownloadRequest::DownloadCancelled);
        }
        // No object of ours is visible to the page's scripts.
        QCOMPARE(evalInPage(view, QStringLiteral("typeof qt + ',' + typeof QWebChannel")),
                 QVariant(QStringLiteral("undefined,undefined")));

        // The same browsed copy (each start of browse mode costs a renderer of its own):
        // an image and a frame from the page's folder load, and so do images outside it,
        // by "../" and by absolute path, as in a browser opening the saved page.
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(view, QStringLiteral("document.getElementById('own').complete && "
                                            "document.getElementById('own').naturalWidth")),
            QVariant(20), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(view, QStringLiteral("(function(){var d=document.getElementById('frame')"
                                            ".contentDocument; var f=d && d.getElementById('f');"
                                            "return f ? f.textContent : '';})()")),
            QVariant(QStringLiteral("FRAME OK")), 10000);
        evalInPage(view, QStringLiteral("var i = new Image(); i.id = 'absolute';"
                                        "i.src = location.pathname.replace(/\\/[^\\/]*\\/[^\\/]*$/,"
                                        " '/outside.svg'); document.body.appendChild(i); i.src"));
        for (const char *id : {"outside", "absolute"})
            QTRY_COMPARE_WITH_TIMEOUT(
                evalInPage(view, QStringLiteral("document.getElementById('%1').complete && "
                                                "document.getElementById('%1').naturalWidth")
                                     .arg(QLatin1String(id))),
                QVariant(20), 10000);

        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }
};

LUMIPAGE_TEST_MAIN(TestBrowseSecurity)
#include "tst_browsesecurity.moc"
