#include "platform/markup/cssedits.h"

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace lumipage::css
{

namespace
{

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}
bool onlySpace(QStringView s)
{
    return std::all_of(s.begin(), s.end(), isSpace);
}

qsizetype itemStart(const Declaration &d)
{
    return d.disabled ? d.commentStart : d.start;
}
qsizetype itemEnd(const Declaration &d)
{
    return d.disabled ? d.commentEnd : d.end;
}

Edit refused(const QString &problem)
{
    Edit e;
    e.problem = problem;
    return e;
}

QString lineEndOf(const QString &text)
{
    return text.contains(u"\r\n") ? u"\r\n"_s : u"\n"_s;
}

// The white space a line starts with, for the line holding `offset`.
QString indentAt(const QString &text, qsizetype offset)
{
    qsizetype begin = offset;
    while (begin > 0 && text[begin - 1] != u'\n' && text[begin - 1] != u'\r')
        --begin;
    qsizetype end = begin;
    while (end < text.size() && (text[end] == u' ' || text[end] == u'\t'))
        ++end;
    return text.sliced(begin, end - begin);
}

// Whether the text would reach beyond where it is put: a ';' or brace that ends what holds
// it, a closing bracket without its opening one, or a string, url, comment, bracket or
// function left open.
bool breaksOut(const QString &text)
{
    const Sheet sheet(text);
    for (const Token &t : sheet.tokens())
        if (t.unterminated || t.type == TokenType::BadString || t.type == TokenType::BadUrl ||
            t.type == TokenType::Semicolon || t.type == TokenType::LeftBrace ||
            t.type == TokenType::RightBrace || t.type == TokenType::Cdo || t.type == TokenType::Cdc)
            return true;
    // A closing bracket that stands as a value of its own closes nothing.
    std::function<bool(const QList<ComponentValue> &)> balanced = [&](const auto &values) {
        return std::all_of(values.begin(), values.end(), [&](const ComponentValue &v) {
            const TokenType type = sheet.tokens()[v.token].type;
            return v.closed && type != TokenType::RightParen && type != TokenType::RightBracket &&
                   balanced(v.children);
        });
    };
    return !balanced(sheet.parseComponentValueList());
}

const QString kEmptyValue = u"値を入力してください。"_s;
const QString kNotOneValue = u"ひとつの値として読めません。括弧や引用符が閉じているか、"
                             "「;」「{」「}」が入っていないかを確かめてください。"_s;
const QString kComment = u"値にコメント（/* */）は入れられません。"_s;
const QString kBadName = u"プロパティ名として使えない文字が入っています。"_s;
const QString kBadSelector = u"セレクタとして読めません。"_s;
const QString kBadMedia = u"メディアの条件として読めません。"_s;
const QString kHasComment =
    u"この宣言の中にコメント（/* */）があるため、コメントにしてオフにすることはできません。"_s;

// Whether the value, read after `x:`, ends in "!important".
bool endsImportant(const QString &value)
{
    const Block b = Sheet(u"x:"_s + value).parseOneDeclaration();
    return !b.declarations.isEmpty() && b.declarations.front().important;
}

// The white space before `offset` when the offset starts its line after it.
std::optional<QString> lineIndent(const QString &text, qsizetype offset)
{
    qsizetype begin = offset;
    while (begin > 0 && (text[begin - 1] == u' ' || text[begin - 1] == u'\t'))
        --begin;
    if (begin == offset || (begin > 0 && text[begin - 1] != u'\n' && text[begin - 1] != u'\r'))
        return std::nullopt;
    return text.sliced(begin, offset - begin);
}

// How far the sheet's first declaration that starts a line stands in from its rule.
std::optional<QString> declarationIndent(const QString &text, const QList<Rule> &rules)
{
    for (const Rule &r : rules) {
        const QString outer = indentAt(text, r.start);
        for (const Declaration &d : r.block.declarations)
            if (auto indent = lineIndent(text, itemStart(d));
                indent && indent->startsWith(outer) && indent->size() > outer.size())
                return indent->mid(outer.size());
        if (auto nested = declarationIndent(text, r.block.rules))
            return nested;
    }
    return std::nullopt;
}

} // namespace

QString applied(const QString &text, const Edit &edit)
{
    if (!edit.problem.isEmpty())
        return text;
    return text.first(edit.start) + edit.text + text.sliced(edit.end);
}

DeclarationBlock blockOf(const Rule &rule)
{
    return {rule.blockStart, rule.blockEnd, rule.block.declarations};
}

DeclarationBlock attributeBlock(const Sheet &attributeValue)
{
    return {0, attributeValue.text().size(), attributeValue.parseDeclarationList().declarations};
}

