// The page check's finders on page text alone (no display, no engine): libtidy's codes in
// our words, the accessibility rules of the markup, the contrast arithmetic, and which
// words go to the dictionary, what the page's pictures cost and tell.
#include "check/finders/accessibilityfindings.h"
#include "check/finders/htmlfindings.h"
#include "check/finders/parsedpage.h"
#include "check/finders/picturefindings.h"
#include "check/finders/spelling.h"
#include "check/finders/tidymessages.h"

#include <QTest>

using namespace lumipage;
using namespace lumipage::check;

namespace
{
QStringList rows(const QList<PageFinding> &findings)
{
    QStringList out;
    for (const PageFinding &f : findings)
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(kindName(f.kind))
                   .arg(f.line)
                   .arg(f.element, f.message);
    return out;
}
} // namespace

class TestCheckFinders : public QObject
{
    Q_OBJECT

private slots:
    void tidyCodesReadAsOurOwnTexts_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("text"); // empty: left out
        QTest::addColumn<bool>("summarised");
        QTest::newRow("unclosed") << QByteArray("MISSING_ENDTAG_BEFORE")
                                  << QStringList{"table", "</body>"}
                                  << "<table> が閉じられていません（</body> の前で閉じていません）"
                                  << false;
        QTest::newRow("out of order")
            << QByteArray("NON_MATCHING_ENDTAG") << QStringList{"b", "b"}
            << "</b> の位置が合っていません（要素を閉じる順が入れ違っています）" << false;
        QTest::newRow("stray end tag")
            << QByteArray("DISCARDING_UNEXPECTED") << QStringList{"</span>"}
            << "</span> はここでは読み捨てられます（対応する開始タグがないか、ここに置けません）"
            << false;
        // A value holding "%2" is written as it is, not filled in again.
        QTest::newRow("duplicate id")
            << QByteArray("ANCHOR_NOT_UNIQUE") << QStringList{"<p>", "a%2"}
            << "id「a%2」が重複しています（<p>）" << false;
        QTest::newRow("no such attribute")
            << QByteArray("PROPRIETARY_ATTRIBUTE") << QStringList{"<p>", "foo"}
            << "<p> に属性「foo」はありません" << true;
        QTest::newRow("old attribute")
            << QByteArray("MISMATCHED_ATTRIBUTE_WARN") << QStringList{"<body>", "bgcolor", "HTML5"}
            << "<body> の属性「bgcolor」は HTML5 にはありません（古い書き方です）" << true;
        QTest::newRow("obsolete") << QByteArray("REMOVED_HTML5") << QStringList{"<center>"}
                                  << "<center> は HTML5 で廃止された要素です" << true;
        QTest::newRow("doctype") << QByteArray("MISSING_DOCTYPE") << QStringList{}
                                 << "文書型宣言（<!DOCTYPE>）がありません" << false;
        QTest::newRow("unknown code")
            << QByteArray("NOFRAMES_CONTENT") << QStringList{"<p>"}
            << "HTML の点検で報告がありました（NOFRAMES_CONTENT）" << false;
        QTest::newRow("repair note")
            << QByteArray("INSERTING_TAG") << QStringList{"i"} << QString() << false;
        QTest::newRow("alt: accessibility's")
            << QByteArray("MISSING_ATTRIBUTE") << QStringList{"<img>", "alt"} << QString() << false;
        QTest::newRow("other required attribute")
            << QByteArray("MISSING_ATTRIBUTE") << QStringList{"<script>", "type"}
            << "<script> に必要な属性「type」がありません" << false;
    }
    void tidyCodesReadAsOurOwnTexts()
    {
        QFETCH(QByteArray, code);
        QFETCH(QStringList, arguments);
        QFETCH(QString, text);
        QFETCH(bool, summarised);
        const std::optional<TidyText> shown = tidyMessageText({code, arguments, 3, 1});
        QCOMPARE(shown.has_value(), !text.isEmpty());
        if (shown) {
            QCOMPARE(shown->message, text);
            QCOMPARE(shown->summarised, summarised);
        }
        QVERIFY(!mappedTidyCodes().contains("NOFRAMES_CONTENT"));
    }

    // Libtidy itself on an old page: each finding at its line and element, obsolete
    // markup once per name with the count of the others, and nothing in English.
    void anOldPageThroughLibtidy()
    {
        const QString text = QStringLiteral(
            "<HTML lang=ja>\n<HEAD><META charset=Shift_JIS><TITLE>t</TITLE></HEAD>\n"
            "<BODY>\n<CENTER>a</CENTER>\n<CENTER>b</CENTER>\n<P>x <B><I>y</B></I></P>\n"
            "</SPAN>\n<h1>A</h1><h3>B</h3>\n</BODY></HTML>\n");
        const ParsedPage page(text);
        QList<PageFinding> findings = charsetFindings(page, "UTF-8");
        findings << htmlFindings(page, tidyReports(page.utf8()));
        findings << markupAccessibilityFindings(page);
        sortByLine(findings);
        QCOMPARE(
            rows(findings),
            QStringList({"HTML 1 HTML 文書型宣言（<!DOCTYPE>）がありません",
                         "HTML 2 META "
                         "文字コードの宣言「Shift_JIS」がファイルの文字コード（UTF-8）と違います",
                         "HTML 4 CENTER <center> は HTML5 で廃止された要素です（ほか 1 箇所）",
                         "HTML 6 I </b> の位置が合っていません（要素を閉じる順が入れ違っています）",
                         "HTML 7 BODY </span> "
                         "はここでは読み捨てられます（対応する開始タグがないか、ここに置けません）",
                         "アクセシビリティ 8 H3 見出しのレベルが飛んでいます（h1 の次に h3）"}));
        QCOMPARE(page.elements()[size_t(findings[2].ordinal)].start, text.indexOf("<CENTER>"));
    }

    void markupAccessibilityRules()
    {
        const QString text = QStringLiteral(
            "<html><body>\n"
            "<a href=a.htm><img src=a.png alt=''></a> <a href=b.htm><img src=b.png alt=Home></a>\n"
            "<a href=c.htm aria-label=Close></a> <a name=top></a>\n"
            "<label>Name <input name=n></label> <label for=m>Mail</label><input id=m>\n"
            "<input type=submit> <input type=hidden name=h> <select name=s></select>\n"
            "<table><tr><td>1<td>2<tr><td>3<td>4</table>\n"
            "<table><tr><td>layout</table> <table "
            "role=presentation><tr><td>1<td>2<tr><td>3<td>4</table>\n"
            "<table><tr><th>a<th>b<tr><td>1<td>2</table>\n"
            "<template><img src=t.png></template>\n</body></html>");
        const ParsedPage page(text);
        QCOMPARE(
            rows(markupAccessibilityFindings(page)),
            QStringList(
                {"アクセシビリティ 1 HTML ページの言語（<html> の lang 属性）が指定されていません",
                 "アクセシビリティ 2 A リンクに文字がありません: a.htm",
                 "アクセシビリティ 5 SELECT 入力欄にラベル（<label>）がありません",
                 "アクセシビリティ 6 TABLE 表に見出しのセル（<th>）がありません"}));
    }

    void contrastAsWcagCountsIt()
    {
        const Rgba white{255, 255, 255, 1};
        QCOMPARE(QString::number(contrastRatio(*cssColour("rgb(0, 0, 0)"), white), 'f', 2),
                 QStringLiteral("21.00"));
        QCOMPARE(QString::number(contrastRatio(*cssColour("rgb(170, 170, 170)"), white), 'f', 2),
                 QStringLiteral("2.32"));
        // Half-transparent black text on a transparent background: grey on white.
        QCOMPARE(QString::number(contrastRatio(*cssColour("rgba(0, 0, 0, 0.5)"),
                                               *cssColour("rgba(0, 0, 0, 0)")),
                                 'f', 2),
                 QStringLiteral("3.98"));
        QVERIFY(!cssColour("color(srgb 1 0 0)"));
        QCOMPARE(requiredContrast(24, 400), 3.0);
        QCOMPARE(requiredContrast(18.66, 700), 3.0);
        QCOMPARE(requiredContrast(18.66, 400), 4.5);
        QCOMPARE(requiredContrast(18, 700), 4.5);

        const ParsedPage page(QStringLiteral("<p>a</p>\n<h1>b</h1>"));
        const QList<TextColours> looks = {
            {"rgb(119, 119, 119)",
             "rgb(255, 255, 255)",
             16,
             400,
             {3}}, // 4.478: never shown as 4.48
            {"rgb(119, 119, 119)", "rgb(255, 255, 255)", 32, 700, {4}}, // large: 3 is enough
        };
        QCOMPARE(
            rows(contrastFindings(page, looks)),
            QStringList({"アクセシビリティ 1 P 文字と背景のコントラストが足りません（4.47:1、4.5:1 "
                         "以上が必要です）"}));
    }

    void wordsThatGoToTheDictionary()
    {
        QStringList words;
        for (const TextWord &w : wordsToCheck(QStringLiteral(
                 "Visit www.example.org or http://x.jp/a, mail me@x.jp; NASA mp3 don't 日本語の "
                 "café x (teh)")))
            words << w.word;
        QCOMPARE(words, QStringList({"Visit", "or", "mail", "don't", "café", "teh"}));
    }

    void misspeltWordsOncePerWord()
    {
        EnglishSpelling spelling;
        if (!spelling.available())
            QSKIP("the English dictionary (hunspell-en-us) is not installed");
        const ParsedPage page(QStringLiteral(
            "<p>We recieved it.</p>\n<p lang=fr>Nous avons reçu</p>\n<p>recieved\nagain, "
            "teh end</p><script>var recieved;</script>\n<p lang=ja>日本語の recieved</p>"));
        QCOMPARE(rows(spellingFindings(page, spelling)),
                 QStringList({"スペル 1 P 綴りが誤っているかもしれません: recieved（ほか 2 箇所）",
                              "スペル 4 P 綴りが誤っているかもしれません: teh"}));
    }

    void picturesHeavierThanShownTurnedOrPlaced()
    {
        const ParsedPage page(
            QStringLiteral("<BODY>\n<IMG src=phone.jpg width=400 height=300>\n"
                           "<IMG src=sharp.jpg width=\"800px\" height=600><IMG src=phone.jpg>\n"
                           "<IMG src=http://example.org/a.png width=50% height=20>\n"
                           "<IMG src=logo.png width=\"50%\" height=\"1\">\n"));
        QCOMPARE(pictureSources(page),
                 QStringList({"phone.jpg", "sharp.jpg", "http://example.org/a.png", "logo.png"}));
        pictures::PictureInfo phone;
        phone.path = QStringLiteral("/site/phone.jpg");
        phone.width = 4032;
        phone.height = 3024;
        phone.bytes = 3'600'000;
        phone.orientation = 6; // 3024 wide upright: still over twice 400
        phone.gps = true;
        pictures::PictureInfo sharp; // exactly twice what it is shown at: what sharp screens want
        sharp.path = QStringLiteral("/site/sharp.jpg");
        sharp.width = 1600;
        sharp.height = 1200;
        sharp.bytes = 1024 * 1024;
        pictures::PictureInfo logo = sharp; // shown at a share of the column: not known
        logo.path = QStringLiteral("/site/logo.png");
        logo.width = 5000;
        QCOMPARE(rows(pictureFindings(
                     page, {{"phone.jpg", phone}, {"sharp.jpg", sharp}, {"logo.png", logo}})),
                 QStringList({
                     "画像 2 IMG 表示の大きさよりずっと大きな画像です(幅 3024 ピクセルを 400 "
                     "で表示): phone.jpg",
                     "画像 2 IMG 画像ファイルが 3.4 MB あり、読み込みに時間がかかります: phone.jpg",
                     "画像 2 IMG EXIF の向きの情報で回転させて見せる画像です(向きを読まないところ"
                     "では横倒しになります): phone.jpg",
                     "画像 2 IMG 位置情報が含まれています(撮影した場所を誰でも読めます): phone.jpg",
                     "画像 3 IMG width と height がありません(読み込みの間にページがずれます): "
                     "phone.jpg",
                     "画像 3 IMG 画像ファイルが 3.4 MB あり、読み込みに時間がかかります: phone.jpg",
                     "画像 3 IMG EXIF の向きの情報で回転させて見せる画像です(向きを読まないところ"
                     "では横倒しになります): phone.jpg",
                     "画像 3 IMG 位置情報が含まれています(撮影した場所を誰でも読めます): phone.jpg",
                 }));
    }
};

QTEST_GUILESS_MAIN(TestCheckFinders)
#include "tst_checkfinders.moc"
