#include "platform/markup/cssruleparser.h"

using namespace Qt::StringLiterals;

namespace lumipage::css
{

namespace
{
bool isAsciiCaseless(const QString &s, QLatin1StringView word)
{
    if (s.size() != word.size())
        return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char16_t c = s[i].unicode();
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        if (c != char16_t(word[i].unicode()))
            return false;
    }
    return true;
}

// At-rules whose block holds rules, and those whose block holds declarations; any other
// at-rule's block is kept as it stands.
bool holdsRules(const QString &name)
{
    static const QLatin1StringView names[] = {
        "media"_L1,     "supports"_L1,  "document"_L1,          "-moz-document"_L1, "layer"_L1,
        "container"_L1, "keyframes"_L1, "-webkit-keyframes"_L1, "scope"_L1};
    return std::any_of(std::begin(names), std::end(names),
                       [&](QLatin1StringView n) { return isAsciiCaseless(name, n); });
}
bool holdsDeclarations(const QString &name)
{
    static const QLatin1StringView names[] = {"font-face"_L1,     "page"_L1,
                                              "counter-style"_L1, "property"_L1,
                                              "viewport"_L1,      "font-palette-values"_L1};
    return std::any_of(std::begin(names), std::end(names),
                       [&](QLatin1StringView n) { return isAsciiCaseless(name, n); });
}

} // namespace

bool isOpening(TokenType t)
{
    return t == TokenType::Function || t == TokenType::LeftParen || t == TokenType::LeftBracket ||
           t == TokenType::LeftBrace;
}

void RuleParser::ruleList(int i, int end, bool topLevel, Block &out) const
{
    while (i < end) {
        const TokenType t = type(i);
        if (isBlank(i) || (topLevel && (t == TokenType::Cdo || t == TokenType::Cdc))) {
            ++i;
        } else if (t == TokenType::AtKeyword) {
            out.rules.append(atRule(i, end, &i));
        } else if (auto rule = qualifiedRule(i, end, &i)) {
            out.rules.append(*rule);
        } else {
            out.errors.append({m_t[i].start, u"invalid"_s});
            i = end;
        }
    }
}

Rule RuleParser::atRule(int i, int end, int *next) const
{
    Rule rule;
    rule.at = true;
    rule.name = m_t[i].value;
    rule.start = m_t[i].start;
    int j = i + 1;
    while (j < end && type(j) != TokenType::Semicolon && type(j) != TokenType::LeftBrace)
        j = afterComponent(j, end);
    setPrelude(rule, i + 1, j);
    if (j < end && type(j) == TokenType::LeftBrace) {
        readBlock(rule, j, end, next);
    } else {
        rule.end = j < end ? m_t[j].end : endOf(end, end);
        *next = j < end ? j + 1 : end;
    }
    return rule;
}

std::optional<Rule> RuleParser::qualifiedRule(int i, int end, int *next) const
{
    int j = i;
    while (j < end && type(j) != TokenType::LeftBrace)
        j = afterComponent(j, end);
    if (j >= end)
        return std::nullopt;
    Rule rule;
    rule.start = m_t[i].start;
    setPrelude(rule, i, j);
    readBlock(rule, j, end, next);
    return rule;
}

void RuleParser::setPrelude(Rule &rule, int first, int last) const
{
    rule.prelude = {first, last};
    const int a = skipBlank(first, last);
    int b = last;
    while (b > a && isBlank(b - 1))
        --b;
    rule.preludeStart = a < b                ? m_t[a].start
                        : first < m_t.size() ? m_t[first].start
                                             : m_s.m_text.size();
    rule.preludeEnd = a < b ? m_t[b - 1].end : rule.preludeStart;
}

void RuleParser::readBlock(Rule &rule, int open, int end, int *next) const
{
    const int close = closing(open, end);
    rule.hasBlock = true;
    rule.blockTokens = {open + 1, close};
    rule.blockStart = m_t[open].end;
    rule.blockEnd = close < end ? m_t[close].start : endOf(end, end);
    rule.end = endOf(close, end);
    *next = close < end ? close + 1 : end;
    if (!rule.at)
        declarationList(open + 1, close, rule.block);
    else if (holdsRules(rule.name))
        ruleList(open + 1, close, false, rule.block);
    else if (holdsDeclarations(rule.name))
        declarationList(open + 1, close, rule.block);
}

