// The effect fragments pasted into a real page: each lands whole at the caret and the
// page around it keeps its structure, the image reveal's trailing "</DIV>" included.
#include "support/testsupport.h"

#include "dialogs/effects/blendimagemarkup.h"
#include "dialogs/effects/colourbuttonsmarkup.h"
#include "dialogs/effects/revealimagemarkup.h"
#include "dialogs/effects/revealtextmarkup.h"
#include "dialogs/effects/shadowtextmarkup.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QRegularExpression>

using namespace lumipage;
using namespace lumipage::test;

class TestEffectPaste : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;

    static QString fragmentOf(const EffectResult &result)
    {
        const auto *request = std::get_if<EffectRequest>(&result);
        return request ? request->fragment : QString();
    }

private slots:
    void initTestCase() { m_editor = shownEditor(); }
    void cleanupTestCase() { m_editor.reset(); }

    void pastedAtTheCaret_data()
    {
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QString>("pasted"); // as the page writes it back
        QTest::newRow("image reveal, with its stray end tag")
            << fragmentOf(revealImageRequest({"a b.gif", "花", "5"}, {}))
            << "<IMG id=veldimage src=\"a b.gif\" alt=花 "
               "style=\"filter:revealtrans(transition=5,duration=3);visibility:hidden\">";
        QTest::newRow("text reveal")
            << fragmentOf(revealTextRequest({"0", "center", "WHITE"}))
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=0,duration=3);"
               "text-align:center;background-color:WHITE;visibility:hidden\">文字を入力</DIV>";
        QTest::newRow("shadow text with a quote in the colour")
            << fragmentOf(shadowTextRequest({"re\"d", "10", 4, "なし"}))
            << "<DIV id=VELD4 style=\"width:100%;Filter:Shadow(Color=re&quot;d,Direction=10)\">"
               "ここに文字を入力</DIV>";
        QTest::newRow("blend image")
            << fragmentOf(blendImageRequest({"a.gif", "b.gif", 42}, {}))
            << "<IMG id=image42 src=a.gif style=\"Filter:blendtrans(duration=3)\">";
        QTest::newRow("one colour button")
            << colourButtonMarkup(0, {"Home", "Verdana", "9", "blue", "red", "a.htm"})
            << "<BUTTON id=VELD0 onmouseover=go_in(0) onmouseout=go_out(0) onclick=go_link(0) "
               "style=font-family:Verdana;font-size:9pt;Color:blue;>Home</BUTTON>";
    }
    void pastedAtTheCaret()
    {
        QFETCH(QString, fragment);
        QFETCH(QString, pasted);
        QVERIFY(!fragment.isEmpty());
        QVERIFY(
            setBody(*m_editor, "<P id=a>one</P><DIV id=box><P id=p>ab</P></DIV><P id=c>two</P>"));
        QVERIFY(selectIn(*m_editor, "p", 1, 1));
        QVERIFY(m_editor->pasteHTML(fragment));
        const QString body = bodyOf(*m_editor);
        // Nothing outside the paragraph moves, and no end tag of the fragment closes the
        // DIV around the caret.
        const QString before = QStringLiteral("<P id=a>one</P><DIV id=box>");
        const QString after = QStringLiteral("</DIV><P id=c>two</P>");
        QVERIFY2(body.startsWith(before) && body.endsWith(after), qPrintable(body));
        QCOMPARE(body.count("<DIV"), 1 + pasted.count("<DIV"));
        QCOMPARE(body.count("</DIV>"), 1 + pasted.count("</DIV>"));
        // The element arrives with every attribute, and the paragraph's text stays whole.
        QVERIFY2(body.contains(pasted), qPrintable(body));
        QString box = body.mid(before.size(), body.size() - before.size() - after.size());
        box.remove(pasted).remove(QRegularExpression(QStringLiteral("<[^>]*>")));
        QCOMPARE(box, QStringLiteral("ab"));
    }
};

LUMIPAGE_TEST_MAIN(TestEffectPaste)
#include "tst_effectpaste.moc"
