// The cascade the style panel shows, from a page's answer as the runtime gives it, and the
// specificity it orders by.
#include "platform/markup/cssspecificity.h"
#include "styles/stylecascade.h"

#include <QTest>

using namespace lumipage;
using namespace Qt::StringLiterals;

namespace
{

QVariantMap match(int sheet, QList<int> path, const QString &selectorText,
                  const QStringList &selectors, int order)
{
    QVariantList steps;
    for (int step : path)
        steps.append(step);
    return {{u"sheet"_s, sheet},
            {u"path"_s, steps},
            {u"selectorText"_s, selectorText},
            {u"selectors"_s, selectors},
            {u"media"_s, QVariantList()},
            {u"order"_s, order}};
}

} // namespace

class TestStyleCascade : public QObject
{
    Q_OBJECT

private slots:
    void specificity_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("type") << u"h1"_s << QList<int>{0, 0, 1};
        QTest::newRow("compound") << u"ul li.item:hover > a[href]"_s << QList<int>{0, 3, 3};
        QTest::newRow("id and pseudo-element") << u"#top::before"_s << QList<int>{1, 0, 1};
        QTest::newRow("legacy pseudo-element") << u"p:first-line"_s << QList<int>{0, 0, 2};
        QTest::newRow(":not counts its argument") << u"a:not(#x, .y)"_s << QList<int>{1, 0, 1};
        QTest::newRow(":where counts nothing") << u":where(#x) p"_s << QList<int>{0, 0, 1};
        QTest::newRow("universal") << u"* + *"_s << QList<int>{0, 0, 0};
    }
    void specificity()
    {
        QFETCH(QString, selector);
        QFETCH(QList<int>, expected);
        const css::Specificity s = css::specificity(selector);
        QCOMPARE((QList<int>{s.ids, s.classes, s.elements}), expected);
    }

    // One element and its parent: a specificity tie goes to the later rule, !important
    // beats the style attribute, a switched-off declaration decides nothing, a rule the
    // engine left out (a bad selector) does not shift the others, presentational attributes
    // come last with their CSS, and only inherited properties come from the parent.
    void cascade()
    {
        const QString sheet = u"@charset \"utf-8\";\n"
                              "p:bad { color: pink }\n"
                              ".a { color: red; margin: 0 !important }\n"
                              ".b { color: blue; /* margin: 9px; */ }\n"
                              "div { color: gray; margin: 4px }\n"_s;
        const QVariantMap answer = {
            {u"sheets"_s, QVariantList{QVariantMap{{u"kind"_s, u"link"_s}}}},
            {u"chain"_s,
             QVariantList{
                 QVariantMap{
                     {u"ordinal"_s, 7},
                     {u"tag"_s, u"FONT"_s},
                     {u"style"_s, u"margin: 2px"_s},
                     {u"presentational"_s, QVariantList{QVariantList{u"color"_s, u"#f00"_s}}},
                     {u"rules"_s, QVariantList{match(0, {0}, u".a"_s, {u".a"_s}, 0),
                                               match(0, {1}, u".b"_s, {u".b"_s}, 1)}}},
                 QVariantMap{{u"ordinal"_s, 6},
                             {u"tag"_s, u"DIV"_s},
                             {u"id"_s, u"box"_s},
                             {u"rules"_s, QVariantList{match(0, {2}, u"div"_s, {u"div"_s}, 2)}}}}}};
        const auto rows = styles::cascadeRows(answer, [&](int, const QVariantMap &) {
            styles::SheetSource source;
            source.text = sheet;
            source.label = u"s.css"_s;
            return std::optional(source);
        });
        QStringList shown;
        for (const styles::StyleRow &r : rows)
            shown << u"%1|%2|%3|%4%5%6%7"_s.arg(r.inherited, r.selector, r.place, r.property)
                         .arg(r.overridden ? u" ×"_s : u""_s, r.disabled ? u" off"_s : u""_s,
                              r.equivalent.isEmpty() ? QString() : u" = "_s + r.equivalent);
        QCOMPARE(shown, QStringList({u"|style 属性|要素の属性|margin ×"_s, u"|.b|s.css:4|color"_s,
                                     u"|.b|s.css:4|margin off"_s, u"|.a|s.css:3|color ×"_s,
                                     u"|.a|s.css:3|margin"_s,
                                     u"|<FONT COLOR>|要素の属性|color × = color: #f00"_s,
                                     u"DIV#box|div|s.css:5|color ×"_s}));
    }

    // A shorthand set later or more strongly overrides the longhands it sets, on the
    // element and from an ancestor; a longhand set after the shorthand wins.
    void shorthands()
    {
        const QString sheet = u"#x { margin: 0; font: 12px serif }\n"
                              ".a { margin-top: 4px; padding: 1px; line-height: 2 }\n"
                              ".b { padding-left: 3px }\n"
                              "div { font-size: 20px }\n"_s;
        const QVariantMap answer = {
            {u"sheets"_s, QVariantList{QVariantMap{{u"kind"_s, u"link"_s}}}},
            {u"chain"_s,
             QVariantList{
                 QVariantMap{{u"ordinal"_s, 2},
                             {u"tag"_s, u"P"_s},
                             {u"rules"_s, QVariantList{match(0, {0}, u"#x"_s, {u"#x"_s}, 0),
                                                       match(0, {1}, u".a"_s, {u".a"_s}, 1),
                                                       match(0, {2}, u".b"_s, {u".b"_s}, 2)}}},
                 QVariantMap{{u"ordinal"_s, 1},
                             {u"tag"_s, u"DIV"_s},
                             {u"rules"_s, QVariantList{match(0, {3}, u"div"_s, {u"div"_s}, 3)}}}}}};
        const auto rows = styles::cascadeRows(answer, [&](int, const QVariantMap &) {
            styles::SheetSource source;
            source.text = sheet;
            source.label = u"s.css"_s;
            return std::optional(source);
        });
        QStringList overridden;
        for (const styles::StyleRow &r : rows)
            if (r.overridden)
                overridden << r.selector + u' ' + r.property;
        QCOMPARE(overridden,
                 QStringList({u".a margin-top"_s, u".a line-height"_s, u"div font-size"_s}));
    }

    // A sheet on a server is listed, read only with the reason, once; a local one is not.
    void serverSheets()
    {
        const QVariantMap answer = {
            {u"sheets"_s,
             QVariantList{
                 QVariantMap{{u"kind"_s, u"link"_s}, {u"href"_s, u"lumipage-doc:///site/a.css"_s}},
                 QVariantMap{{u"kind"_s, u"link"_s}, {u"href"_s, u"https://example.com/b.css"_s}}}},
            {u"chain"_s, QVariantList{QVariantMap{{u"ordinal"_s, 1}, {u"tag"_s, u"P"_s}},
                                      QVariantMap{{u"ordinal"_s, 0}, {u"tag"_s, u"BODY"_s}}}}};
        const auto rows = styles::cascadeRows(
            answer, [](int, const QVariantMap &) { return std::optional<styles::SheetSource>(); });
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].place, u"https://example.com/b.css"_s);
        QCOMPARE(rows[0].sheet, 1);
        QVERIFY(rows[0].readOnlyReason.contains(u"サーバー上"_s));
        QVERIFY(rows[0].property.isEmpty());
    }

    void equivalents()
    {
        QCOMPARE(styles::cssEquivalent(u"FONT"_s, u"size"_s, u"+1"_s), u"font-size: large"_s);
        QCOMPARE(styles::cssEquivalent(u"TD"_s, u"bgcolor"_s, u"#fff"_s),
                 u"background-color: #fff"_s);
        QCOMPARE(styles::cssEquivalent(u"IMG"_s, u"align"_s, u"LEFT"_s), u"float: left"_s);
        QCOMPARE(styles::cssEquivalent(u"TABLE"_s, u"width"_s, u"80"_s), u"width: 80px"_s);
    }
};

QTEST_GUILESS_MAIN(TestStyleCascade)
#include "tst_stylecascade.moc"