void RuleParser::declarationList(int i, int end, Block &out) const
{
    while (i < end) {
        const TokenType t = type(i);
        if (t == TokenType::Comment) {
            if (auto off = switchedOff(i))
                out.declarations.append(*off);
            ++i;
        } else if (t == TokenType::Whitespace || t == TokenType::Semicolon) {
            ++i;
        } else if (t == TokenType::AtKeyword) {
            out.rules.append(atRule(i, end, &i));
        } else {
            int j = i;
            while (j < end && type(j) != TokenType::Semicolon)
                j = afterComponent(j, end);
            std::optional<Declaration> d;
            if (t == TokenType::Ident)
                d = declaration(i, j);
            if (d) {
                if (j < end) {
                    d->hasSemicolon = true;
                    d->end = m_t[j].end;
                }
                out.declarations.append(*d);
            } else {
                out.errors.append({m_t[i].start, u"invalid"_s});
            }
            i = j < end ? j + 1 : end;
        }
    }
}

std::optional<Declaration> RuleParser::declaration(int first, int last) const
{
    int j = skipBlank(first + 1, last);
    if (j >= last || type(j) != TokenType::Colon)
        return std::nullopt;
    Declaration d;
    d.name = m_t[first].value;
    d.start = m_t[first].start;
    d.nameEnd = m_t[first].end;
    d.colon = m_t[j].start;
    // "!important" is the value's last two components (blocks count as one).
    QList<int> top;
    for (int k = j + 1; k < last; k = afterComponent(k, last))
        if (!isBlank(k))
            top.append(k);
    int valueLast = last;
    const qsizetype n = top.size();
    if (n >= 2 && type(top[n - 1]) == TokenType::Ident &&
        isAsciiCaseless(m_t[top[n - 1]].value, "important"_L1) &&
        type(top[n - 2]) == TokenType::Delim && m_t[top[n - 2]].value == u"!") {
        d.important = true;
        d.importantStart = m_t[top[n - 2]].start;
        d.importantEnd = m_t[top[n - 1]].end;
        valueLast = top[n - 2];
    }
    d.value = {j + 1, valueLast};
    const int a = skipBlank(j + 1, valueLast);
    int b = valueLast;
    while (b > a && isBlank(b - 1))
        --b;
    d.valueStart = a < b ? m_t[a].start : m_t[j].end;
    d.valueEnd = a < b ? m_t[b - 1].end : m_t[j].end;
    d.end = d.important ? d.importantEnd : d.valueEnd;
    return d;
}

std::optional<Declaration> RuleParser::switchedOff(int i) const
{
    const Token &c = m_t[i];
    if (c.unterminated)
        return std::nullopt;
    const qsizetype inner = c.start + 2;
    const QString content = m_s.m_text.sliced(inner, c.end - 2 - inner);
    if (!content.trimmed().endsWith(u';'))
        return std::nullopt;
    const Block block = Sheet(content).parseDeclarationList();
    if (block.declarations.size() != 1 || !block.rules.isEmpty() || !block.errors.isEmpty())
        return std::nullopt;
    Declaration d = block.declarations.front();
    if (d.disabled || !d.hasSemicolon)
        return std::nullopt;
    for (qsizetype *place : {&d.start, &d.end, &d.nameEnd, &d.colon, &d.valueStart, &d.valueEnd,
                             &d.importantStart, &d.importantEnd})
        if (*place >= 0)
            *place += inner;
    d.disabled = true;
    d.commentStart = c.start;
    d.commentEnd = c.end;
    d.value = {};
    return d;
}

QList<ComponentValue> RuleParser::components(int i, int end) const
{
    QList<ComponentValue> out;
    while (i < end) {
        if (type(i) == TokenType::Comment) {
            ++i;
            continue;
        }
        out.append(component(i, end, &i));
    }
    return out;
}

ComponentValue RuleParser::component(int i, int end, int *next) const
{
    ComponentValue v;
    v.token = i;
    if (isOpening(type(i))) {
        const int close = closing(i, end);
        v.children = components(i + 1, close);
        v.closed = close < end;
    }
    *next = afterComponent(i, end);
    return v;
}

} // namespace lumipage::css
