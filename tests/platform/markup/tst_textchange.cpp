// The one changed stretch between two texts, and the element a position of a text is in:
// what the source pane replaces when the page changes, and what its caret stands in.
#include "platform/markup/textchange.h"

#include <QTest>

using namespace lumipage;
using textchange::Stretch;

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
};

QTEST_GUILESS_MAIN(TestTextChange)
#include "tst_textchange.moc"
