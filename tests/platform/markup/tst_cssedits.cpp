// Edits of a sheet's text that change only the declaration or rule concerned: exact texts
// before and after, in sheets, style attributes and a Shift_JIS file.
#include "platform/markup/cssbytes.h"
#include "platform/markup/cssedits.h"
#include "platform/markup/textcodec.h"

#include <QTest>

using namespace lumipage::css;
using namespace Qt::StringLiterals;

namespace
{

// The declaration `property` of the rule whose selector is `selector` (looked for inside
// @media blocks too); an empty selector means the text is a style attribute's value.
struct Target {
    DeclarationBlock block;
    Declaration declaration;
};
std::optional<Target> find(const QString &text, const QString &selector, const QString &property)
{
    const Sheet sheet(text);
    QList<DeclarationBlock> blocks;
    if (selector.isEmpty()) {
        blocks.append(attributeBlock(sheet));
    } else {
        std::function<void(const QList<Rule> &)> walk = [&](const QList<Rule> &rules) {
            for (const Rule &r : rules) {
                if (!r.at && text.sliced(r.preludeStart, r.preludeEnd - r.preludeStart) == selector)
                    blocks.append(blockOf(r));
                walk(r.block.rules);
            }
        };
        walk(sheet.parseStylesheet().rules);
    }
    for (const DeclarationBlock &b : blocks) {
        if (property.isEmpty())
            return Target{b, {}};
        for (const Declaration &d : b.declarations)
            if (d.name == property)
                return Target{b, d};
    }
    return std::nullopt;
}

const QString kNotOneValue = u"ひとつの値として読めません。括弧や引用符が閉じているか、"
                             "「;」「{」「}」が入っていないかを確かめてください。"_s;

} // namespace

class TestCssEdits : public QObject
{
    Q_OBJECT

private slots:
    // Each edit on one declaration: the text after, or the reason it was refused.
    void declarationEdits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected"); // the text after, or "!" and the problem

        const QString crlf = u"p {\r\n  color: red;\r\n  margin: 0 auto ! important;\r\n}\r\n"_s;
        QTest::newRow("set keeps the author's !important and CRLF")
            << crlf << u"p"_s << u"margin"_s << u"set"_s << u"1px"_s
            << u"p {\r\n  color: red;\r\n  margin: 1px ! important;\r\n}\r\n"_s;
        QTest::newRow("set with !important replaces the author's")
            << crlf << u"p"_s << u"margin"_s << u"set"_s << u"2px !IMPORTANT"_s
            << u"p {\r\n  color: red;\r\n  margin: 2px !IMPORTANT;\r\n}\r\n"_s;
        QTest::newRow("set inside a switched-off declaration")
            << u"a { /* color: red; */ }"_s << u"a"_s << u"color"_s << u"set"_s << u"blue"_s
            << u"a { /* color: blue; */ }"_s;
        QTest::newRow("set in an attribute")
            << u"color:red;font-size : 12px"_s << QString() << u"font-size"_s << u"set"_s
            << u"14px"_s << u"color:red;font-size : 14px"_s;
        QTest::newRow("set a function value")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u"rgb(0, 0, 0)"_s
            << u"p {\r\n  color: rgb(0, 0, 0);\r\n  margin: 0 auto ! important;\r\n}\r\n"_s;
        QTest::newRow("a stray parenthesis is refused")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u"red)"_s << u"!"_s + kNotOneValue;
        QTest::newRow("a value that would end the declaration is refused")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u"red; background: blue"_s
            << u"!"_s + kNotOneValue;
        QTest::newRow("a brace is refused")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u"red } p {"_s << u"!"_s + kNotOneValue;
        QTest::newRow("an open url is refused")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u"url(a.png"_s << u"!"_s + kNotOneValue;
        QTest::newRow("an empty value is refused")
            << crlf << u"p"_s << u"color"_s << u"set"_s << u" !important"_s
            << u"!値を入力してください。"_s;

