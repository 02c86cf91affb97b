#include "platform/markup/csstokenreader.h"

namespace lumipage::css::reading
{

Token TokenReader::consumeString(char16_t quote)
{
    const qsizetype start = m_pos++;
    Token t;
    t.type = TokenType::String;
    for (;;) {
        const char16_t c = peek();
        if (m_pos >= m_text.size()) {
            t.unterminated = true;
            break;
        }
        if (c == quote) {
            ++m_pos;
            break;
        }
        if (isNewline(c)) {
            t.type = TokenType::BadString;
            t.value.clear();
            break;
        }
        if (c == '\\') {
            ++m_pos;
            if (m_pos >= m_text.size())
                continue;
            if (isNewline(peek()))
                skipNewline();
            else
                consumeEscape(t.value);
            continue;
        }
        takeChar(t.value);
    }
    t.start = start;
    t.end = m_pos;
    return t;
}

Token TokenReader::consumeNumeric()
{
    const qsizetype start = m_pos;
    Token t;
    t.integer = true;
    if (peek() == '+' || peek() == '-')
        ++m_pos;
    while (isDigit(peek()))
        ++m_pos;
    if (peek() == '.' && isDigit(peek(1))) {
        t.integer = false;
        for (++m_pos; isDigit(peek());)
            ++m_pos;
    }
    if ((peek() == 'e' || peek() == 'E') &&
        (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
        t.integer = false;
        for (m_pos += 2; isDigit(peek());)
            ++m_pos;
    }
    t.numberEnd = m_pos;
    t.number = m_text.sliced(start, m_pos - start).toString().toDouble();
    if (startsIdentifier(m_pos)) {
        t.type = TokenType::Dimension;
        t.value = consumeName();
    } else if (peek() == '%') {
        t.type = TokenType::Percentage;
        ++m_pos;
    } else {
        t.type = TokenType::Number;
    }
    t.start = start;
    t.end = m_pos;
    return t;
}

Token TokenReader::consumeUnicodeRange()
{
    const qsizetype start = m_pos;
    m_pos += 2;
    uint first = 0;
    uint last = 0;
    int digits = 0;
    for (; digits < 6 && isHex(peek()); ++digits, ++m_pos)
        first = first * 16 + hexValue(peek());
    last = first;
    bool wildcard = false;
    for (; digits < 6 && peek() == '?'; ++digits, ++m_pos) {
        wildcard = true;
        first = first * 16;
        last = last * 16 + 15;
    }
    if (!wildcard && peek() == '-' && isHex(peek(1))) {
        ++m_pos;
        last = 0;
        for (int n = 0; n < 6 && isHex(peek()); ++n, ++m_pos)
            last = last * 16 + hexValue(peek());
    }
    Token t = make(TokenType::UnicodeRange, start);
    t.rangeStart = first;
    t.rangeEnd = last;
    return t;
}

Token TokenReader::consumeIdentLike()
{
    const qsizetype start = m_pos;
    Token t;
    t.value = consumeName();
    if (peek() != '(') {
        t.type = TokenType::Ident;
    } else if (t.value.compare(u"url", Qt::CaseInsensitive) != 0) {
        ++m_pos;
        t.type = TokenType::Function;
    } else {
        ++m_pos;
        while (isWhitespace(peek()) && isWhitespace(peek(1)))
            ++m_pos;
        const auto quote = [](char16_t c) { return c == '"' || c == '\''; };
        if (quote(peek()) || (isWhitespace(peek()) && quote(peek(1))))
            t.type = TokenType::Function;
        else
            consumeUrl(t);
    }
    t.start = start;
    t.end = m_pos;
    return t;
}

void TokenReader::consumeUrl(Token &t)
{
    t.type = TokenType::Url;
    t.value.clear();
    skipWhitespace();
    for (;;) {
        const char16_t c = peek();
        if (m_pos >= m_text.size()) {
            t.unterminated = true;
            return;
        }
        if (c == ')') {
            ++m_pos;
            return;
        }
        if (isWhitespace(c)) {
            skipWhitespace();
            if (peek() == ')' || m_pos >= m_text.size())
                continue;
        } else if (c == '\\' && validEscape(m_pos)) {
            ++m_pos;
            consumeEscape(t.value);
            continue;
        } else if (c != '"' && c != '\'' && c != '(' && c != '\\' && !isNonPrintable(c)) {
            takeChar(t.value);
            continue;
        }
        // A bad url: skip to its closing parenthesis, stepping over escapes.
        t.type = TokenType::BadUrl;
        t.value.clear();
        while (m_pos < m_text.size() && peek() != ')') {
            if (validEscape(m_pos)) {
                ++m_pos;
                QString ignored;
                consumeEscape(ignored);
            } else {
                ++m_pos;
            }
        }
        if (m_pos < m_text.size())
            ++m_pos;
        return;
    }
}

} // namespace lumipage::css::reading
