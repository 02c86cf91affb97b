// The element dialogs' fragments, character for character.
#include "dialogs/elements/buttondialog.h"
#include "dialogs/elements/floatingframedialog.h"
#include "dialogs/elements/marqueedialog.h"
#include "dialogs/elements/ruledialog.h"
#include "dialogs/elements/selectitemsdialog.h"

#include <QTest>

using namespace lumipage;

class TestElementMarkup : public QObject
{
    Q_OBJECT

    static QString fragment(const BuildResult &result)
    {
        if (result.isFragment())
            return result.text;
        if (result.isProblem())
            return "problem:" + result.text;
        return "nothing";
    }

private slots:
    void marquee()
    {
        QCOMPARE(
            marqueeMarkup({"Scroll", "Left", "Infinite", "100", "6"}).text,
            QStringLiteral("<MARQUEE BEHAVIOR=Scroll DIRECTION=Left SCROLLDELAY=100 SCROLLAMOUNT=6 "
                           "LOOP=Infinite>文字を入力してください。</MARQUEE>"));
        QCOMPARE(marqueeMarkup({}).text,
                 QStringLiteral("<MARQUEE BEHAVIOR= DIRECTION= SCROLLDELAY= SCROLLAMOUNT= "
                                "LOOP=Infinite>文字を入力してください。</MARQUEE>"));
        QCOMPARE(marqueeMarkup({"Bounce", "Up", "3", "", ""}).text.left(41),
                 QStringLiteral("<MARQUEE BEHAVIOR=Bounce DIRECTION=Up SCR"));
    }

    void floatingFrame()
    {
        QCOMPARE(floatingFrameMarkup("C:\\pages\\menu.htm", "あり").text,
                 QStringLiteral("<IFRAME FRAMEBORDER=1 SRC=\"C:\\pages\\menu.htm\"></IFRAME>"));
        QCOMPARE(floatingFrameMarkup("/my pages/a.htm", "なし").text,
                 QStringLiteral("<IFRAME FRAMEBORDER=0 SRC=\"/my pages/a.htm\"></IFRAME>"));
        QCOMPARE(floatingFrameMarkup("a.htm", "たぶん").text,
                 QStringLiteral("<IFRAME FRAMEBORDER=1 SRC=\"a.htm\"></IFRAME>"));
        QCOMPARE(floatingFrameMarkup("a\"b.htm", "あり").text,
                 QStringLiteral("<IFRAME FRAMEBORDER=1 SRC=\"a&quot;b.htm\"></IFRAME>"));
    }

    void button_data()
    {
        QTest::addColumn<QStringList>("fields"); // title, event, action, message, target
        QTest::addColumn<QString>("expected");
        QTest::newRow("message")
            << QStringList{"タイトル", "onclick", "ﾒｯｾｰｼﾞ", "ようこそ！私のホームページへ。", ""}
            << "<BUTTON TITLE=Button LANGUAGE=VBSCRIPT "
               "onclick='MsgBox\"ようこそ！私のホームページへ。\"'>タイトル</BUTTON>";
        QTest::newRow("jump")
            << QStringList{"次", "onmouseover", "ｼﾞｬﾝﾌﾟ", "m", "/site/next.htm"}
            << "<BUTTON TITLE=Button LANGUAGE=VBSCRIPT "
               "onmouseover='Window.location.href=\"/site/next.htm\"'>次</BUTTON>";
        QTest::newRow("url without target") << QStringList{"t", "onclick", "URL", "m", ""}
                                            << "<BUTTON TITLE=Button LANGUAGE=VBSCRIPT "
                                               "onclick='Window.location.href=\"\"'>t</BUTTON>";
        QTest::newRow("quotes in the message")
            << QStringList{"t", "onclick", "ﾒｯｾｰｼﾞ", "it's \"new\"", ""}
            << "<BUTTON TITLE=Button LANGUAGE=VBSCRIPT onclick='MsgBox\"it&#39;s "
               "\"\"new\"\"\"'>t</BUTTON>";
        QTest::newRow("event empty")
            << QStringList{"t", "", "ﾒｯｾｰｼﾞ", "m", ""} << "problem:未入力個所があります！";
        QTest::newRow("message empty")
            << QStringList{"t", "onclick", "URL", "", "x"} << "problem:未入力個所があります！";
        QTest::newRow("jump without target")
            << QStringList{"t", "onclick", "ｼﾞｬﾝﾌﾟ", "m", ""} << "problem:リンク先が不定です。";
        QTest::newRow("typed action") << QStringList{"t", "onclick", "Beep", "m", ""} << "nothing";
    }
    void button()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        QCOMPARE(fragment(buttonMarkup({fields[0], fields[1], fields[2], fields[3], fields[4]})),
                 expected);
    }

    void rule()
    {
        QCOMPARE(ruleMarkup({}).text,
                 QStringLiteral("<HR WIDTH=\"100%\"SIZE=\"2\"COLOR=\"silver\"ALIGN=center>"));
        QCOMPARE(ruleMarkup({"50", "5", "なし", "red", "left"}).text,
                 QStringLiteral("<HR WIDTH=\"50%\"SIZE=\"5\"noshade COLOR=\"red\"ALIGN=left>"));
        QCOMPARE(ruleMarkup({"", "2", "あり", "", "center"}).text,
                 QStringLiteral("<HR WIDTH=\"%\"SIZE=\"2\"COLOR=\"\"ALIGN=center>"));
        QCOMPARE(ruleMarkup({"100", "2", "少し", "silver", "center"}), BuildResult::nothing());
    }

    void selectItems()
    {
        const QString source = optionLine("A") + optionLine("B") + optionLine("シー");
        QCOMPARE(selectMarkup(source), BuildResult::fragment(QStringLiteral(
                                           "<SELECT><OPTION>A</OPTION>\r\n<OPTION>B</OPTION>\r\n"
                                           "<OPTION>シー</OPTION>\r\n</SELECT>")));
    }
};

QTEST_GUILESS_MAIN(TestElementMarkup)
#include "tst_elementmarkup.moc"
