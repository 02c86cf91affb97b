// Effects in browse mode, end to end through the editing component: the effect plays
// in the browsing view, on time, and the document the user edits and saves never changes.
// The program runs alone (its checks time what the view shows); what needs no timing is
// in tst_effectsexport.
#include "platform/editing/webengineeditingcomponent.h"
#include "support/testsupport.h"

#include <QElapsedTimer>
#include <QFile>
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
};

LUMIPAGE_TEST_MAIN(TestEffectsBrowse)
#include "tst_effectsbrowse.moc"
