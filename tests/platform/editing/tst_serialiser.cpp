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
using namespace Qt::StringLiterals;

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

    // Pages the engine reads with more in them than a writer that follows the old void
    // list, line endings or end tags would keep: what is written reads back the same.
    void contentTheEngineKeepsIsWritten_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("isindex holds what follows it")
            << u"<BODY><ISINDEX PROMPT=\"検索\">テキスト<B>太字</B></BODY>"_s
            << u"<HTML><HEAD></HEAD><BODY><ISINDEX prompt=検索>テキスト<B>太字</B></ISINDEX>"
               "</BODY></HTML>"_s;
        QTest::newRow("isindex in the head takes the body")
            << u"<HTML><HEAD><ISINDEX><TITLE>t</TITLE></HEAD><BODY><P>本文</P></BODY></HTML>"_s
            << u"<HTML><HEAD></HEAD><BODY><ISINDEX><TITLE>t</TITLE><P>本文</P></ISINDEX>"
               "</BODY></HTML>"_s;
        QTest::newRow("carriage returns as references")
            << u"<P title=\"a&#13;b\">一&#13;二\r\n三</P>"_s
            << u"<HTML><HEAD></HEAD><BODY><P title=\"a&#13;b\">一&#13;二\n三</P></BODY></HTML>"_s;
        QTest::newRow("nothing after plaintext")
            << u"<P>a</P><PLAINTEXT>x <b> &amp; </PLAINTEXT></BODY></HTML><!-- c -->"_s
            << u"<HTML><HEAD></HEAD><BODY><P>a</P><PLAINTEXT>x <b> &amp; </PLAINTEXT>"
               "</BODY></HTML><!-- c -->"_s;
    }
    void contentTheEngineKeepsIsWritten()
    {
        QFETCH(QString, page);
        QFETCH(QString, expected);
        QVERIFY(setHtmlAndWait(*m_editor, page));
        const QString html = m_editor->DocumentHTML();
        QCOMPARE(html, expected);
        QVERIFY(setHtmlAndWait(*m_editor, html));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    // Every element written without an end tag is one the parser closes at once: the text
    // after it stays beside it, and reads back the same. One page holds them all, each in
    // a block of its own.
    void elementsWrittenEmptyAreEmptyInTheParser()
    {
        const QStringList names = {"AREA",    "BASE",     "BASEFONT", "BGSOUND", "BR",    "COL",
                                   "EMBED",   "FRAME",    "HR",       "IMG",     "INPUT", "KEYGEN",
                                   "LINK",    "META",     "PARAM",    "SOURCE",  "TRACK", "WBR",
                                   "ISINDEX", "MENUITEM", "IMAGE"};
        QString page = u"<BODY>"_s;
        for (qsizetype i = 0; i < names.size(); ++i)
            page += u"<DIV>a<%1>後%2</DIV>"_s.arg(names.at(i)).arg(i);
        QVERIFY(setHtmlAndWait(*m_editor, page + u"</BODY>"_s));
        const QString html = m_editor->DocumentHTML();
        for (qsizetype i = 0; i < names.size(); ++i)
            QVERIFY2(html.contains(u"後%1</"_s.arg(i)), qPrintable(names.at(i) + u": "_s + html));
        QVERIFY(setHtmlAndWait(*m_editor, html));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    // The selection outline lives in the page while an object is selected; it is never
    // written, and neither is anything inside it.
    void selectionOutlineIsNeverWritten()
    {
        QVERIFY(setHtmlAndWait(*m_editor, u"<BODY><P>a<IMG id=i src=x.png width=20></P></BODY>"_s));
        const QString before = m_editor->DocumentHTML();
        QVERIFY(m_editor->call(u"selectObject"_s, {u"i"_s}).ok);
        QCOMPARE(m_editor->call(u"selectedObjectId"_s).value.toString(), u"i"_s);
        QCOMPARE(m_editor->DocumentHTML(), before);
    }
};

LUMIPAGE_TEST_MAIN(TestSerialiser)
#include "tst_serialiser.moc"
