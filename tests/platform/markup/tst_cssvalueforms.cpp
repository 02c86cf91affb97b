// Which editor fits a declaration, and what each editor writes into the value line.
#include "platform/markup/cssvalueforms.h"

#include <QTest>

using namespace lumipage;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(lumipage::css::EditorKind)

class TestCssValueForms : public QObject
{
    Q_OBJECT

private slots:
    void editorKind_data()
    {
        using K = css::EditorKind;
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        QTest::addColumn<K>("kind");
        QTest::addColumn<bool>("attribute");
        QTest::newRow("colour") << u"color"_s << u"#abc"_s << K::Colour << false;
        QTest::newRow("named colour, capitals")
            << u"Background-Color"_s << u"Red"_s << K::Colour << false;
        QTest::newRow("side colour, rgb")
            << u"border-top-color"_s << u"rgb(1, 2, 3)"_s << K::Colour << false;
        QTest::newRow("keyword") << u"color"_s << u"inherit"_s << K::Colour << false;
        QTest::newRow("empty") << u"outline-color"_s << u""_s << K::Colour << false;
        // Values one colour cannot stand for keep to the text.
        QTest::newRow("two colours") << u"border-color"_s << u"red blue"_s << K::Text << false;
        QTest::newRow("variable") << u"color"_s << u"var(--x)"_s << K::Text << false;
        QTest::newRow("not a colour property") << u"background"_s << u"red"_s << K::Text << false;
        QTest::newRow("length") << u"margin-left"_s << u"1.5em"_s << K::Length << false;
        QTest::newRow("bare zero") << u"padding-top"_s << u"0"_s << K::Length << false;
        QTest::newRow("auto") << u"width"_s << u"auto"_s << K::Length << false;
        QTest::newRow("side width") << u"border-left-width"_s << u"2PX"_s << K::Length << false;
        QTest::newRow("two lengths") << u"margin-left"_s << u"0 auto"_s << K::Text << false;
        // The box shorthands get the diagram while they hold one to four plain values.
        QTest::newRow("box") << u"margin"_s << u"0 auto"_s << K::Box << false;
        QTest::newRow("box, one calc") << u"padding"_s << u"calc(1px + 2%)"_s << K::Box << false;
        QTest::newRow("box, keyword") << u"margin"_s << u"inherit"_s << K::Length << false;
        QTest::newRow("box, five")
            << u"border-width"_s << u"1px 2px 3px 4px 5px"_s << K::Text << false;
        QTest::newRow("other unit") << u"height"_s << u"10vh"_s << K::Text << false;
        QTest::newRow("unitless") << u"line-height"_s << u"1.5"_s << K::Text << false;
        QTest::newRow("width-ish name") << u"border-width-x"_s << u"1px"_s << K::Text << false;
        QTest::newRow("fonts") << u"font-family"_s << u"\"ＭＳ ゴシック\", serif"_s << K::FontFamily
                               << false;
        QTest::newRow("other") << u"display"_s << u"block"_s << K::Text << false;
        // A presentational attribute, by its CSS equivalent: a colour, but never a CSS unit.
        QTest::newRow("bgcolor") << u"background-color"_s << u"#fff"_s << K::Colour << true;
        QTest::newRow("width attribute") << u"width"_s << u"50%"_s << K::Text << true;
        QTest::newRow("face attribute") << u"font-family"_s << u"Arial"_s << K::Text << true;
    }
    void editorKind()
    {
        QFETCH(QString, property);
        QFETCH(QString, value);
        QFETCH(css::EditorKind, kind);
        QFETCH(bool, attribute);
        QCOMPARE(css::editorKind(property, value, attribute), kind);
    }

