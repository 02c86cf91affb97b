// Effects in browse mode, end to end through the editing component: the effect plays
// in the browsing view, and the document the user edits and saves never changes.
#include "platform/editing/webengineeditingcomponent.h"
#include "support/testsupport.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestEffectsBrowse : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;

    QRgb browsePixel(int x, int y)
    {
        QWebEngineView *view = browseView(*m_editor);
        return view ? view->grab().toImage().pixel(x, y) : 0;
    }

    // Enters browse mode on a page whose red 200 × 100 box is revealed from its centre on
    // load: the box starts hidden, changes within the effect's time and ends fully shown.
    void browseAndSeeTheReveal()
    {
        m_editor->setBrowseMode(true);
        QElapsedTimer clock;
        clock.start();
        auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        // The copy itself, not the view's first, empty document (complete at once): the
        // wait for the centre below is then the reveal's alone.
        QTRY_VERIFY_WITH_TIMEOUT(evalInPage(browseView(*m_editor),
                                            QStringLiteral("document.readyState == 'complete' && "
                                                           "!!document.getElementById('veld')")) ==
                                     QVariant(true),
                                 10000);
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(100, 50)), 2500);
        QVERIFY2(!red(browsePixel(3, 3)) || clock.elapsed() > 1500,
                 "the corner shows before the centre");
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(3, 3)) && red(browsePixel(196, 96)), 5000);
    }

    // Accepts the next `count` boxes the page shows, collecting their messages; anything
    // else that comes up is closed, so that the test fails instead of waiting.
    static void answerPageDialogs(int count, std::shared_ptr<QStringList> texts)
    {
        if (count == 0)
            return;
        answerNextModal([count, texts](QWidget *w) {
            auto *dialog = qobject_cast<QDialog *>(w);
            auto *buttons = w->findChild<QDialogButtonBox *>();
            if (!dialog || !buttons || w->objectName() != QLatin1String("pageDialog")) {
                w->close();
                return;
            }
            *texts << w->findChild<QLabel *>()->text();
            answerPageDialogs(count - 1, texts);
            buttons->button(QDialogButtonBox::Ok)->click();
        });
    }

