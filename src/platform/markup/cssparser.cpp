#include "platform/markup/cssparser.h"

#include "platform/markup/cssruleparser.h"

using namespace Qt::StringLiterals;

namespace lumipage::css
{

Sheet::Sheet(QString text) : m_text(std::move(text)), m_tokens(tokenize(m_text))
{
    m_match.fill(m_tokens.size(), m_tokens.size());
    QList<int> open;
    for (int i = 0; i < m_tokens.size(); ++i) {
        const TokenType t = m_tokens[i].type;
        if (isOpening(t)) {
            open.append(i);
            continue;
        }
        if (open.isEmpty())
            continue;
        const TokenType top = m_tokens[open.back()].type;
        const bool closes = (t == TokenType::RightParen &&
                             (top == TokenType::LeftParen || top == TokenType::Function)) ||
                            (t == TokenType::RightBracket && top == TokenType::LeftBracket) ||
                            (t == TokenType::RightBrace && top == TokenType::LeftBrace);
        if (closes)
            m_match[open.takeLast()] = i;
    }
}

Block Sheet::parseStylesheet() const
{
    Block out;
    RuleParser(*this).ruleList(0, m_tokens.size(), true, out);
    return out;
}

Block Sheet::parseRuleList() const
{
    Block out;
    RuleParser(*this).ruleList(0, m_tokens.size(), false, out);
    return out;
}

Block Sheet::parseDeclarationList() const
{
    Block out;
    RuleParser(*this).declarationList(0, m_tokens.size(), out);
    return out;
}

Block Sheet::parseOneRule() const
{
    const RuleParser p(*this);
    const int end = m_tokens.size();
    Block out;
    int i = p.skipBlank(0, end);
    if (i >= end) {
        out.errors.append({0, u"empty"_s});
        return out;
    }
    const qsizetype start = m_tokens[i].start;
    if (m_tokens[i].type == TokenType::AtKeyword) {
        out.rules.append(p.atRule(i, end, &i));
    } else if (auto rule = p.qualifiedRule(i, end, &i)) {
        out.rules.append(*rule);
    } else {
        out.errors.append({start, u"invalid"_s});
        return out;
    }
    i = p.skipBlank(i, end);
    if (i < end) {
        out.rules.clear();
        out.errors.append({m_tokens[i].start, u"extra-input"_s});
    }
    return out;
}

Block Sheet::parseOneDeclaration() const
{
    const RuleParser p(*this);
    const int end = m_tokens.size();
    Block out;
    const int i = p.skipBlank(0, end);
    if (i >= end) {
        out.errors.append({0, u"empty"_s});
    } else if (m_tokens[i].type != TokenType::Ident) {
        out.errors.append({m_tokens[i].start, u"invalid"_s});
    } else if (auto d = p.declaration(i, end)) {
        out.declarations.append(*d);
    } else {
        out.errors.append({m_tokens[i].start, u"invalid"_s});
    }
    return out;
}

QList<ComponentValue> Sheet::parseComponentValueList() const
{
    return RuleParser(*this).components(0, m_tokens.size());
}

std::optional<ComponentValue> Sheet::parseOneComponentValue(QString *reason) const
{
    const RuleParser p(*this);
    const int end = m_tokens.size();
    int i = p.skipBlank(0, end);
    if (i >= end) {
        *reason = u"empty"_s;
        return std::nullopt;
    }
    ComponentValue v = p.component(i, end, &i);
    if (p.skipBlank(i, end) < end) {
        *reason = u"extra-input"_s;
        return std::nullopt;
    }
    return v;
}

QList<ComponentValue> Sheet::componentValues(TokenSpan span) const
{
    return RuleParser(*this).components(span.first, span.last);
}

QString Sheet::trimmedText(TokenSpan span) const
{
    const RuleParser p(*this);
    const int a = p.skipBlank(span.first, span.last);
    int b = span.last;
    while (b > a && p.isBlank(b - 1))
        --b;
    if (a >= b)
        return {};
    return m_text.sliced(m_tokens[a].start, m_tokens[b - 1].end - m_tokens[a].start);
}

int Sheet::lineAt(qsizetype offset) const
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c == u'\n' || c == u'\f' ||
            (c == u'\r' && !(i + 1 < m_text.size() && m_text[i + 1] == u'\n')))
            ++line;
    }
    return line;
}

} // namespace lumipage::css
