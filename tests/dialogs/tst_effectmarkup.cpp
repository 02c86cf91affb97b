// The effect dialogs' fragments and requests, character for character.
#include "dialogs/effects/alphatextmarkup.h"
#include "dialogs/effects/blendimagemarkup.h"
#include "dialogs/effects/colourbuttonsmarkup.h"
#include "dialogs/effects/glowtextmarkup.h"
#include "dialogs/effects/revealimagemarkup.h"
#include "dialogs/effects/revealtextmarkup.h"
#include "dialogs/effects/shadowtextmarkup.h"
#include "dialogs/effects/wavetextmarkup.h"

#include <QTest>

using namespace lumipage;

namespace
{

// The fragment, "problem:" and the message, or "nothing".
QString outcome(const EffectResult &result)
{
    if (const auto *request = std::get_if<EffectRequest>(&result))
        return request->fragment;
    const auto &built = std::get<BuildResult>(result);
    return built.isProblem() ? QStringLiteral("problem:") + built.text : QStringLiteral("nothing");
}

EffectRequest requestOf(const EffectResult &result)
{
    const auto *request = std::get_if<EffectRequest>(&result);
    return request ? *request : EffectRequest{QStringLiteral("(no request)")};
}

const QString site = QStringLiteral("/home/user/site");
const QString transitionRefused =
    QStringLiteral("problem:Transitionは0から23までの整数で指定してください。");

} // namespace