private slots:
    void initTestCase()
    {
        m_editor = shownEditor();
        playEffects(*m_editor);
    }
    void cleanupTestCase() { m_editor.reset(); }

    void revealOnLoadPlaysAndSavingAfterBrowsingIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("effects/onload.htm")), page));
        QVERIFY(loadAndWait(*m_editor, page));
        QVERIFY(m_editor->SaveDocument(dir.filePath(QStringLiteral("before.htm"))));

        browseAndSeeTheReveal();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(evalInPage(browseView(*m_editor),
                            QStringLiteral("document.getElementById('veld').style.visibility")),
                 QVariant(QStringLiteral("visible")));

        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        QVERIFY(!m_editor->DocumentHTML().contains(QLatin1String("lumipage"), Qt::CaseInsensitive));
        QVERIFY(m_editor->SaveDocument(dir.filePath(QStringLiteral("after.htm"))));
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("after.htm"))),
                 readBytes(dir.filePath(QStringLiteral("before.htm"))));
    }

    void pageNamesCannotTurnTheRuntimeOff()
    {
        // The page's own script holds the names the runtime once kept on the window and
        // those translated scripts use; its procedures are called Apply and Play.
        QVERIFY(loadAndWait(*m_editor, dataFile(QStringLiteral("effects/shadowing.htm"))));
        browseAndSeeTheReveal();
        if (QTest::currentTestFailed())
            return;
        // The page's names are still its own.
        QCOMPARE(evalInPage(browseView(*m_editor),
                            QStringLiteral("[typeof __lumipageFilters.of, F, typeof $].join()")),
                 QVariant(QStringLiteral("undefined,page,function")));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }

    void exportedCopyPlaysInAPlainViewAndThePageStaysAsItWas()
    {
        // A page in Shift_JIS: the copy is written in the page's encoding.
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("sjis.htm"));
        QString html = QString::fromUtf8(readBytes(dataFile(QStringLiteral("effects/onload.htm"))));
        html.replace(
            QLatin1String("<HEAD>"),
            QLatin1String(
                "<HEAD><META http-equiv=Content-Type content=\"text/html; charset=Shift_JIS\">"));
        writeBytes(page, QStringEncoder("Shift_JIS").encode(html));
        QVERIFY(loadAndWait(*m_editor, page));
        const QByteArray original = readBytes(page);
        const QString copy = dir.filePath(QStringLiteral("modern.htm"));
        QVERIFY2(m_editor->SaveEffectsCopy(copy), qPrintable(m_editor->lastError()));
        // Over the page's own file: refused, the file untouched.
        QVERIFY(!m_editor->SaveEffectsCopy(page));
        QVERIFY(!m_editor->lastError().isEmpty());
        QCOMPARE(readBytes(page), original);
        QVERIFY(!m_editor->DocumentHTML().contains(QLatin1String("lumipage")));

        const QString written = QStringDecoder("Shift_JIS").decode(readBytes(copy));
        QVERIFY(written.contains(QStringLiteral("現れる文字")));
        QVERIFY(
            written.contains(QLatin1String("<SCRIPT TYPE=text/vbscript>")) ||
            written.contains(QLatin1String("<SCRIPT type=text/vbscript>"), Qt::CaseInsensitive));

        QWebEngineView view;
        view.resize(300, 200);
        view.show();
        view.load(QUrl::fromLocalFile(copy));
        auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        QTRY_VERIFY_WITH_TIMEOUT(red(view.grab().toImage().pixel(100, 50)), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(red(view.grab().toImage().pixel(3, 3)), 5000);
        // The browser found the page's encoding: the text reads as it was written.
        QCOMPARE(evalInPage(&view, QStringLiteral("document.getElementById('veld').textContent")),
                 QVariant(QStringLiteral("現れる文字")));
    }

    void timedEffectsKeepChangingTheirBoxes()
    {
        QVERIFY(loadAndWait(*m_editor, dataFile(QStringLiteral("effects/animations.htm"))));
        m_editor->setBrowseMode(true);
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor), QStringLiteral("document.readyState")),
            QVariant(QStringLiteral("complete")), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor),
                       QStringLiteral("typeof __lumipageEffects.vbs.globals.fade")) ==
                QStringLiteral("number"),
            5000);
        // Shadow turning, glow pulsing, alpha fading, wave moving: each box changes.
        const QList<QRect> boxes{
            {10, 10, 100, 60}, {150, 10, 100, 60}, {20, 100, 80, 40}, {150, 95, 100, 50}};
        const QImage first = browseView(*m_editor)->grab().toImage();
        for (const QRect &box : boxes)
            QTRY_VERIFY_WITH_TIMEOUT(
                browseView(*m_editor)->grab().toImage().copy(box) != first.copy(box), 2500);
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }

    void msgBoxShowsTheEnginesDialogs()
    {
        QVERIFY(setBody(*m_editor,
                        QStringLiteral("<DIV id=out>-</DIV><DIV><SCRIPT TYPE =text/vbscript>\r\n"
                                       "Sub window_onload()\r\n"
                                       "  MsgBox \"ようこそ\"\r\n"
                                       "  answer = MsgBox(\"続けますか？\", vbYesNo)\r\n"
                                       "  document.all.OUT.innerText = answer\r\n"
                                       "End Sub\r\n</SCRIPT></DIV>")));
        const QString before = m_editor->DocumentHTML();
        auto texts = std::make_shared<QStringList>();
        answerPageDialogs(2, texts);
        m_editor->setBrowseMode(true);
        QTRY_COMPARE_WITH_TIMEOUT(texts->size(), 2, 10000);
        QCOMPARE(*texts, (QStringList{QStringLiteral("ようこそ"), QStringLiteral("続けますか？")}));
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor),
                       QStringLiteral("document.getElementById('out').textContent")),
            QVariant(QStringLiteral("6")), 5000);
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        QCOMPARE(m_editor->DocumentHTML(), before);
    }

    void pageWithoutEffectsGetsNoRuntime()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>plain</P>")));
        m_editor->setBrowseMode(true);
        // The copy itself, not the view's first, empty document (complete at once).
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor), QStringLiteral("document.readyState == 'complete' && "
                                                             "!!document.getElementById('p')")),
            QVariant(true), 10000);
        QCOMPARE(
            evalInPage(browseView(*m_editor), QStringLiteral("typeof window.__lumipageEffects")),
            QVariant(QStringLiteral("undefined")));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsBrowse)
#include "tst_effectsbrowse.moc"