        QTest::newRow("add copies indentation and separator")
            << u"h1 {\r\n    color : red;\r\n    margin : 0;\r\n}\r\n"_s << u"h1"_s << QString()
            << u"add padding"_s << u"4px"_s
            << u"h1 {\r\n    color : red;\r\n    margin : 0;\r\n    padding : 4px;\r\n}\r\n"_s;
        QTest::newRow("add after a last declaration without ';'")
            << u"p { color: red }"_s << u"p"_s << QString() << u"add margin"_s << u"0"_s
            << u"p { color: red; margin: 0 }"_s;
        QTest::newRow("add in a compact rule")
            << u"p{color:red;font:x}"_s << u"p"_s << QString() << u"add margin"_s << u"0"_s
            << u"p{color:red;font:x;margin:0}"_s;
        QTest::newRow("add after a switched-off declaration")
            << u"p {\n  color: red;\n  /* margin: 0; */\n}"_s << u"p"_s << QString()
            << u"add padding"_s << u"1px"_s
            << u"p {\n  color: red;\n  /* margin: 0; */\n  padding: 1px;\n}"_s;
        QTest::newRow("add to an empty block")
            << u"p {}"_s << u"p"_s << QString() << u"add margin"_s << u"0"_s
            << u"p { margin: 0; }"_s;
        QTest::newRow("add to an empty block over lines")
            << u"  p {\n  }"_s << u"p"_s << QString() << u"add margin"_s << u"0"_s
            << u"  p {\n      margin: 0;\n  }"_s;
        QTest::newRow("add to an empty attribute")
            << QString() << QString() << QString() << u"add margin"_s << u"0"_s << u"margin: 0;"_s;
        QTest::newRow("add to an attribute")
            << u"color: red"_s << QString() << QString() << u"add margin"_s << u"0"_s
            << u"color: red; margin: 0"_s;
        QTest::newRow("a name that is not one is refused")
            << u"p {}"_s << u"p"_s << QString() << u"add mar gin"_s << u"0"_s
            << u"!プロパティ名として使えない文字が入っています。"_s;

        const QString lines = u"p {\n  color: red;\n  margin: 0;\n}"_s;
        QTest::newRow("remove the first of several lines")
            << lines << u"p"_s << u"color"_s << u"remove"_s << QString()
            << u"p {\n  margin: 0;\n}"_s;
        QTest::newRow("remove the last of several lines")
            << lines << u"p"_s << u"margin"_s << u"remove"_s << QString()
            << u"p {\n  color: red;\n}"_s;
        const QString line = u"p { color: red; margin: 0 }"_s;
        QTest::newRow("remove the first on one line")
            << line << u"p"_s << u"color"_s << u"remove"_s << QString() << u"p { margin: 0 }"_s;
        QTest::newRow("remove the last on one line")
            << line << u"p"_s << u"margin"_s << u"remove"_s << QString() << u"p { color: red; }"_s;
        QTest::newRow("remove a switched-off one")
            << u"p { color: red; /* margin: 0; */ }"_s << u"p"_s << u"margin"_s << u"remove"_s
            << QString() << u"p { color: red; }"_s;
        QTest::newRow("remove the first in an attribute")
            << u"color: red; margin: 0"_s << QString() << u"color"_s << u"remove"_s << QString()
            << u"margin: 0"_s;

