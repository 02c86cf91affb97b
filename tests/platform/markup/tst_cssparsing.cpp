// The CSS reader against the public CSS Syntax conformance data (tests/data/css-parsing-tests,
// see its ORIGIN.txt): every case of every file, the parse rendered in the data's JSON form.
#include "platform/markup/cssbytes.h"
#include "platform/markup/cssparser.h"
#include "platform/markup/cssvalues.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>

using namespace lumipage::css;
using namespace Qt::StringLiterals;

namespace
{

QJsonArray list(std::initializer_list<QJsonValue> items)
{
    return QJsonArray(items);
}

class Renderer
{
public:
    explicit Renderer(const Sheet &sheet) : m_sheet(sheet), m_t(sheet.tokens()) {}

    QJsonArray values(const QList<ComponentValue> &values) const
    {
        QJsonArray out;
        for (const ComponentValue &v : values) {
            out.append(value(v));
            const Token &t = m_t[v.token];
            if (t.unterminated && t.type == TokenType::String)
                out.append(list({u"error"_s, u"eof-in-string"_s}));
            if (t.unterminated && t.type == TokenType::Url)
                out.append(list({u"error"_s, u"eof-in-url"_s}));
        }
        return out;
    }

    QJsonValue value(const ComponentValue &v) const
    {
        const Token &t = m_t[v.token];
        const auto numeric = [&](const QString &kind) {
            QJsonArray a = list({kind, m_sheet.text().sliced(t.start, t.numberEnd - t.start),
                                 t.number, t.integer ? u"integer"_s : u"number"_s});
            if (t.type == TokenType::Dimension)
                a.append(t.value);
            return a;
        };
        const auto block = [&](const QString &kind, QJsonArray head = {}) {
            head.prepend(kind);
            for (const QJsonValue &child : values(v.children))
                head.append(child);
            return head;
        };
        switch (t.type) {
        case TokenType::Ident:
            return list({u"ident"_s, t.value});
        case TokenType::Function:
            return block(u"function"_s, list({t.value}));
        case TokenType::AtKeyword:
            return list({u"at-keyword"_s, t.value});
        case TokenType::Hash:
            return list({u"hash"_s, t.value, t.idHash ? u"id"_s : u"unrestricted"_s});
        case TokenType::String:
            return list({u"string"_s, t.value});
        case TokenType::BadString:
            return list({u"error"_s, u"bad-string"_s});
        case TokenType::Url:
            return list({u"url"_s, t.value});
        case TokenType::BadUrl:
            return list({u"error"_s, u"bad-url"_s});
        case TokenType::Delim:
            return t.value;
        case TokenType::Number:
            return numeric(u"number"_s);
        case TokenType::Percentage:
            return numeric(u"percentage"_s);
        case TokenType::Dimension:
            return numeric(u"dimension"_s);
        case TokenType::UnicodeRange:
            return list({u"unicode-range"_s, double(t.rangeStart), double(t.rangeEnd)});
        case TokenType::IncludeMatch:
            return u"~="_s;
        case TokenType::DashMatch:
            return u"|="_s;
        case TokenType::PrefixMatch:
            return u"^="_s;
        case TokenType::SuffixMatch:
            return u"$="_s;
        case TokenType::SubstringMatch:
            return u"*="_s;
        case TokenType::Column:
            return u"||"_s;
        case TokenType::Whitespace:
            return u" "_s;
        case TokenType::Cdo:
            return u"<!--"_s;
        case TokenType::Cdc:
            return u"-->"_s;
        case TokenType::Colon:
            return u":"_s;
        case TokenType::Semicolon:
            return u";"_s;
        case TokenType::Comma:
            return u","_s;
        case TokenType::LeftBracket:
            return block(u"[]"_s);
        case TokenType::LeftParen:
            return block(u"()"_s);
        case TokenType::LeftBrace:
            return block(u"{}"_s);
        case TokenType::RightBracket:
            return list({u"error"_s, u"]"_s});
        case TokenType::RightParen:
            return list({u"error"_s, u")"_s});
        case TokenType::RightBrace:
            return list({u"error"_s, u"}"_s});
        case TokenType::Comment:
            break;
        }
        return {};
    }

    QJsonArray rule(const Rule &r) const
    {
        const QJsonValue block =
            r.hasBlock ? QJsonValue(values(m_sheet.componentValues(r.blockTokens))) : QJsonValue();
        if (r.at)
            return list({u"at-rule"_s, r.name, values(m_sheet.componentValues(r.prelude)), block});
        return list({u"qualified rule"_s, values(m_sheet.componentValues(r.prelude)), block});
    }