    // The chosen colour in the author's form; #rrggbb for anything else.
    void colourText_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("alpha");
        QTest::addColumn<QString>("text");
        QTest::newRow("long hex") << u"#123456"_s << 255 << u"#ff8800"_s;
        QTest::newRow("upper hex") << u"#ABCDEF"_s << 255 << u"#FF8800"_s;
        QTest::newRow("short hex stays short") << u"#abc"_s << 255 << u"#f80"_s;
        QTest::newRow("named") << u"red"_s << 255 << u"#ff8800"_s;
        QTest::newRow("rgb with commas") << u"rgb(0,0,0)"_s << 255 << u"rgb(255, 136, 0)"_s;
        QTest::newRow("rgb with spaces") << u"rgb(0 0 0)"_s << 128 << u"rgba(255, 136, 0, 0.5)"_s;
        QTest::newRow("hex with alpha") << u"#0000"_s << 128 << u"#ff880080"_s;
        QTest::newRow("translucent") << u"#000"_s << 64 << u"rgba(255, 136, 0, 0.25)"_s;
    }
    void colourText()
    {
        QFETCH(QString, value);
        QFETCH(int, alpha);
        QFETCH(QString, text);
        QCOMPARE(css::colourText(255, 136, 0, alpha, value), text);
        // What is written reads back as the colour chosen.
        const auto back = css::colourOf(text);
        QVERIFY(back);
        QCOMPARE(qRound(back->green * 255), 136);
    }

    void colourTextShortOnlyWhenExact()
    {
        QCOMPARE(css::colourText(0x12, 0x34, 0x56, 255, u"#abc"_s), u"#123456"_s);
    }

    void lengths()
    {
        QCOMPARE(css::lengthOf(u" -.5REM "_s)->number, -0.5);
        QCOMPARE(css::lengthOf(u"-.5REM"_s)->unit, u"rem"_s);
        QCOMPARE(css::lengthOf(u"0"_s)->unit, u"px"_s);
        QVERIFY(!css::lengthOf(u"12"_s));
        QVERIFY(!css::lengthOf(u"px"_s));
        QCOMPARE(css::lengthText(12, u"px"_s), u"12px"_s);
        QCOMPARE(css::lengthText(1.25, u"%"_s), u"1.25%"_s);
        QCOMPARE(css::lengthText(-0.1, u"em"_s), u"-0.1em"_s);
    }

    // A box shorthand's sides as its values give them, and back in the shortest form.
    void boxSides()
    {
        using S = css::BoxSides;
        QCOMPARE(css::boxSides(u" 0  auto "_s), S({u"0"_s, u"auto"_s, u"0"_s, u"auto"_s}));
        QCOMPARE(css::boxSides(u"1px calc(2px + 1em) 3px"_s),
                 S({u"1px"_s, u"calc(2px + 1em)"_s, u"3px"_s, u"calc(2px + 1em)"_s}));
        QCOMPARE(css::boxSides(u"1px 2px 3px 4px"_s), S({u"1px"_s, u"2px"_s, u"3px"_s, u"4px"_s}));
        for (const QString &other :
             {u""_s, u"var(--gap)"_s, u"1px !important"_s, u"unset"_s, u"calc(1px"_s, u"1px)"_s})
            QVERIFY2(!css::boxSides(other), qPrintable(other));
        QCOMPARE(css::boxText({u"1px"_s, u"1px"_s, u"1px"_s, u"1px"_s}), u"1px"_s);
        QCOMPARE(css::boxText({u"0"_s, u"auto"_s, u"0"_s, u"auto"_s}), u"0 auto"_s);
        QCOMPARE(css::boxText({u"1px"_s, u"2px"_s, u"3px"_s, u"2px"_s}), u"1px 2px 3px"_s);
        QCOMPARE(css::boxText({u"1px"_s, u"2px"_s, u"1px"_s, u"4px"_s}), u"1px 2px 1px 4px"_s);
        QCOMPARE(css::boxText({u"1px"_s, u" "_s, u"1px"_s, u"1px"_s}), QString());
    }

    // The first family replaced, the fallbacks kept, quoting as the author quotes.
    void fontFamilies()
    {
        QCOMPARE(css::fontFamilyText(u"Verdana"_s, u"Arial, sans-serif"_s),
                 u"Verdana, sans-serif"_s);
        QCOMPARE(css::fontFamilyText(u"ＭＳ 明朝"_s, u"'a, b', serif"_s), u"'ＭＳ 明朝', serif"_s);
        QCOMPARE(css::fontFamilyText(u"Times New Roman"_s, u""_s), u"\"Times New Roman\""_s);
        QCOMPARE(css::fontFamilyText(u"monospace"_s, u"\"x\""_s), u"monospace"_s);
        QCOMPARE(css::fontFamilyText(u"My \"Font\""_s, u"x"_s), u"\"My \\\"Font\\\"\""_s);
        // The list shows the row's first family: unquoted, unescaped, spaces as one.
        QCOMPARE(css::firstFamily(u" \"My \\\"Font\\\", Arial\" , serif"_s),
                 u"My \"Font\", Arial"_s);
        QCOMPARE(css::firstFamily(u"Times   New Roman, serif"_s), u"Times New Roman"_s);
    }
};

QTEST_GUILESS_MAIN(TestCssValueForms)
#include "tst_cssvalueforms.moc"