QString valueProblem(const QString &value)
{
    if (value.trimmed().isEmpty())
        return kEmptyValue;
    if (value.contains(u"/*") || value.contains(u"*/"))
        return kComment;
    if (breaksOut(value))
        return kNotOneValue;
    const Block read = Sheet(u"x:"_s + value).parseOneDeclaration();
    if (read.declarations.isEmpty())
        return kNotOneValue;
    if (read.declarations.front().valueStart == read.declarations.front().valueEnd)
        return kEmptyValue;
    return {};
}

Edit setValue(const Declaration &d, const QString &value)
{
    if (const QString problem = valueProblem(value); !problem.isEmpty())
        return refused(problem);
    const qsizetype end = endsImportant(value) && d.important ? d.importantEnd : d.valueEnd;
    return {d.valueStart, end, value.trimmed(), {}};
}

Edit addDeclaration(const QString &text, const DeclarationBlock &block, const QString &name,
                    const QString &value)
{
    if (!isPlainIdentifier(name))
        return refused(kBadName);
    if (const QString problem = valueProblem(value); !problem.isEmpty())
        return refused(problem);
    const QList<Declaration> &all = block.declarations;
    QString separator = u": "_s;
    for (const Declaration &d : all)
        if (!d.disabled)
            separator = text.sliced(d.nameEnd, d.valueStart - d.nameEnd);
    if (!onlySpace(QString(separator).remove(u':')))
        separator = u": "_s;
    const bool isAttribute = block.start == 0 && block.end == text.size();

    if (all.isEmpty()) {
        const QString inside = text.sliced(block.start, block.end - block.start);
        const QString declaration = name + separator + value.trimmed() + u';';
        if (isAttribute || !onlySpace(inside))
            return {block.start, block.start, declaration, {}};
        if (inside.contains(u'\n') || inside.contains(u'\r')) {
            const QString gap = lineEndOf(text) + indentAt(text, block.start) + u"    "_s;
            return {block.start, block.start, gap + declaration, {}};
        }
        return {block.start,
                block.start,
                u' ' + declaration + (inside.isEmpty() ? u" "_s : QString()),
                {}};
    }
    const Declaration &last = all.back();
    const qsizetype lastStart = itemStart(last);
    const qsizetype before = all.size() > 1 ? itemEnd(all[all.size() - 2]) : block.start;
    QString gap = text.sliced(before, lastStart - before);
    if (!onlySpace(gap) || (isAttribute && all.size() == 1))
        gap = u" "_s; // before an attribute's only declaration is no separator to copy
    const bool lastHasSemicolon = last.disabled || last.hasSemicolon;
    const QString declaration = name + separator + value.trimmed();
    return {itemEnd(last),
            itemEnd(last),
            (lastHasSemicolon ? u""_s : u";"_s) + gap + declaration +
                (lastHasSemicolon ? u";"_s : u""_s),
            {}};
}

Edit removeDeclaration(const QString &text, const DeclarationBlock &block, const Declaration &d)
{
    qsizetype start = itemStart(d);
    qsizetype end = itemEnd(d);
    const bool first =
        !block.declarations.isEmpty() && itemStart(block.declarations.front()) == start;
    const bool last = !block.declarations.isEmpty() && itemEnd(block.declarations.back()) == end;
    if (first && !last) {
        while (end < block.end && isSpace(text[end]))
            ++end;
    } else {
        while (start > block.start && isSpace(text[start - 1]))
            --start;
    }
    return {start, end, {}, {}};
}

Edit switchOff(const QString &text, const Declaration &d)
{
    if (d.disabled)
        return {d.start, d.start, {}, {}};
    const QString written = text.sliced(d.start, d.end - d.start);
    if (written.contains(u"/*") || written.contains(u"*/"))
        return refused(kHasComment);
    return {d.start, d.end, u"/* "_s + written + (d.hasSemicolon ? u""_s : u";"_s) + u" */"_s, {}};
}

Edit switchOn(const QString &text, const Declaration &d)
{
    if (!d.disabled)
        return {d.start, d.start, {}, {}};
    return {d.commentStart, d.commentEnd, text.sliced(d.start, d.end - d.start), {}};
}

