// Effects in browse mode, end to end through the editing component: the effect plays
// in the browsing view, and the document the user edits and saves never changes.
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

private slots:
    void initTestCase() { m_editor = shownEditor(); }
    void cleanupTestCase() { m_editor.reset(); }

    void revealOnLoadPlaysAndSavingAfterBrowsingIsByteIdentical()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        QVERIFY(QFile::copy(dataFile(QStringLiteral("effects/onload.htm")), page));
        QVERIFY(loadAndWait(*m_editor, page));
        QVERIFY(m_editor->SaveDocument(dir.filePath(QStringLiteral("before.htm"))));

        m_editor->setBrowseMode(true);
        QElapsedTimer clock;
        clock.start();
        // The box starts hidden, changes within the effect's time and ends fully shown.
        auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; };
        QTRY_VERIFY_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor), QStringLiteral("document.readyState")) ==
                QStringLiteral("complete"),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(100, 50)), 2500);
        QVERIFY2(!red(browsePixel(3, 3)) || clock.elapsed() > 1500,
                 "the corner shows before the centre");
        QTRY_VERIFY_WITH_TIMEOUT(red(browsePixel(3, 3)) && red(browsePixel(196, 96)), 5000);
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

    void pageWithoutEffectsGetsNoRuntime()
    {
        QVERIFY(setBody(*m_editor, QStringLiteral("<P id=p>plain</P>")));
        m_editor->setBrowseMode(true);
        QTRY_COMPARE_WITH_TIMEOUT(
            evalInPage(browseView(*m_editor), QStringLiteral("document.readyState")),
            QVariant(QStringLiteral("complete")), 10000);
        QCOMPARE(evalInPage(browseView(*m_editor), QStringLiteral("typeof window.__lumipageVbs")),
                 QVariant(QStringLiteral("undefined")));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectsBrowse)
#include "tst_effectsbrowse.moc"
