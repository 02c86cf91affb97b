// The cursor over the logical lines of a block: statements end at a colon or at the
// end of their line.
#include "platform/effects/vbsparser.h"

namespace lumipage::vbs
{

namespace
{
const Token kEnd{Token::End, {}, {}, 0};
}

Parser::Parser(const QList<Line> &lines, const PageNames &names, QList<Problem> &problems)
    : m_lines(lines), m_names(names), m_problems(problems)
{
}

const Token &Parser::peek(int ahead) const
{
    if (done())
        return kEnd;
    const QList<Token> &tokens = m_lines[m_line].tokens;
    for (int i = m_pos; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Colon)
            return kEnd;
        if (ahead-- == 0)
            return tokens[i];
    }
    return kEnd;
}

QString Parser::peekKey(int ahead) const
{
    const Token &t = peek(ahead);
    return t.kind == Token::Name ? t.key : QString();
}

bool Parser::atStatementEnd() const
{
    return peek().kind == Token::End;
}

bool Parser::atLineEnd() const
{
    return done() || m_pos >= m_lines[m_line].tokens.size();
}

int Parser::line() const
{
    if (done())
        return m_lines.isEmpty() ? 0 : m_lines.last().line;
    const QList<Token> &tokens = m_lines[m_line].tokens;
    return m_pos < tokens.size() ? tokens[m_pos].line : m_lines[m_line].line;
}

Token Parser::take()
{
    const Token t = peek();
    if (t.kind != Token::End)
        ++m_pos;
    return t;
}

bool Parser::accept(const QString &keyOrOp)
{
    const Token &t = peek();
    if ((t.kind == Token::Name && t.key == keyOrOp) || (t.kind == Token::Op && t.text == keyOrOp)) {
        ++m_pos;
        return true;
    }
    return false;
}

void Parser::expect(const QString &keyOrOp)
{
    if (!accept(keyOrOp))
        throw ParseError{line(), QStringLiteral("%1 がありません").arg(keyOrOp)};
}

void Parser::skipStatement()
{
    while (!atStatementEnd())
        ++m_pos;
}

// Moves past the end of the current statement; false when the line ended.
bool Parser::nextStatement()
{
    if (done())
        return false;
    const QList<Token> &tokens = m_lines[m_line].tokens;
    if (m_pos < tokens.size() && tokens[m_pos].kind == Token::Colon) {
        ++m_pos;
        return true;
    }
    ++m_line;
    m_pos = 0;
    return false;
}

void Parser::endOfStatement()
{
    if (!atStatementEnd())
        throw ParseError{line(), QStringLiteral("%1 を読めません").arg(peek().text)};
}

QString Parser::temp(const QString &prefix)
{
    return prefix + QString::number(++m_temps);
}

} // namespace lumipage::vbs
