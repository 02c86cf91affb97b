// The one changed stretch between two texts, and the element a position of a text is in:
// what the source pane replaces when the page changes, and what its caret stands in.
#include "platform/markup/markupproblems.h"
#include "platform/markup/textchange.h"

#include <QTest>

using namespace lumipage;
using textchange::Stretch;
using Problem = markupproblems::Problem;

class TestTextChange : public QObject
{
    Q_OBJECT

private slots:
    void theChangedStretchKeepsWholeCharacters()
    {
        QCOMPARE(textchange::between("<p>ab</p>", "<p>ab</p>"), std::nullopt);
        QCOMPARE(*textchange::between("<p>ab</p>", "<p>aXb</p>"), (Stretch{4, 0, "X"}));
        QCOMPARE(*textchange::between("<p>aXXb</p>", "<p>ab</p>"), (Stretch{4, 2, ""}));
        // A repeated letter: the common end is taken first, never past the common start.
        QCOMPARE(*textchange::between("aa", "aaa"), (Stretch{2, 0, "a"}));
        QCOMPARE(*textchange::between("", "x"), (Stretch{0, 0, "x"}));
        // あ (E3 81 82) became い (E3 81 84): the whole character is replaced.
        const QByteArray a = QStringLiteral("<p>あ</p>").toUtf8(),
                         i = QStringLiteral("<p>い</p>").toUtf8();
        QCOMPARE(*textchange::between(a, i), (Stretch{3, 3, QStringLiteral("い").toUtf8()}));
        // Two characters sharing their last bytes: 㐂 (E3 90 82) after あ (E3 81 82).
        const QByteArray b = QStringLiteral("x㐂").toUtf8();
        QCOMPARE(*textchange::between(QStringLiteral("xあ").toUtf8(), b),
                 (Stretch{1, 3, QStringLiteral("㐂").toUtf8()}));
    }

    void aPositionIsInTheInnermostElementAroundIt()
    {
        const QByteArray page = "<html><body><p>one <b>two</b></p>\n<img src=a.png><p>x</body>";
        const SourceTree tree(sourcemap::SourceText{{}, page, {}});
        const auto at = [&](const char *marker, int plus = 0) {
            return textchange::elementAt(tree.elements(), page.indexOf(marker) + plus);
        };
        // 0 html, 1 head (implied), 2 body, 3 p, 4 b, 5 img, 6 p
        QCOMPARE(at("one"), 3);
        QCOMPARE(at("two"), 4);
        QCOMPARE(at("<b>", 1), 4);  // inside the start tag
        QCOMPARE(at("</b>", 2), 4); // inside the end tag
        QCOMPARE(at("\n"), 2);      // between the paragraphs
        QCOMPARE(at("src"), 5);
        QCOMPARE(at("x"), 6); // an end tag the parser implied
        QCOMPARE(textchange::elementAt(tree.elements(), 0), 0);
    }

    void anEditInsideOneElementOfTheBodyIsThatElementAsTyped()
    {
        const QByteArray page = "<html><head><title>t</title></head><body>\n"
                                "<div id=d><p class='a'>one <b>two</b></p>\n<p>x</p></div>\n"
                                "</body></html>";
        const SourceTree tree(sourcemap::SourceText{{}, page, {}});
        const auto edit = [&](const char *from, const char *to) {
            QByteArray after = page;
            after.replace(from, to);
            return textchange::elementEdit(tree, page, after);
        };
        // 0 html, 1 head, 2 title, 3 body, 4 div, 5 p, 6 b, 7 p
        QCOMPARE(edit("two", "TWO"), (textchange::ElementEdit{6, "b", "<b>TWO</b>"}));
        // A new tag inside, and a start tag rewritten: the element around, as typed.
        QCOMPARE(edit("one ", "one <i>new</i> "),
                 (textchange::ElementEdit{5, "p", "<p class='a'>one <i>new</i> <b>two</b></p>"}));
        QCOMPARE(edit("<p>x", "<P  lang=ja>x"),
                 (textchange::ElementEdit{7, "p", "<P  lang=ja>x</p>"}));
        // Text typed between two paragraphs belongs to the division around them.
        QCOMPARE(edit("</p>\n<p>", "</p>\nand<p>")->ordinal, 4);
        // Two paragraphs where one was: the division around them is one element.
        QCOMPARE(edit("one", "o</p><p>ne")->ordinal, 4);
        // The head, the body's own tags, and markup read otherwise: none.
        QCOMPARE(edit("<title>t", "<title>T"), std::nullopt);
        QCOMPARE(edit("<body>", "<body class=x>"), std::nullopt);
        QCOMPARE(edit("<b>two</b>", "<b>two"), std::nullopt);
        QCOMPARE(edit("two</b>", "two</b></div>"), std::nullopt);
        QCOMPARE(edit("x", "x"), std::nullopt);
    }

    void markupReadOtherwiseThanWrittenIsFound()
    {
        using P = Problem;
        QCOMPARE(markupproblems::problems("<p>a <b>b</p>"),
                 (std::vector<Problem>{{P::Unclosed, 5, 8}}));
        QCOMPARE(
            markupproblems::problems("<div>a</div></div><!-- </div> --><script>'</i>'</script>"),
            (std::vector<Problem>{{P::StrayEndTag, 12, 18}}));
        // Optional end tags, void elements and self-closed foreign elements are fine.
        QCOMPARE(
            markupproblems::problems("<ul><li>a<li>b</ul><p>c<br><img src=x><svg><path/></svg>"),
            std::vector<Problem>{});
        // In context: a cell in its row.
        QCOMPARE(markupproblems::problems("<td>a</td>", "<table><tbody><tr>"),
                 std::vector<Problem>{});
        // What a change made: an end tag typed before another makes that one stray.
        const QByteArray before = "<body><div><font>x<p>a</p></div></body>";
        QCOMPARE(
            markupproblems::introduced(before, QByteArray(before).replace("</p>", "</p></div>")),
            (std::vector<Problem>{{P::StrayEndTag, 32, 38}}));
    }
};

QTEST_GUILESS_MAIN(TestTextChange)
#include "tst_textchange.moc"