    QJsonArray declaration(const Declaration &d) const
    {
        return list(
            {u"declaration"_s, d.name, values(m_sheet.componentValues(d.value)), d.important});
    }

    // Rules, declarations and errors in the order they stand; switched-off declarations
    // are this editor's reading of comments and not part of the data.
    QJsonArray items(const Block &block) const
    {
        QList<std::pair<qsizetype, QJsonValue>> placed;
        for (const Rule &r : block.rules)
            placed.append({r.start, rule(r)});
        for (const Declaration &d : block.declarations)
            if (!d.disabled)
                placed.append({d.start, declaration(d)});
        for (const ParseError &e : block.errors)
            placed.append({e.start, list({u"error"_s, e.reason})});
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        QJsonArray out;
        for (const auto &p : placed)
            out.append(p.second);
        return out;
    }

    // The one item of a one-rule or one-declaration parse.
    QJsonValue single(const Block &block) const
    {
        const QJsonArray all = items(block);
        return all.isEmpty() ? QJsonValue() : all.first();
    }

private:
    const Sheet &m_sheet;
    const QList<Token> &m_t;
};

// Numbers compare within rounding (the colour channels are divisions).
bool same(const QJsonValue &a, const QJsonValue &b)
{
    if (a.isDouble() && b.isDouble())
        return std::abs(a.toDouble() - b.toDouble()) < 1e-6;
    if (a.isArray() && b.isArray()) {
        const QJsonArray x = a.toArray();
        const QJsonArray y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!same(x[i], y[i]))
                return false;
        return true;
    }
    return a == b;
}

QString show(const QJsonValue &v)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact));
}

QJsonValue parsed(const QString &file, const QJsonValue &input)
{
    if (file == u"stylesheet_bytes") {
        const QJsonObject in = input.toObject();
        const SheetText decoded = decodeSheet(in[u"css_bytes"].toString().toLatin1(),
                                              in[u"protocol_encoding"].toString().toLatin1(),
                                              in[u"environment_encoding"].toString().toLatin1());
        const Sheet sheet(decoded.text);
        return list({Renderer(sheet).items(sheet.parseStylesheet()),
                     QString::fromLatin1(decoded.encoding).toLower()});
    }
    const Sheet sheet(input.toString());
    const Renderer r(sheet);
    if (file == u"component_value_list")
        return r.values(sheet.parseComponentValueList());
    if (file == u"one_component_value") {
        QString reason;
        const auto v = sheet.parseOneComponentValue(&reason);
        return v ? r.values({*v}).first() : list({u"error"_s, reason});
    }
    if (file == u"declaration_list")
        return r.items(sheet.parseDeclarationList());
    if (file == u"one_declaration")
        return r.single(sheet.parseOneDeclaration());
    if (file == u"one_rule")
        return r.single(sheet.parseOneRule());
    if (file == u"rule_list")
        return r.items(sheet.parseRuleList());
    if (file == u"stylesheet")
        return r.items(sheet.parseStylesheet());
    if (file == u"An+B") {
        const auto ab = anPlusB(sheet, sheet.parseComponentValueList());
        return ab ? QJsonValue(list({ab->first, ab->second})) : QJsonValue();
    }
    if (file == u"color3") {
        const auto c = parseColor(sheet, sheet.parseComponentValueList());
        if (!c)
            return {};
        if (c->current)
            return u"currentColor"_s;
        return list({c->red, c->green, c->blue, c->alpha});
    }
    return u"no reader for this file"_s;
}

} // namespace