class TestEffectMarkup : public QObject
{
    Q_OBJECT

private slots:
    void revealText_data()
    {
        QTest::addColumn<QStringList>("fields"); // transition, alignment, background
        QTest::addColumn<QString>("expected");
        const QString hidden = QStringLiteral(";visibility:hidden\">文字を入力</DIV>");
        QTest::newRow("defaults")
            << QStringList{"0", "center", "WHITE"}
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=0,duration=3);"
               "text-align:center;background-color:WHITE" +
                   hidden;
        QTest::newRow("typed number, other alignment")
            << QStringList{"7", "right", "#ffcc00"}
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=7,duration=3);"
               "text-align:right;background-color:#ffcc00" +
                   hidden;
        QTest::newRow("number written back as plain decimal")
            << QStringList{" 07", "left", "red"}
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=7,duration=3);"
               "text-align:left;background-color:red" +
                   hidden;
        QTest::newRow("empty values stay empty")
            << QStringList{"23", "", ""}
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=23,duration=3);"
               "text-align:;background-color:" +
                   hidden;
        QTest::newRow("quote in the colour cannot end the attribute")
            << QStringList{"0", "center", "red\" onclick=\"x"}
            << "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=0,duration=3);"
               "text-align:center;background-color:red&quot; onclick=&quot;x" +
                   hidden;
        for (const char *bad : {"24", "-1", "", "abc", "2.5", "100", "1 2"})
            QTest::newRow(qPrintable(QStringLiteral("transition '%1'").arg(bad)))
                << QStringList{bad, "center", "WHITE"} << transitionRefused;
    }
    void revealText()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, expected);
        const auto result = revealTextRequest({fields[0], fields[1], fields[2]});
        QCOMPARE(outcome(result), expected);
        if (std::holds_alternative<EffectRequest>(result)) {
            QVERIFY(requestOf(result).withScript);
            QCOMPARE(requestOf(result).effectId, QString());
        }
    }

    void revealImage_data()
    {
        QTest::addColumn<QStringList>("fields"); // image, alt, transition
        QTest::addColumn<QString>("pageFolder");
        QTest::addColumn<QString>("expected");
        const QString tail = QStringLiteral(",duration=3);visibility:hidden\"></DIV>");
        QTest::newRow("windows path, no alternative text")
            << QStringList{"C:\\a.gif", "", "0"} << QString()
            << "<IMG id=veldimage SRC=\"C:\\a.gif\"ALT=\"\"style=\"filter:revealtrans("
               "transition=0" +
                   tail;
        QTest::newRow("spaces stay inside the quotes")
            << QStringList{"my pics/a b.jpg", "花 の 写真", "12"} << site
            << "<IMG id=veldimage SRC=\"my pics/a b.jpg\"ALT=\"花 の 写真\"style=\"filter:"
               "revealtrans(transition=12" +
                   tail;
        QTest::newRow("file inside the page's folder is relative")
            << QStringList{site + "/img/a.gif", "a", "3"} << site
            << "<IMG id=veldimage SRC=\"img/a.gif\"ALT=\"a\"style=\"filter:revealtrans("
               "transition=3" +
                   tail;
        QTest::newRow("file outside the page's folder stays whole")
            << QStringList{"/srv/pics/a.gif", "", "3"} << site
            << "<IMG id=veldimage SRC=\"/srv/pics/a.gif\"ALT=\"\"style=\"filter:revealtrans("
               "transition=3" +
                   tail;
        QTest::newRow("new page: no folder to be relative to")
            << QStringList{site + "/a.gif", "", "3"} << QString()
            << "<IMG id=veldimage SRC=\"" + site +
                   "/a.gif\"ALT=\"\"style=\"filter:revealtrans("
                   "transition=3" +
                   tail;
        QTest::newRow("quotes escaped")
            << QStringList{"a\".gif", "say \"hi\"", "0"} << QString()
            << "<IMG id=veldimage SRC=\"a&quot;.gif\"ALT=\"say &quot;hi&quot;\"style=\"filter:"
               "revealtrans(transition=0" +
                   tail;
        QTest::newRow("transition out of range")
            << QStringList{"a.gif", "", "30"} << QString() << transitionRefused;
        QTest::newRow("transition not a number")
            << QStringList{"a.gif", "", "Box in"} << QString() << transitionRefused;
    }
    void revealImage()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, pageFolder);
        QFETCH(QString, expected);
        QCOMPARE(outcome(revealImageRequest({fields[0], fields[1], fields[2]}, pageFolder)),
                 expected);
    }

    void filterText_data()
    {
        QTest::addColumn<QString>("built");
        QTest::addColumn<bool>("builtWithScript");
        QTest::addColumn<QString>("builtId");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("withScript");
        QTest::addColumn<QString>("effectId");
        const QString content = QStringLiteral(")\">ここに文字を入力</DIV>");
        auto add = [](const char *name, const EffectResult &result, bool withScript,
                      const QString &effectId, const QString &expected) {
            const auto *request = std::get_if<EffectRequest>(&result);
            QTest::newRow(name) << outcome(result) << (request ? request->withScript : false)
                                << (request ? request->effectId : QString()) << expected
                                << withScript << effectId;
        };
        add("shadow without action", shadowTextRequest({"red", "10", 42, "なし"}), false, "VELD42",
            "<DIV ID=VELD42 STYLE=\"width:100%;Filter:Shadow(Color=red,Direction=10" + content);
        add("shadow with action", shadowTextRequest({"#00f", "135", 0, "あり"}), true, "VELD0",
            "<DIV ID=VELD0 STYLE=\"width:100%;Filter:Shadow(Color=#00f,Direction=135" + content);
        add("shadow: empty direction written as typed", shadowTextRequest({"red", "", 99, "x"}),
            false, "VELD99",
            "<DIV ID=VELD99 STYLE=\"width:100%;Filter:Shadow(Color=red,Direction=" + content);
        add("shadow: quote in the colour", shadowTextRequest({"a\"b", "10", 5, "なし"}), false,
            "VELD5",
            "<DIV ID=VELD5 STYLE=\"width:100%;Filter:Shadow(Color=a&quot;b,Direction=10" + content);
        add("wave defaults", waveTextRequest({"5", "10", "20", 42, "なし"}), false, "VELD42",
            "<DIV ID=VELD42 STYLE=\"width:100%;Filter:Wave(strength=5,freq=10,lightstrength=20" +
                content);
        add("wave with action", waveTextRequest({"1", "0", "100", 8, "あり"}), true, "VELD8",
            "<DIV ID=VELD8 STYLE=\"width:100%;Filter:Wave(strength=1,freq=0,lightstrength=100" +
                content);
        add("wave: unknown action inserts nothing", waveTextRequest({"5", "10", "20", 1, "たぶん"}),
            false, "", "nothing");
        add("glow defaults", glowTextRequest({"RED", "5", 7, "なし"}), false, "VELD7",
            "<DIV ID=VELD7 STYLE=\"width:100%;Filter:Glow(strength=5,Color=RED" + content);
        add("glow with action", glowTextRequest({"orange", "12", 60, "あり"}), true, "VELD60",
            "<DIV ID=VELD60 STYLE=\"width:100%;Filter:Glow(strength=12,Color=orange" + content);
        add("alpha defaults", alphaTextRequest({"90", "円形", 3, "なし"}), false, "VELD3",
            "<DIV ID=VELD3 STYLE=\"width:100%;Filter:Alpha(opacity=90,style=2" + content);
        add("alpha linear with action", alphaTextRequest({"50", "線形", 11, "あり"}), true,
            "VELD11",
            "<DIV ID=VELD11 STYLE=\"width:100%;Filter:Alpha(opacity=50,style=1" + content);
        add("alpha rectangular", alphaTextRequest({"0", "長方形", 3, "なし"}), false, "VELD3",
            "<DIV ID=VELD3 STYLE=\"width:100%;Filter:Alpha(opacity=0,style=3" + content);
        add("alpha: unknown style refused", alphaTextRequest({"90", "楕円", 3, "なし"}), false, "",
            "problem:ｽﾀｲﾙは「線形」「円形」「長方形」のいずれかを選んでください。");
    }
    void filterText()
    {
        QFETCH(QString, built);
        QFETCH(QString, expected);
        QCOMPARE(built, expected);
        // The script flag and the id travel beside the fragment, for the merge.
        QFETCH(bool, builtWithScript);
        QFETCH(bool, withScript);
        QCOMPARE(builtWithScript, withScript);
        QFETCH(QString, builtId);
        QFETCH(QString, effectId);
        QCOMPARE(builtId, effectId);
    }

    void colourButtons()
    {
        ColourButtonList list;
        QVERIFY(
            addColourButton(list, {"Home", "ＭＳ Ｐ明朝", "9", "blue", "red", "index.htm"}, site)
                .kind == BuildResult::Kind::Nothing);
        QCOMPARE(
            list.buttons.value(0),
            QStringLiteral("<Button ID=VELD0 onmouseover=\"go_in(0)\" onmouseout=\"go_out(0)\" "
                           "onclick=\"go_link(0)\" STYLE=\"font-family:ＭＳ Ｐ明朝;"
                           "font-size:9pt;Color:blue;\">Home</Button>"));
        // Each button keeps the colour it was added with; the script gets the last ones.
        addColourButton(list, {"", "Verdana", "12", "", "", "http://example.com/"}, site);
        addColourButton(list, {"Docs", "IMPACT", "52", "green", "yellow", site + "/doc/a.htm"},
                        site);
        const auto request = requestOf(colourButtonsRequest(list));
        QCOMPARE(request.fragment,
                 list.buttons.value(0) +
                     "<Button ID=VELD1 onmouseover=\"go_in(1)\" onmouseout=\"go_out(1)\" "
                     "onclick=\"go_link(1)\" STYLE=\"font-family:Verdana;font-size:12pt;"
                     "Color:;\"></Button>"
                     "<Button ID=VELD2 onmouseover=\"go_in(2)\" onmouseout=\"go_out(2)\" "
                     "onclick=\"go_link(2)\" STYLE=\"font-family:IMPACT;font-size:52pt;"
                     "Color:green;\">Docs</Button>");
        QCOMPARE(request.color1, QStringLiteral("green"));
        QCOMPARE(request.color2, QStringLiteral("yellow"));
        QVERIFY(request.withScript);
        const std::array<QString, 10> targets{"index.htm", "http://example.com/", "doc/a.htm"};
        QCOMPARE(request.linkTargets, targets);

        // Removing all keeps the link targets; OK then has nothing to insert, and the
        // next addition starts again from VELD0.
        removeColourButtons(list);
        QCOMPARE(outcome(colourButtonsRequest(list)),
                 QStringLiteral("problem:設定項目がありません！"));
        addColourButton(list, {"New", "Georgia", "14", "navy", "aqua", "b.htm"}, QString());
        const auto again = requestOf(colourButtonsRequest(list));
        QVERIFY(again.fragment.startsWith("<Button ID=VELD0 "));
        QCOMPARE(again.fragment.count("<Button"), 1);
        QCOMPARE(again.linkTargets[0], QStringLiteral("b.htm"));
        QCOMPARE(again.linkTargets[2], QStringLiteral("doc/a.htm"));
    }

    void colourButtonsFull()
    {
        ColourButtonList list;
        for (int i = 0; i < maxColourButtons; ++i)
            addColourButton(list, {QString::number(i), "Arial Black", "9", "c", "d", "t"}, {});
        const ColourButtonList full = list;
        const auto refused =
            addColourButton(list, {"11th", "Arial Black", "9", "x", "y", "u"}, QString());
        QCOMPARE(refused, BuildResult::problem(QStringLiteral("10項目以上は設定できません。")));
        QCOMPARE(list.buttons, full.buttons);
        QCOMPARE(list.color1, QStringLiteral("c"));
        QVERIFY(list.buttons.last().startsWith("<Button ID=VELD9 onmouseover=\"go_in(9)\""));
    }

    void colourButtonQuotes()
    {
        QCOMPARE(
            colourButtonMarkup(4, {"A", "Times \"New\"", "9\"", "red\"", "", ""}),
            QStringLiteral("<Button ID=VELD4 onmouseover=\"go_in(4)\" onmouseout=\"go_out(4)\" "
                           "onclick=\"go_link(4)\" STYLE=\"font-family:Times &quot;New&quot;;"
                           "font-size:9&quot;pt;Color:red&quot;;\">A</Button>"));
    }

    void blendImage_data()
    {
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<QString>("pageFolder");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("values"); // effect id, first image, next image
        QTest::newRow("both images")
            << QStringList{"C:\\a.gif", "C:\\b.gif"} << QString()
            << "<IMG ID=image42 SRC=\"C:\\a.gif\" STYLE=\"Filter:blendtrans(duration=3)\">"
            << QStringList{"image42", "C:\\a.gif", "C:\\b.gif"};
        QTest::newRow("inside the page's folder")
            << QStringList{site + "/a b.gif", site + "/img/b.jpg"} << site
            << "<IMG ID=image42 SRC=\"a b.gif\" STYLE=\"Filter:blendtrans(duration=3)\">"
            << QStringList{"image42", "a b.gif", "img/b.jpg"};
        QTest::newRow("quote in the file name")
            << QStringList{"a\".gif", "b.gif"} << QString()
            << "<IMG ID=image42 SRC=\"a&quot;.gif\" STYLE=\"Filter:blendtrans(duration=3)\">"
            << QStringList{"image42", "a\".gif", "b.gif"};
        const QString missing = QStringLiteral("problem:画像が指定されていません！");
        QTest::newRow("only the first")
            << QStringList{"a.gif", ""} << QString() << missing << QStringList{};
        QTest::newRow("only the next")
            << QStringList{"", "b.gif"} << QString() << missing << QStringList{};
    }
    void blendImage()
    {
        QFETCH(QStringList, images);
        QFETCH(QString, pageFolder);
        QFETCH(QString, expected);
        QFETCH(QStringList, values);
        const auto result = blendImageRequest({images[0], images[1], 42}, pageFolder);
        QCOMPARE(outcome(result), expected);
        if (!values.isEmpty()) {
            const auto request = requestOf(result);
            QCOMPARE((QStringList{request.effectId, request.image1, request.image2}), values);
            QVERIFY(request.withScript);
        }
    }
};

QTEST_GUILESS_MAIN(TestEffectMarkup)
#include "tst_effectmarkup.moc"
