#include "platform/markup/csstokenizer.h"

#include "platform/markup/csstokenreader.h"

namespace lumipage::css
{

namespace reading
{

QList<Token> TokenReader::run()
{
    QList<Token> tokens;
    tokens.reserve(m_text.size() / 4 + 1);
    while (m_pos < m_text.size())
        tokens.append(next());
    return tokens;
}

void TokenReader::consumeEscape(QString &out)
{
    if (m_pos >= m_text.size()) {
        out += QChar(0xFFFD);
        return;
    }
    if (!isHex(peek())) {
        if (QChar::isHighSurrogate(peek()) && QChar::isLowSurrogate(peek(1)))
            takeChar(out);
        takeChar(out);
        return;
    }
    char32_t cp = 0;
    for (int n = 0; n < 6 && isHex(peek()); ++n, ++m_pos)
        cp = cp * 16 + hexValue(peek());
    if (isWhitespace(peek()))
        skipNewline();
    appendCodePoint(out, cp);
}

QString TokenReader::consumeName()
{
    QString name;
    for (;;) {
        if (isNameChar(peek())) {
            takeChar(name);
        } else if (validEscape(m_pos)) {
            ++m_pos;
            consumeEscape(name);
        } else {
            return name;
        }
    }
}

Token TokenReader::next()
{
    const qsizetype start = m_pos;
    const char16_t c = peek();
    if (c == '/' && peek(1) == '*') {
        m_pos += 2;
        while (m_pos < m_text.size() && !(peek() == '*' && peek(1) == '/'))
            ++m_pos;
        const bool closed = m_pos < m_text.size();
        m_pos = closed ? m_pos + 2 : m_text.size();
        Token t = make(TokenType::Comment, start);
        t.unterminated = !closed;
        return t;
    }
    if (isWhitespace(c)) {
        skipWhitespace();
        return make(TokenType::Whitespace, start);
    }
    if (c == '"' || c == '\'')
        return consumeString(c);
    if (isDigit(c))
        return consumeNumeric();
    if ((c == 'u' || c == 'U') && peek(1) == '+' && (isHex(peek(2)) || peek(2) == '?'))
        return consumeUnicodeRange();
    if (isNameStart(c))
        return consumeIdentLike();
    ++m_pos;
    const auto simple = [&](TokenType type) { return make(type, start); };
    const auto matchOr = [&](TokenType type) {
        if (peek() != '=')
            return delim(start, c);
        ++m_pos;
        return make(type, start);
    };
    switch (c) {
    case '#':
        if (isNameChar(peek()) || validEscape(m_pos)) {
            const bool idHash = startsIdentifier(m_pos);
            const QString name = consumeName();
            Token t = make(TokenType::Hash, start);
            t.idHash = idHash;
            t.value = name;
            return t;
        }
        return delim(start, c);
    case '(':
        return simple(TokenType::LeftParen);
    case ')':
        return simple(TokenType::RightParen);
    case '[':
        return simple(TokenType::LeftBracket);
    case ']':
        return simple(TokenType::RightBracket);
    case '{':
        return simple(TokenType::LeftBrace);
    case '}':
        return simple(TokenType::RightBrace);
    case ',':
        return simple(TokenType::Comma);
    case ':':
        return simple(TokenType::Colon);
    case ';':
        return simple(TokenType::Semicolon);
    case '$':
        return matchOr(TokenType::SuffixMatch);
    case '*':
        return matchOr(TokenType::SubstringMatch);
    case '^':
        return matchOr(TokenType::PrefixMatch);
    case '~':
        return matchOr(TokenType::IncludeMatch);
    case '|':
        if (peek() == '|') {
            ++m_pos;
            return make(TokenType::Column, start);
        }
        return matchOr(TokenType::DashMatch);
    case '+':
    case '.':
        if (startsNumber(start)) {
            m_pos = start;
            return consumeNumeric();
        }
        return delim(start, c);
    case '-':
        if (startsNumber(start)) {
            m_pos = start;
            return consumeNumeric();
        }
        if (peek() == '-' && peek(1) == '>') {
            m_pos += 2;
            return make(TokenType::Cdc, start);
        }
        if (startsIdentifier(start)) {
            m_pos = start;
            return consumeIdentLike();
        }
        return delim(start, c);
    case '<':
        if (peek() == '!' && peek(1) == '-' && peek(2) == '-') {
            m_pos += 3;
            return make(TokenType::Cdo, start);
        }
        return delim(start, c);
    case '@':
        if (startsIdentifier(m_pos)) {
            const QString name = consumeName();
            Token t = make(TokenType::AtKeyword, start);
            t.value = name;
            return t;
        }
        return delim(start, c);
    case '\\':
        if (validEscape(start)) {
            m_pos = start;
            return consumeIdentLike();
        }
        return delim(start, c);
    default:
        m_pos = start;
        if (QChar::isHighSurrogate(c) && QChar::isLowSurrogate(peek(1)))
            ++m_pos;
        ++m_pos;
        return delim(start, c);
    }
}

} // namespace reading

QList<Token> tokenize(QStringView text)
{
    return reading::TokenReader(text).run();
}

bool isPlainIdentifier(QStringView name)
{
    const QList<Token> tokens = tokenize(name);
    return tokens.size() == 1 && tokens.front().type == TokenType::Ident &&
           tokens.front().value == name;
}

} // namespace lumipage::css
