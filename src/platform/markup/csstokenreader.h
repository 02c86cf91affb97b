#pragma once

// The reader behind tokenize(): the character classes and the token reader, apart so that
// its parts can live in two files (csstokenizer.cpp: the dispatch on the next character,
// names and escapes; csstokenreader.cpp: strings, numbers, ranges, identifiers and urls).
#include "platform/markup/csstokenizer.h"

namespace lumipage::css::reading
{

inline constexpr char16_t kEnd = 0xFFFF; // past the text; never a character a sheet holds here

inline bool isNewline(char16_t c)
{
    return c == '\n' || c == '\r' || c == '\f';
}
inline bool isWhitespace(char16_t c)
{
    return c == ' ' || c == '\t' || isNewline(c);
}
inline bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}
inline bool isHex(char16_t c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline bool isNameStart(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           (c >= 0x80 && c != kEnd) || c == 0;
}
inline bool isNameChar(char16_t c)
{
    return isNameStart(c) || isDigit(c) || c == '-';
}
inline bool isNonPrintable(char16_t c)
{
    return (c >= 0x01 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || c == 0x7F;
}
inline int hexValue(char16_t c)
{
    return isDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : c - 'A' + 10;
}

// Reads a sheet's text into tokens, each with where it stands.
class TokenReader
{
public:
    explicit TokenReader(QStringView text) : m_text(text) {}

    QList<Token> run();

private:
    char16_t at(qsizetype i) const { return i < m_text.size() ? m_text[i].unicode() : kEnd; }
    char16_t peek(qsizetype ahead = 0) const { return at(m_pos + ahead); }

    bool validEscape(qsizetype i) const { return at(i) == '\\' && !isNewline(at(i + 1)); }
    bool startsIdentifier(qsizetype i) const
    {
        const char16_t c = at(i);
        if (c == '-')
            return isNameStart(at(i + 1)) || at(i + 1) == '-' || validEscape(i + 1);
        return isNameStart(c) || validEscape(i);
    }
    bool startsNumber(qsizetype i) const
    {
        char16_t c = at(i);
        if (c == '+' || c == '-')
            c = at(++i);
        return isDigit(c) || (c == '.' && isDigit(at(i + 1)));
    }

    void skipNewline()
    {
        if (peek() == '\r' && peek(1) == '\n')
            ++m_pos;
        ++m_pos;
    }
    void skipWhitespace()
    {
        while (isWhitespace(peek()))
            skipNewline();
    }

    static void appendCodePoint(QString &out, char32_t cp)
    {
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = 0xFFFD;
        out += QString::fromUcs4(&cp, 1);
    }
    // Appends the character at the position (NUL as U+FFFD) and steps over it.
    void takeChar(QString &out)
    {
        const char16_t c = peek();
        out += c == 0 ? QChar(0xFFFD) : QChar(c);
        ++m_pos;
    }

    // After a backslash that starts a valid escape.
    void consumeEscape(QString &out);

    QString consumeName();

    Token make(TokenType type, qsizetype start)
    {
        Token t;
        t.type = type;
        t.start = start;
        t.end = m_pos;
        return t;
    }

    Token next();

    Token delim(qsizetype start, char16_t c)
    {
        Token t = make(TokenType::Delim, start);
        t.value = m_text.sliced(start, m_pos - start).toString();
        if (c == 0)
            t.value = QString(QChar(0xFFFD));
        return t;
    }

    Token consumeString(char16_t quote);

    Token consumeNumeric();

    Token consumeUnicodeRange();

    Token consumeIdentLike();

    void consumeUrl(Token &t);

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace lumipage::css::reading