Edit addRule(const QString &text, const Block &sheet, const QString &selector, const QString &name,
             const QString &value, const QString &media)
{
    if (selector.trimmed().isEmpty() || selector.trimmed().startsWith(u'@') ||
        breaksOut(selector) || selector.contains(u"/*"))
        return refused(kBadSelector);
    if (!isPlainIdentifier(name))
        return refused(kBadName);
    if (const QString problem = valueProblem(value); !problem.isEmpty())
        return refused(problem);

    const QString nl = lineEndOf(text);
    const QString indent = declarationIndent(text, sheet.rules).value_or(u"    "_s);
    // One line when the sheet's last style rule (in a block or not) is written on one line.
    bool oneLine = false;
    const auto lastStyleRule = [&](const QList<Rule> &rules) {
        for (const Rule &r : rules)
            if (!r.at && r.hasBlock && !r.block.declarations.isEmpty()) {
                const QString inside = text.sliced(r.blockStart, r.blockEnd - r.blockStart);
                oneLine = !inside.contains(u'\n') && !inside.contains(u'\r');
            }
    };
    for (const Rule &r : sheet.rules)
        lastStyleRule(r.at ? r.block.rules : QList<Rule>{r});
    const QString declaration = name + u": "_s + value.trimmed() + u';';
    const auto ruleText = [&](const QString &outer) {
        if (oneLine)
            return outer + selector.trimmed() + u" { "_s + declaration + u" }"_s;
        return outer + selector.trimmed() + u" {"_s + nl + outer + indent + declaration + nl +
               outer + u'}';
    };

    // Conditions compare by their tokens, so "(max-width:768px)" is "(max-width: 768px)".
    const auto normal = [](const QString &s) {
        QString out;
        for (const Token &t : tokenize(s))
            if (t.type != TokenType::Whitespace && t.type != TokenType::Comment)
                out += s.sliced(t.start, t.end - t.start).toLower() + u'\x01';
        return out;
    };
    // Rules inside a block are indented as in the sheet's other blocks that hold rules.
    QString nested = indent;
    for (const Rule &r : sheet.rules)
        if (r.at && r.hasBlock && !r.block.rules.isEmpty()) {
            const QString outer = indentAt(text, r.start);
            const QString inner = indentAt(text, r.block.rules.front().start);
            if (inner.startsWith(outer) && inner.size() > outer.size())
                nested = inner.mid(outer.size());
        }
    if (!media.isEmpty()) {
        if (breaksOut(media) || media.contains(u"/*"))
            return refused(kBadMedia);
        for (qsizetype i = sheet.rules.size() - 1; i >= 0; --i) {
            const Rule &r = sheet.rules[i];
            if (!r.at || r.name.compare(u"media", Qt::CaseInsensitive) != 0 || !r.hasBlock ||
                normal(text.sliced(r.preludeStart, r.preludeEnd - r.preludeStart)) != normal(media))
                continue;
            const qsizetype at = r.block.rules.isEmpty() ? r.blockStart : r.block.rules.back().end;
            const QString inner = r.block.rules.isEmpty()
                                      ? indentAt(text, r.start) + nested
                                      : indentAt(text, r.block.rules.back().start);
            return {at, at, nl + ruleText(inner), {}};
        }
    }
    QString lead;
    if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r'))
        lead = nl;
    // A blank line before the new rule when the sheet sets its rules apart so.
    if (sheet.rules.size() >= 2) {
        const Rule &a = sheet.rules[sheet.rules.size() - 2];
        const Rule &b = sheet.rules.back();
        if (text.sliced(a.end, b.start - a.end).count(u'\n') >= 2)
            lead += nl;
    }
    const QString body = media.isEmpty() ? ruleText({})
                                         : u"@media "_s + media.trimmed() + u" {"_s + nl +
                                               ruleText(nested) + nl + u'}';
    const bool endsLine = text.endsWith(u'\n') || text.endsWith(u'\r');
    const QString trail = text.isEmpty() || endsLine ? nl : QString();
    return {text.size(), text.size(), lead + body + trail, {}};
}

namespace
{

// An identifier as CSS writes it: characters that cannot stand as they are escaped.
QString identifier(const QString &name)
{
    QString out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool digit = c >= '0' && c <= '9';
        if (c == 0) {
            out += QChar(0xFFFD);
        } else if ((c >= 1 && c <= 0x1F) || c == 0x7F || (digit && i == 0) ||
                   (digit && i == 1 && name[0] == u'-')) {
            out += u'\\' + QString::number(c, 16) + u' ';
        } else if (c == '-' && i == 0 && name.size() == 1) {
            out += u"\\-"_s;
        } else if (c >= 0x80 || c == '-' || c == '_' || digit || (c >= 'a' && c <= 'z') ||
                   (c >= 'A' && c <= 'Z')) {
            out += QChar(c);
        } else {
            out += u'\\' + QChar(c);
        }
    }
    return out;
}

} // namespace

QString classSelector(const QString &className)
{
    return u'.' + identifier(className);
}
QString idSelector(const QString &id)
{
    return u'#' + identifier(id);
}

} // namespace lumipage::css
