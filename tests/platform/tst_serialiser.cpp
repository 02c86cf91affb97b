// DocumentHTML through the real engine: the pinned outputs of the corpus, fixed points,
// and the pages where the engine keeps content that a naive writer would lose.
#include "serialisercorpus.h"
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace lumipage;
using namespace lumipage::test;

class TestSerialiser : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;

    bool open(const CorpusPage &page)
    {
        return page.file.isEmpty() ? setHtmlAndWait(*m_editor, page.html)
                                   : loadAndWait(*m_editor, dataFile(page.file));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_editor = shownEditor();
    }
    void cleanupTestCase() { m_editor.reset(); }

    void corpusGivesThePinnedOutputAndIsAFixedPoint()
    {
        const QString oraclePath = dataFile(QStringLiteral("serialiser/oracle.json"));
        const QJsonObject oracle = QJsonDocument::fromJson(readBytes(oraclePath)).object();
        QVERIFY2(!oracle.isEmpty(), qPrintable(oraclePath));
        for (const CorpusPage &page : serialiserCorpus()) {
            QVERIFY2(open(page), qPrintable(page.name));
            const QString html = m_editor->DocumentHTML();
            QVERIFY2(!html.isEmpty(), qPrintable(page.name));
            QCOMPARE(html, oracle.value(page.name).toString());
            QVERIFY(setHtmlAndWait(*m_editor, html));
            QCOMPARE(m_editor->DocumentHTML(), html);
        }
    }
};

LUMIPAGE_TEST_MAIN(TestSerialiser)
#include "tst_serialiser.moc"
