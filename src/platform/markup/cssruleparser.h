#pragma once

// The rule and declaration reader behind Sheet's parse functions, apart so that the
// sheet's own file keeps to its text, tokens and entry points.
#include "platform/markup/cssparser.h"

#include <algorithm>
#include <optional>

namespace lumipage::css
{

// Whether the token opens a block or a function that a matching token closes.
bool isOpening(TokenType t);

// Reads rules and declarations from the sheet's tokens. Every consumer works on a token
// range [i, end) and steps over blocks and functions by their matching closing token.
class RuleParser
{
public:
    explicit RuleParser(const Sheet &sheet) : m_s(sheet), m_t(sheet.m_tokens) {}

    TokenType type(int i) const { return m_t[i].type; }
    bool isBlank(int i) const
    {
        return type(i) == TokenType::Whitespace || type(i) == TokenType::Comment;
    }
    int skipBlank(int i, int end) const
    {
        while (i < end && isBlank(i))
            ++i;
        return i;
    }
    int closing(int i, int end) const { return std::min(m_s.m_match[i], end); }
    int afterComponent(int i, int end) const
    {
        return isOpening(type(i)) ? std::min(closing(i, end) + 1, end) : i + 1;
    }
    qsizetype endOf(int closer, int end) const
    {
        return closer < end ? m_t[closer].end : (end > 0 ? m_t[end - 1].end : 0);
    }

    void ruleList(int i, int end, bool topLevel, Block &out) const;
    Rule atRule(int i, int end, int *next) const;
    std::optional<Rule> qualifiedRule(int i, int end, int *next) const;
    void setPrelude(Rule &rule, int first, int last) const;
    void readBlock(Rule &rule, int open, int end, int *next) const;
    void declarationList(int i, int end, Block &out) const;
    // A declaration from its name's token to `last` (its ';' or the end).
    std::optional<Declaration> declaration(int first, int last) const;
    // A comment whose content is one declaration ending in ';' is a declaration the author
    // (or this editor) switched off; anything else in a comment is a remark.
    std::optional<Declaration> switchedOff(int i) const;
    QList<ComponentValue> components(int i, int end) const;
    ComponentValue component(int i, int end, int *next) const;

private:
    const Sheet &m_s;
    const QList<Token> &m_t;
};

} // namespace lumipage::css
