#include "platform/markup/csstokenizer.h"

namespace lumipage::css
{

namespace
{

constexpr char16_t kEnd = 0xFFFF; // past the text; never a character a sheet holds here

bool isNewline(char16_t c)
{
    return c == '\n' || c == '\r' || c == '\f';
}
bool isWhitespace(char16_t c)
{
    return c == ' ' || c == '\t' || isNewline(c);
}
bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}
bool isHex(char16_t c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isNameStart(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           (c >= 0x80 && c != kEnd) || c == 0;
}
bool isNameChar(char16_t c)
{
    return isNameStart(c) || isDigit(c) || c == '-';
}
bool isNonPrintable(char16_t c)
{
    return (c >= 0x01 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || c == 0x7F;
}
int hexValue(char16_t c)
{
    return isDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : c - 'A' + 10;
}

class Tokenizer
{
public:
    explicit Tokenizer(QStringView text) : m_text(text) {}

    QList<Token> run()
    {
        QList<Token> tokens;
        tokens.reserve(m_text.size() / 4 + 1);
        while (m_pos < m_text.size())
            tokens.append(next());
        return tokens;
    }

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
    void consumeEscape(QString &out)
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

    QString consumeName()
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

    Token make(TokenType type, qsizetype start)
    {
        Token t;
        t.type = type;
        t.start = start;
        t.end = m_pos;
        return t;
    }

    Token next()
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
                Token t;
                t.idHash = startsIdentifier(m_pos);
                t.value = consumeName();
                t.type = TokenType::Hash;
                t.start = start;
                t.end = m_pos;
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
                Token t;
                t.value = consumeName();
                t.type = TokenType::AtKeyword;
                t.start = start;
                t.end = m_pos;
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

    Token delim(qsizetype start, char16_t c)
    {
        Token t = make(TokenType::Delim, start);
        t.value = m_text.sliced(start, m_pos - start).toString();
        if (c == 0)
            t.value = QString(QChar(0xFFFD));
        return t;
    }

    Token consumeString(char16_t quote)
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

    Token consumeNumeric()
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

    Token consumeUnicodeRange()
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

    Token consumeIdentLike()
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

    void consumeUrl(Token &t)
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

    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

QList<Token> tokenize(QStringView text)
{
    return Tokenizer(text).run();
}

bool isPlainIdentifier(QStringView name)
{
    const QList<Token> tokens = tokenize(name);
    return tokens.size() == 1 && tokens.front().type == TokenType::Ident &&
           tokens.front().value == name;
}

} // namespace lumipage::css
