#pragma once

#include "platform/markup/csstokenizer.h"

#include <QList>
#include <QString>

#include <optional>

namespace lumipage::css
{

// A stretch of tokens, [first, last) as indices into the sheet's tokens.
struct TokenSpan {
    int first = 0;
    int last = 0;
};

// One declaration and where each part of it stands (offsets into the decoded text).
struct Declaration {
    QString name;        // as written, escapes resolved
    qsizetype start = 0; // the name's first character
    qsizetype end = 0;   // past its ';', or past the value when none follows
    qsizetype nameEnd = 0;
    qsizetype colon = 0;      // the ':'
    qsizetype valueStart = 0; // the value without the space, comments and !important round it
    qsizetype valueEnd = 0;
    qsizetype importantStart = -1; // the '!' of "!important", or -1
    qsizetype importantEnd = -1;
    bool important = false;
    bool hasSemicolon = false;
    // A declaration the author switched off by writing it as a comment: "/* color: red; */".
    // [commentStart, commentEnd) is the comment; the other places are those inside it.
    bool disabled = false;
    qsizetype commentStart = -1;
    qsizetype commentEnd = -1;
    TokenSpan value; // the value's tokens as read: space kept, !important taken off
};

// Something in a rule list or declaration list that could not be read, and where.
struct ParseError {
    qsizetype start = 0;
    QString reason; // "invalid", "empty", "extra-input"
};

struct Rule;

// What a block holds: declarations (a style rule, @font-face, a style attribute) or rules
// (@media, @supports). Items of both kinds can meet in a declaration list.
struct Block {
    QList<Declaration> declarations; // with the switched-off ones, in order
    QList<Rule> rules;
    QList<ParseError> errors;
};

// A style rule or an at-rule.
struct Rule {
    bool at = false;
    QString name; // the at-rule's name, escapes resolved
    qsizetype start = 0;
    qsizetype end = 0;          // past its '}' or ';'
    qsizetype preludeStart = 0; // the selector or condition, without surrounding space
    qsizetype preludeEnd = 0;
    TokenSpan prelude; // as read, space kept
    bool hasBlock = false;
    qsizetype blockStart = 0; // inside the braces
    qsizetype blockEnd = 0;
    TokenSpan blockTokens;
    Block block;
};

// A component value: a token, or a function or block with what it holds.
struct ComponentValue {
    int token = 0; // the token, the function's name or the block's opening token
    QList<ComponentValue> children;
    bool closed = true; // a function or block that the end of the text cut off
};

// The parse of one sheet's text (or a style attribute's value).
class Sheet
{
public:
    explicit Sheet(QString text);

    const QString &text() const { return m_text; }
    const QList<Token> &tokens() const { return m_tokens; }

    // The sheet's rules; @charset and @import are rules too.
    Block parseStylesheet() const;
    // A list of rules (the content of @media): CDO and CDC are not skipped.
    Block parseRuleList() const;
    // A declaration list, as a style attribute's value is read.
    Block parseDeclarationList() const;
    // The whole text as one rule, one declaration or one component value; an error with
    // its reason when it is not exactly that.
    Block parseOneRule() const;
    Block parseOneDeclaration() const;
    QList<ComponentValue> parseComponentValueList() const;
    std::optional<ComponentValue> parseOneComponentValue(QString *reason) const;

    // The component values of a span (comments left out).
    QList<ComponentValue> componentValues(TokenSpan span) const;
    // The text of a span, without leading and trailing space and comments.
    QString trimmedText(TokenSpan span) const;

    // The 1-based line of an offset (LF, CRLF, CR and FF end lines).
    int lineAt(qsizetype offset) const;

private:
    friend class RuleParser;
    QString m_text;
    QList<Token> m_tokens;
    QList<int> m_match; // for an opening token or function: the index of its closing token
};

} // namespace lumipage::css
