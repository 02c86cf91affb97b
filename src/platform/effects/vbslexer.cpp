#include "platform/effects/vbslexer.h"

namespace lumipage::vbs
{

namespace
{

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Whether `name` is `_` standing as a continuation: the last thing on its line.
bool continues(const QString &s, qsizetype pos)
{
    for (qsizetype i = pos + 1; i < s.size() && s[i] != u'\n'; ++i)
        if (!s[i].isSpace())
            return false;
    return true;
}

} // namespace

QList<Line> tokenize(const QString &source, int firstLine)
{
    QString s = source;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    QList<Line> lines;
    Line current;
    int line = firstLine;
    current.line = line;
    auto add = [&](Token::Kind kind, const QString &text) {
        current.tokens.append({kind, text, kind == Token::Name ? text.toLower() : text, line});
    };
    auto endLine = [&] {
        if (!current.tokens.isEmpty())
            lines.append(current);
        current = Line{};
        current.line = line;
    };
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\n') {
            ++line;
            ++i;
            endLine();
        } else if (c.isSpace()) {
            ++i;
        } else if (c == u'\'') {
            while (i < s.size() && s[i] != u'\n')
                ++i;
        } else if (c == u'"') {
            QString text;
            ++i;
            while (i < s.size() && s[i] != u'\n') {
                if (s[i] == u'"') {
                    if (i + 1 < s.size() && s[i + 1] == u'"') {
                        text += u'"';
                        i += 2;
                        continue;
                    }
                    break;
                }
                text += s[i++];
            }
            if (i < s.size() && s[i] == u'"')
                ++i;
            else
                add(Token::Op, QStringLiteral("\"")); // unterminated: reported by the parser
            add(Token::String, text);
        } else if (c.isDigit() || (c == u'.' && i + 1 < s.size() && s[i + 1].isDigit())) {
            const qsizetype start = i;
            while (i < s.size() && (s[i].isDigit() || s[i] == u'.'))
                ++i;
            if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
                qsizetype j = i + 1;
                if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
                    ++j;
                if (j < s.size() && s[j].isDigit()) {
                    i = j;
                    while (i < s.size() && s[i].isDigit())
                        ++i;
                }
            }
            add(Token::Number, s.mid(start, i - start));
        } else if (c == u'&' && i + 1 < s.size() &&
                   (s[i + 1] == u'H' || s[i + 1] == u'h' || s[i + 1] == u'O' || s[i + 1] == u'o') &&
                   i + 2 < s.size() && s[i + 2].isLetterOrNumber()) {
            const int base = (s[i + 1] == u'H' || s[i + 1] == u'h') ? 16 : 8;
            i += 2;
            const qsizetype start = i;
            while (i < s.size() && s[i].isLetterOrNumber())
                ++i;
            bool ok = false;
            const qlonglong v = s.mid(start, i - start).toLongLong(&ok, base);
            if (i < s.size() && s[i] == u'&')
                ++i; // a trailing & marks a long literal
            add(ok ? Token::Number : Token::Op, ok ? QString::number(v) : s.mid(start - 2, i));
        } else if (isNameStart(c)) {
            const qsizetype start = i;
            while (i < s.size() && isNameChar(s[i]))
                ++i;
            const QString name = s.mid(start, i - start);
            if (name == QLatin1String("_") && continues(s, start)) {
                // Continuation: the next physical line belongs to this one.
                while (i < s.size() && s[i] != u'\n')
                    ++i;
                if (i < s.size()) {
                    ++i;
                    ++line;
                }
                continue;
            }
            if (name.compare(QLatin1String("rem"), Qt::CaseInsensitive) == 0 &&
                (current.tokens.isEmpty() || current.tokens.last().kind == Token::Colon)) {
                while (i < s.size() && s[i] != u'\n')
                    ++i;
                continue;
            }
            add(Token::Name, name);
        } else if (c == u':') {
            add(Token::Colon, QStringLiteral(":"));
            ++i;
        } else {
            const QString two = s.mid(i, 2);
            if (two == QLatin1String("<>") || two == QLatin1String("<=") ||
                two == QLatin1String(">=")) {
                add(Token::Op, two);
                i += 2;
            } else {
                add(Token::Op, QString(c));
                ++i;
            }
        }
    }
    endLine();
    return lines;
}

} // namespace lumipage::vbs