class TestCssParsing : public QObject
{
    Q_OBJECT

private slots:
    void conformance_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QJsonValue>("input");
        QTest::addColumn<QJsonValue>("expected");
        const QDir dir(QStringLiteral(CSS_PARSING_TESTS));
        const QStringList files = dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 10);
        for (const QString &name : files) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QJsonArray pairs = QJsonDocument::fromJson(file.readAll()).array();
            QVERIFY2(!pairs.isEmpty() && pairs.size() % 2 == 0, qPrintable(name));
            for (qsizetype i = 0; i < pairs.size(); i += 2)
                QTest::addRow("%s #%lld", qPrintable(name), i / 2)
                    << name.chopped(5) << pairs[i] << pairs[i + 1];
        }
    }
    void conformance()
    {
        QFETCH(QString, file);
        QFETCH(QJsonValue, input);
        QFETCH(QJsonValue, expected);
        const QJsonValue actual = parsed(file, input);
        QVERIFY2(same(actual, expected),
                 qPrintable(u"input %1\n   got      %2\n   expected %3"_s.arg(
                     show(input), show(actual), show(expected))));
    }

    // Where each part stands, on a sheet with CRLF line ends, comments round the parts, a
    // switched-off declaration, an @media block and a value cut off by the end.
    void places()
    {
        const QString text = u"@charset \"utf-8\";\r\n"
                             "h1 , .note/* c */{\r\n"
                             "  color : red /* x */ ! IMPORTANT ;\r\n"
                             "  /* margin: 0; */\r\n"
                             "  /* a remark */\r\n"
                             "  background:url(a.png)}\r\n"
                             "@media (max-width: 768px) {\r\n"
                             "  p { font-size: 12px }\r\n"
                             "}\r\n"
                             "em { color: blue"_s;
        const Sheet sheet(text);
        const Block top = sheet.parseStylesheet();
        const auto at = [&](qsizetype a, qsizetype b) { return text.sliced(a, b - a); };
        QCOMPARE(top.rules.size(), 4);
        QVERIFY(top.errors.isEmpty());
        const Rule &h1 = top.rules[1];
        QCOMPARE(at(h1.preludeStart, h1.preludeEnd), u"h1 , .note"_s);
        QCOMPARE(sheet.lineAt(h1.start), 2);
        QCOMPARE(h1.block.declarations.size(), 3);
        const Declaration &color = h1.block.declarations[0];
        QCOMPARE(at(color.start, color.end), u"color : red /* x */ ! IMPORTANT ;"_s);
        QCOMPARE(at(color.valueStart, color.valueEnd), u"red"_s);
        QCOMPARE(at(color.importantStart, color.importantEnd), u"! IMPORTANT"_s);
        QVERIFY(color.important);
        const Declaration &margin = h1.block.declarations[1];
        QVERIFY(margin.disabled);
        QCOMPARE(margin.name, u"margin"_s);
        QCOMPARE(at(margin.commentStart, margin.commentEnd), u"/* margin: 0; */"_s);
        QCOMPARE(at(margin.valueStart, margin.valueEnd), u"0"_s);
        const Declaration &background = h1.block.declarations[2];
        QCOMPARE(at(background.valueStart, background.valueEnd), u"url(a.png)"_s);
        QVERIFY(!background.hasSemicolon);
        QCOMPARE(sheet.lineAt(background.start), 6);

        const Rule &media = top.rules[2];
        QCOMPARE(at(media.preludeStart, media.preludeEnd), u"(max-width: 768px)"_s);
        QCOMPARE(media.block.rules.size(), 1);
        const Declaration &size = media.block.rules[0].block.declarations[0];
        QCOMPARE(at(size.start, size.end), u"font-size: 12px"_s);
        QCOMPARE(sheet.lineAt(size.start), 8);

        const Rule &em = top.rules[3];
        QVERIFY(em.hasBlock);
        QCOMPARE(em.end, text.size());
        QCOMPARE(at(em.block.declarations[0].valueStart, em.block.declarations[0].valueEnd),
                 u"blue"_s);
    }

    // A sheet's text leads back to its bytes in its own encoding, also past characters
    // with two encodings and bytes that are not valid.
    void bytePlaces()
    {
        QByteArray bytes = "@charset \"Shift_JIS\";\n/* \x87\x90 \xED\x40 */ "
                           ".\x8C\xA9\x8Fo { color: red }"; // ≒ (NEC), 纊 (NEC-selected IBM), 見出
        SheetText sheet = decodeSheet(bytes);
        QCOMPARE(sheet.encoding, QByteArray("windows-31j"));
        const qsizetype red = sheet.text.indexOf(u"red");
        QCOMPARE(byteOffset(bytes, sheet, red), bytes.indexOf("red"));
        QCOMPARE(spliceBytes(bytes, sheet, red, red + 3, u"\u9752\u2603"_s),
                 QByteArray(bytes).replace("red", "\x90\xC2\\2603 "));

        bytes = "\xEF\xBB\xBFp{a:\xFF\xFE"
                "b}";
        sheet = decodeSheet(bytes, {}, "windows-31j");
        QCOMPARE(sheet.encoding, QByteArray("UTF-8"));
        const qsizetype b = sheet.text.indexOf(u'b');
        QCOMPARE(byteOffset(bytes, sheet, b), bytes.indexOf('b'));
        QCOMPARE(spliceBytes(bytes, sheet, b, b + 1, u"c"_s), QByteArray(bytes).replace('b', 'c'));
    }
};

QTEST_GUILESS_MAIN(TestCssParsing)
#include "tst_cssparsing.moc"
