// The live preview of the effect dialogs: it follows the fields after a pause in
// typing, plays the merged script, and runs confined like browse mode.
#include "support/dialogdriver.h"
#include "support/testsupport.h"

#include "dialogs/effects/shadowtextdialog.h"
#include "insert/scriptmerge.h"
#include "widgets/effectpreview.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestEffectPreview : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static QString programFolder() { return QCoreApplication::applicationDirPath(); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void followsTheFieldsAfterAPauseAndPlaysTheScript()
    {
        ShadowTextDialog dialog(
            programFolder(), [] { return 7; }, nullptr);
        auto *preview = dialog.findChild<EffectPreview *>();
        QVERIFY(preview);
        QString problem;
        const auto text = readEffectTemplate(programFolder() + "/shadow.vbs", &problem);
        QVERIFY2(text, qPrintable(problem));
        QVERIFY(!preview->view()); // no engine view until the dialog opens with a page maker
        QSignalSpy shown(preview, &EffectPreview::pageShown);
        preview->setPageMaker(
            [text](const EffectRequest &r) {
                return effectPreviewPage(EffectKind::Wave, *text, r);
            },
            m_dir.filePath("page.htm"));
        DialogDriver driver(dialog);
        // The dialog previews its defaults at once.
        QCOMPARE(shown.size(), 1);
        QVERIFY(preview->view());
        QVERIFY(preview->shownPage().contains("<DIV ID=VELD7 ", Qt::CaseInsensitive));
        shown.clear();

        // Typing a colour letter by letter builds the page once, after the pause.
        auto *colour = dialog.findChild<QLineEdit *>("Text1");
        QVERIFY(colour);
        QTest::keyClicks(colour, "green");
        QCOMPARE(shown.size(), 0);
        QVERIFY(shown.wait(2000));
        QVERIFY(!shown.wait(EffectPreview::kPauseMs + 200)); // no second page follows
        QCOMPARE(shown.size(), 1);
        QVERIFY(preview->view());
        QVERIFY2(preview->shownPage().contains("Filter:Shadow(Color=green,Direction=10)"),
                 qPrintable(preview->shownPage()));
        QVERIFY(!preview->shownPage().contains("<SCRIPT"));
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(preview->view(), "document.getElementById('VELD7') !== null"),
            QVariant(true), 10000);

        // With the action, the merged script runs in the preview: the shadow turns.
        QVERIFY(driver.fill("Combo1", "あり"));
        QVERIFY(shown.wait(2000));
        // The choice enables fields whose own change may bring one more page.
        waitUntilQuiet(preview, &EffectPreview::pageShown, EffectPreview::kPauseMs + 200);
        QVERIFY(preview->shownPage().contains("ShadowBlockId = \"VELD7\""));
        QVERIFY(preview->shownPage().contains("</SCRIPT></DIV></BODY>"));
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(preview->view(),
                       "document.querySelector('script[data-lumipage-runtime]') !== null"),
            QVariant(true), 10000);
        const QImage before = preview->view()->grab().toImage();
        QTRY_VERIFY_WITH_TIMEOUT(preview->view()->grab().toImage() != before, 3000);

        // The dialog hands back what it always did.
        QVERIFY(driver.accept("Command3"));
        QVERIFY(dialog.request().fragment.contains("Filter:Shadow(Color=green,Direction=10)"));
    }

    void previewPageReadsNoFileOutsideItsFolder()
    {
        // The page's folder is site/; a secret and a picture lie beside it. The picture
        // shows, named by "../" and by absolute path; the secret is never read.
        QDir root(m_dir.path());
        QVERIFY(root.mkpath("site"));
        writeBytes(root.filePath("secret.txt"), "SECRET");
        QVERIFY(QFile::copy(dataFile("hostile/pic.svg"), root.filePath("pic.svg")));
        const QString secret = QUrl::fromLocalFile(root.filePath("secret.txt")).toString();
        const QString hostile =
            "<HTML><BODY><SCRIPT>window.results = {}; window.pending = 3;"
            "function note(k, v) { window.results[k] = v; window.pending--; }"
            "fetch('" +
            secret +
            "').then(r => r.text()).then(t => note('fetch', t),"
            " () => note('fetch', 'refused'));"
            "fetch('../secret.txt').then(r => r.ok ? r.text() : 'refused').then("
            " t => note('parent', t), () => note('parent', 'refused'));"
            "const x = new XMLHttpRequest(); x.onload = () => note('xhr', x.responseText);"
            "x.onerror = () => note('xhr', 'refused');"
            "try { x.open('GET', '/etc/hostname'.replace(/^/, 'file://')); x.send(); }"
            " catch (e) { note('xhr', 'refused'); }"
            "</SCRIPT><IMG id=up src=../pic.svg><IMG id=abs src=\"" +
            root.filePath("pic.svg") + "\"></BODY></HTML>";
        EffectPreview preview([] { return EffectRequest{}; }, nullptr);
        preview.resize(300, 150);
        preview.setPageMaker([hostile](const EffectRequest &) { return hostile; },
                             root.filePath("site/page.htm"));
        preview.show();
        QVERIFY(preview.view());
        QTRY_COMPARE_WITH_TIMEOUT(evalInPage(preview.view(), "window.pending"), QVariant(0), 10000);
        const QVariantMap results = evalInPage(preview.view(), "window.results").toMap();
        QCOMPARE(results.size(), 3);
        for (auto it = results.begin(); it != results.end(); ++it)
            QVERIFY2(it.value().toString() == "refused",
                     qPrintable(it.key() + ": " + it.value().toString()));
        for (const char *id : {"up", "abs"})
            QTRY_COMPARE_WITH_TIMEOUT(
                evalInPage(preview.view(), QStringLiteral("document.getElementById('%1')"
                                                          ".naturalWidth")
                                               .arg(QLatin1String(id))),
                QVariant(20), 10000);
    }
};

LUMIPAGE_TEST_MAIN(TestEffectPreview)
#include "tst_effectpreview.moc"
