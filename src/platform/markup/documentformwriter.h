#pragma once

// The pieces the DocumentHTML rewrite writes with: character tests and the output
// buffer. Only documentform.cpp uses them; they live apart to keep that pass readable.

#include "platform/markup/elementrules.h"

#include <QString>
#include <QStringView>

#include <string>

namespace lumipage::documentform::writing
{

// White space as script's \s knows it: a value holding any of it is quoted.
inline bool isSpace(char16_t c)
{
    if (c <= 0x20)
        return c == 0x20 || (c >= 0x09 && c <= 0x0D);
    if (c < 0xA0)
        return false;
    return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

inline bool isTagEnd(char16_t c)
{
    return c == u' ' || c == u'>' || c == u'/' || c == u'\t' || c == u'\n' || c == u'\f' ||
           c == u'\r';
}

// A literal as a view, its length known when compiling.
template <qsizetype N> constexpr QStringView literal(const char16_t (&text)[N])
{
    return QStringView(text, N - 1);
}

template <qsizetype N>
inline bool startsWith(QStringView text, qsizetype at, const char16_t (&prefix)[N])
{
    return at + N - 1 <= text.size() &&
           std::char_traits<char16_t>::compare(text.utf16() + at, prefix, N - 1) == 0;
}

// An output buffer written through a pointer: the pass appends many short pieces.
class Writer
{
public:
    Writer(qsizetype capacity, bool upperCase)
        : m_text(capacity, Qt::Uninitialized), m_upperCase(upperCase)
    {
    }

    void add(QStringView piece)
    {
        char16_t *at = room(piece.size());
        std::char_traits<char16_t>::copy(at, piece.utf16(), size_t(piece.size()));
    }
    void add(char16_t c) { *room(1) = c; }
    template <qsizetype N> void add(const char16_t (&text)[N]) { add(literal(text)); }
    // An element name, upper-cased when it is an HTML one (unless names keep their case).
    void addName(QStringView name, Ns ns)
    {
        char16_t *at = room(name.size());
        const char16_t *from = name.utf16();
        const bool upper = ns == Ns::Html && m_upperCase;
        for (qsizetype k = 0; k < name.size(); ++k) {
            const char16_t c = from[k];
            at[k] = upper && c >= u'a' && c <= u'z' ? char16_t(c - 0x20) : c;
        }
    }
    // Text with carriage returns as references, so they survive the parser's line endings
    // (`mayHoldCr` false: the caller knows there are none).
    void addText(QStringView text, bool mayHoldCr)
    {
        if (!mayHoldCr) {
            add(text);
            return;
        }
        qsizetype from = 0;
        for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
            add(text.sliced(from, cr - from));
            add(u"&#13;");
            from = cr + 1;
        }
        add(text.sliced(from));
    }
    qsizetype size() const { return m_size; }
    void truncate(qsizetype size) { m_size = size; }
    QString take()
    {
        m_text.truncate(m_size);
        return std::move(m_text);
    }

private:
    char16_t *room(qsizetype count)
    {
        if (m_size + count > m_text.size())
            m_text.resize(std::max(m_text.size() * 2, m_size + count + 64));
        char16_t *at = reinterpret_cast<char16_t *>(m_text.data()) + m_size;
        m_size += count;
        return at;
    }

    QString m_text;
    qsizetype m_size = 0;
    bool m_upperCase;
};

} // namespace lumipage::documentform::writing
