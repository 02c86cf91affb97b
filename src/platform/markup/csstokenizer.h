#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace lumipage::css
{

// The kinds of token a style sheet's text reads as. Comments are tokens too, so that the
// places of switched-off declarations are known; the parser steps over them.
enum class TokenType : quint8 {
    Ident,
    Function, // a name and its opening parenthesis
    AtKeyword,
    Hash,
    String,
    BadString,
    Url,
    BadUrl,
    Delim,
    Number,
    Percentage,
    Dimension,
    UnicodeRange,
    IncludeMatch,   // ~=
    DashMatch,      // |=
    PrefixMatch,    // ^=
    SuffixMatch,    // $=
    SubstringMatch, // *=
    Column,         // ||
    Whitespace,
    Cdo, // <!--
    Cdc, // -->
    Colon,
    Semicolon,
    Comma,
    LeftBracket,
    RightBracket,
    LeftParen,
    RightParen,
    LeftBrace,
    RightBrace,
    Comment,
};

// One token and where it stands: [start, end) are offsets into the decoded text, so the
// editor can replace exactly what the author wrote.
struct Token {
    TokenType type = TokenType::Delim;
    bool integer = false;      // a number written without a fraction or exponent
    bool idHash = false;       // a hash that would read as an identifier (#red, not #0red)
    bool unterminated = false; // a string, url or comment cut off by the end of the text
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype numberEnd = 0; // the end of a number's digits, before a unit or '%'
    QString value;           // the name, string or url with escapes resolved; a delimiter; a unit
    double number = 0;
    uint rangeStart = 0; // a unicode range's first and last code points
    uint rangeEnd = 0;
};

// The tokens of `text`, in order, covering it without gaps. Line ends may be LF, CRLF,
// CR or FF (an escaped CRLF is one line end); NUL reads as U+FFFD.
QList<Token> tokenize(QStringView text);

// Whether `name` can be written as an identifier as it is (no escapes needed).
bool isPlainIdentifier(QStringView name);

} // namespace lumipage::css