        QTest::newRow("switch off") << line << u"p"_s << u"color"_s << u"off"_s << QString()
                                    << u"p { /* color: red; */ margin: 0 }"_s;
        QTest::newRow("switch off without ';' adds one inside")
            << line << u"p"_s << u"margin"_s << u"off"_s << QString()
            << u"p { color: red; /* margin: 0; */ }"_s;
        QTest::newRow("switch on")
            << u"p { /*color:red !important;*/ margin: 0 }"_s << u"p"_s << u"color"_s << u"on"_s
            << QString() << u"p { color:red !important; margin: 0 }"_s;
        QTest::newRow("a declaration holding a comment cannot be switched off")
            << u"p { color: red /* brand */; }"_s << u"p"_s << u"color"_s << u"off"_s << QString()
            << u"!この宣言の中にコメント（/* */）があるため、コメントにしてオフにすることはで"
               "きません。"_s;
    }
    void declarationEdits()
    {
        QFETCH(QString, text);
        QFETCH(QString, selector);
        QFETCH(QString, property);
        QFETCH(QString, operation);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        const auto target = find(text, selector, property);
        QVERIFY(target);
        Edit edit;
        if (operation == u"set")
            edit = setValue(target->declaration, value);
        else if (operation.startsWith(u"add "))
            edit = addDeclaration(text, target->block, operation.mid(4), value);
        else if (operation == u"remove")
            edit = removeDeclaration(text, target->block, target->declaration);
        else if (operation == u"off")
            edit = switchOff(text, target->declaration);
        else
            edit = switchOn(text, target->declaration);
        if (expected.startsWith(u'!')) {
            QCOMPARE(edit.problem, expected.mid(1));
            QCOMPARE(applied(text, edit), text);
        } else {
            QCOMPARE(edit.problem, QString());
            QCOMPARE(applied(text, edit), expected);
        }
    }

    // Switching a declaration off and on again gives back the author's bytes.
    void switchingOffAndOnRoundTrips()
    {
        const QString text = u"a {\r\n\tcolor: red;\r\n\tfont: 12px/1.5 \"ＭＳ ゴシック\";\r\n}"_s;
        QString now = text;
        for (const QString &property : {u"color"_s, u"font"_s}) {
            now = applied(now, switchOff(now, find(now, u"a"_s, property)->declaration));
            QVERIFY(find(now, u"a"_s, property)->declaration.disabled);
        }
        for (const QString &property : {u"font"_s, u"color"_s})
            now = applied(now, switchOn(now, find(now, u"a"_s, property)->declaration));
        QCOMPARE(now, text);
    }

    void rules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("expected");
        QTest::newRow("after the last rule, blank line as the sheet has them")
            << u"h1 {\r\n  color: red;\r\n}\r\n\r\np {\r\n  margin: 0;\r\n}\r\n"_s << u".note"_s
            << QString()
            << u"h1 {\r\n  color: red;\r\n}\r\n\r\np {\r\n  margin: 0;\r\n}\r\n\r\n.note {\r\n  "
               "color: blue;\r\n}\r\n"_s;
        QTest::newRow("one-line rules, no final line end")
            << u"a { color: red }"_s << u"#top"_s << QString()
            << u"a { color: red }\n#top { color: blue; }"_s;
        QTest::newRow("into the @media block with that condition")
            << u"@media (max-width: 768px) {\n  p {\n    margin: 0;\n  }\n}\n"_s << u".x"_s
            << u"(max-width:768px)"_s
            << u"@media (max-width: 768px) {\n  p {\n    margin: 0;\n  }\n  .x {\n    color: "
               "blue;\n  }\n}\n"_s;
        QTest::newRow("a new @media block when none has the condition")
            << u"@media print {\n  p { margin: 0 }\n}\n"_s << u".x"_s << u"(max-width: 375px)"_s
            << u"@media print {\n  p { margin: 0 }\n}\n@media (max-width: 375px) {\n  .x { "
               "color: blue; }\n}\n"_s;
        QTest::newRow("into an empty sheet")
            << QString() << u"p"_s << QString() << u"p {\n    color: blue;\n}\n"_s;
        QTest::newRow("a selector that opens a block is refused")
            << u"a {}"_s << u"a {"_s << QString() << u"!セレクタとして読めません。"_s;
        QTest::newRow("a condition left open is refused")
            << u"a {}"_s << u"a"_s << u"(max-width: 1px"_s
            << u"!メディアの条件として読めません。"_s;
    }
    void rules()
    {
        QFETCH(QString, text);
        QFETCH(QString, selector);
        QFETCH(QString, media);
        QFETCH(QString, expected);
        const Edit edit =
            addRule(text, Sheet(text).parseStylesheet(), selector, u"color"_s, u"blue"_s, media);
        QCOMPARE(edit.problem, expected.startsWith(u'!') ? expected.mid(1) : QString());
        if (edit.problem.isEmpty())
            QCOMPARE(applied(text, edit), expected);
    }

    // A Shift_JIS sheet with CRLF line ends and characters with two encodings: a value set
    // changes only its own bytes, and a character the encoding lacks is escaped.
    void shiftJisSheetChangesOnlyTheValue()
    {
        const QByteArray bytes =
            "/* \x8C\xA9\x8Fo\x82\xB5 \x87\x90 */\r\n"
            "h1 {\r\n\tfont-family: \"\x82\x6C\x82\x72 \x83S\x83V\x83\x62\x83N\";"
            "\r\n\tcolor: #333;\r\n}\r\n";
        const SheetText sheet = decodeSheet(bytes, {}, "windows-31j");
        QCOMPARE(sheet.encoding, QByteArray("windows-31j"));
        const auto target = find(sheet.text, u"h1"_s, u"font-family"_s);
        QVERIFY(target);
        const Edit edit = setValue(target->declaration, u"\"游ゴシック\", \u2603"_s);
        const QByteArray after = spliceBytes(bytes, sheet, edit.start, edit.end, edit.text);
        const QByteArray written = "\"\x82\x6C\x82\x72 \x83S\x83V\x83\x62\x83N\"";
        QByteArray expected = bytes;
        expected.replace(
            written, lumipage::textcodec::encode(u"\"游ゴシック\", "_s, "windows-31j") + "\\2603 ");
        QCOMPARE(after, expected);
        QCOMPARE(decodeSheet(after, {}, "windows-31j").text,
                 applied(sheet.text, edit).replace(u"\u2603"_s, u"\\2603 "_s));
    }

    void selectors()
    {
        QCOMPARE(classSelector(u"見出し"_s), u".見出し"_s);
        QCOMPARE(classSelector(u"1col"_s), u".\\31 col"_s);
        QCOMPARE(idSelector(u"a.b:c"_s), u"#a\\.b\\:c"_s);
        QCOMPARE(idSelector(u"-2x"_s), u"#-\\32 x"_s);
    }
};

QTEST_GUILESS_MAIN(TestCssEdits)
#include "tst_cssedits.moc"
