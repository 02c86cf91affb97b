#include "transfer/cssreferences.h"

#include "platform/markup/textcodec.h"

namespace lumipage::cssreferences
{

namespace
{

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c.unicode() >= 0x80;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

class Scanner
{
public:
    explicit Scanner(QStringView css) : m_css(css) {}

    QList<Reference> run()
    {
        bool importPending = false; // an @import whose name has not come yet
        while (m_at < m_css.size()) {
            const QChar c = m_css[m_at];
            if (c == u'/' && peek(1) == u'*') {
                const qsizetype end = m_css.indexOf(u"*/", m_at + 2);
                m_at = end < 0 ? m_css.size() : end + 2;
            } else if (c == u'"' || c == u'\'') {
                const QString text = string();
                if (importPending)
                    m_out.append({text, true});
                importPending = false;
            } else if (c == u'\\') {
                m_at += 2;
            } else if (c == u'@') {
                ++m_at;
                importPending = name().compare(u"import", Qt::CaseInsensitive) == 0;
            } else if (isNameChar(c)) {
                const QString word = name();
                if (peek(0) == u'(' && word.compare(u"url", Qt::CaseInsensitive) == 0) {
                    ++m_at;
                    m_out.append({url(), importPending});
                    importPending = false;
                }
            } else {
                if (c == u';' || c == u'{' || c == u'}')
                    importPending = false;
                ++m_at;
            }
        }
        QList<Reference> out;
        for (const Reference &r : std::as_const(m_out))
            if (!r.name.trimmed().isEmpty())
                out.append(r);
        return out;
    }

private:
    QChar peek(qsizetype ahead) const
    {
        return m_at + ahead < m_css.size() ? m_css[m_at + ahead] : QChar();
    }

    // A backslash escape at m_at: a code point in hex (with one white space after it),
    // nothing for an escaped line end, else the character itself.
    QString escape()
    {
        ++m_at;
        if (m_at >= m_css.size())
            return {};
        qsizetype end = m_at;
        while (end < m_css.size() && end - m_at < 6 && isxdigit(m_css[end].toLatin1()) &&
               m_css[end].unicode() < 0x80)
            ++end;
        if (end > m_at) {
            const char32_t code = m_css.sliced(m_at, end - m_at).toUInt(nullptr, 16);
            m_at = end;
            if (m_at < m_css.size() && isSpace(m_css[m_at]))
                ++m_at;
            return QString::fromUcs4(&code, 1);
        }
        const QChar c = m_css[m_at++];
        return c == u'\n' ? QString() : QString(c);
    }

    QString name()
    {
        QString out;
        while (m_at < m_css.size()) {
            if (m_css[m_at] == u'\\')
                out += escape();
            else if (isNameChar(m_css[m_at]))
                out += m_css[m_at++];
            else
                break;
        }
        return out;
    }

    // A quoted string from its opening quote; an unescaped line end ends it, as in CSS.
    QString string()
    {
        const QChar quote = m_css[m_at++];
        QString out;
        while (m_at < m_css.size()) {
            const QChar c = m_css[m_at];
            if (c == quote) {
                ++m_at;
                break;
            }
            if (c == u'\n')
                break;
            if (c == u'\\')
                out += escape();
            else
                out += c, ++m_at;
        }
        return out;
    }

    // The rest of url( … ) after the parenthesis.
    QString url()
    {
        while (m_at < m_css.size() && isSpace(m_css[m_at]))
            ++m_at;
        QString out;
        if (peek(0) == u'"' || peek(0) == u'\'') {
            out = string();
        } else {
            while (m_at < m_css.size() && m_css[m_at] != u')' && !isSpace(m_css[m_at]))
                out += m_css[m_at] == u'\\' ? escape() : QString(m_css[m_at++]);
        }
        const qsizetype close = m_css.indexOf(u')', m_at);
        m_at = close < 0 ? m_css.size() : close + 1;
        return out;
    }

    QStringView m_css;
    qsizetype m_at = 0;
    QList<Reference> m_out;
};

} // namespace

QList<Reference> references(QStringView css)
{
    return Scanner(css).run();
}

QByteArray sheetEncoding(const QByteArray &bytes, const QByteArray &fallback)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    // Browsers take the rule only as written exactly so: @charset "label";
    static const QByteArray kRule = "@charset \"";
    if (bytes.startsWith(kRule)) {
        const qsizetype end = bytes.indexOf("\";", kRule.size());
        if (end > 0) {
            QByteArray encoding = textcodec::encodingForLabel(
                QByteArrayView(bytes).sliced(kRule.size(), end - kRule.size()));
            // A sheet that says UTF-16 in ASCII bytes cannot be UTF-16.
            if (encoding.startsWith("UTF-16"))
                encoding = "UTF-8";
            if (!encoding.isEmpty())
                return encoding;
        }
    }
    return fallback.isEmpty() ? QByteArray("UTF-8") : fallback;
}

} // namespace lumipage::cssreferences
