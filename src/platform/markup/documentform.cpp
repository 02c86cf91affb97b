#include "platform/markup/documentform.h"

#include "platform/markup/documentformwriter.h"
#include "platform/markup/elementrules.h"
#include "platform/markup/writtenstyle.h"

#include <vector>

namespace lumipage::documentform
{

using namespace writing;

namespace
{

struct Open {
    QStringView name;
    Ns ns;
    Children children;
    bool hidden;     // an editing aid, or inside one
    bool inTemplate; // inside a template's contents
    qsizetype span;  // its entry in the spans, or -1
};

// A value as the engine wrote it between double quotes (& as &amp;, " as &quot;,
// U+00A0 as &nbsp;), written bare when it reads back the same, else in double quotes
// with only & and " escaped (always so when `quoted`).
void addValue(Writer &out, QStringView value, bool quoted)
{
    bool bare = !value.isEmpty() && !quoted, plain = true; // plain: no reference and no CR
    for (QChar q : value) {
        const char16_t c = q.unicode();
        if (c == u'&' || c == u'\r')
            bare = plain = false;
        else if (bare && (isSpace(c) || c == u'\'' || c == u'`' || c == u'=' || c == u'<' ||
                          c == u'>' || c == u'"'))
            bare = false;
    }
    if (bare) {
        out.add(value);
        return;
    }
    out.add(u'"');
    if (plain) {
        out.add(value);
    } else {
        qsizetype from = 0;
        for (qsizetype k = 0; k < value.size(); ++k) {
            if (value[k] == u'\r') {
                out.add(value.sliced(from, k - from));
                out.add(u"&#13;");
                from = k + 1;
            } else if (value[k] == u'&' && startsWith(value, k, u"&nbsp;")) {
                out.add(value.sliced(from, k - from));
                out.add(char16_t(0xA0));
                from = k + 6;
                k += 5;
            }
        }
        out.add(value.sliced(from));
    }
    out.add(u'"');
}

// Where the raw text of `name` starting at `from` ends: at the first end tag of that
// name, in a script at the first one outside a `<!--<script>` … `</script>` run, as
// the tokenizer reads script data.
qsizetype rawTextEnd(QStringView in, qsizetype from, QStringView name)
{
    if (is(name, u"plaintext")) {
        // PLAINTEXT reads to the end of the file, so its text may hold its own end tag:
        // the engine's end tag is the last one.
        for (qsizetype k = in.lastIndexOf(literal(u"</plaintext"), -1, Qt::CaseInsensitive);
             k >= from;
             k = k > 0 ? in.lastIndexOf(literal(u"</plaintext"), k - 1, Qt::CaseInsensitive) : -1) {
            if (k + 11 == in.size() || isTagEnd(in[k + 11].unicode()))
                return k;
        }
        return in.size();
    }
    const qsizetype n = in.size();
    // `at` is just past '<' or "</": `name` follows in any case, then the end of a tag name.
    const auto tagAt = [&](qsizetype at) {
        const qsizetype end = at + name.size();
        return end < n && in.sliced(at, name.size()).compare(name, Qt::CaseInsensitive) == 0 &&
               isTagEnd(in[end].unicode());
    };
    const bool script = is(name, u"script");
    bool escaped = false, doubleEscaped = false;
    for (qsizetype k = from; k < n; ++k) {
        const char16_t c = in[k].unicode();
        if (script && escaped && c == u'-' && startsWith(in, k, u"-->")) {
            escaped = doubleEscaped = false;
            k += 2;
            continue;
        }
        if (c != u'<')
            continue;
        if (script && !escaped && startsWith(in, k, u"<!--")) {
            qsizetype p = k + 4;
            while (p < n && in[p] == u'-')
                ++p;
            escaped = p >= n || in[p] != u'>'; // "<!-->" and "<!--->" open nothing
            k = escaped ? p - 1 : p;
            continue;
        }
        const bool endTag = k + 1 < n && in[k + 1] == u'/';
        if (script && escaped && !endTag && tagAt(k + 1)) {
            doubleEscaped = true;
            continue;
        }
        if (endTag && tagAt(k + 2)) {
            if (!doubleEscaped)
                return k;
            doubleEscaped = false;
        }
    }
    return n;
}

class Rewriter
{
public:
    Rewriter(QStringView in, const Aids &aids, const WrittenStyle &style,
             std::vector<ElementSpan> *spans)
        : m_in(in), m_aids(aids), m_style(style),
          m_out(in.size() + in.size() / 32 + 16, style.upperCaseNames), m_hasCr(in.contains(u'\r')),
          m_spans(spans)
    {
    }

    Rewritten run()
    {
        const qsizetype n = m_in.size();
        while (m_at < n && !m_endsInPlaintext) {
            qsizetype lt = m_in.indexOf(u'<', m_at);
            if (lt < 0)
                lt = n;
            if (lt > m_at) {
                if (!hidden())
                    m_out.addText(m_in.sliced(m_at, lt - m_at), m_hasCr);
                m_at = lt;
                continue;
            }
            const char16_t next = m_at + 1 < n ? m_in[m_at + 1].unicode() : u'\0';
            if (startsWith(m_in, m_at, u"<!--")) {
                const qsizetype end = m_in.indexOf(literal(u"-->"), m_at + 4);
                copyThrough(end < 0 ? n : end + 3);
            } else if (next == u'/') {
                endTag();
            } else if (next == u'!' || next == u'?') {
                const qsizetype end = m_in.indexOf(u'>', m_at);
                copyThrough(end < 0 ? n : end + 1);
            } else if (m_at + 1 < n && !isTagEnd(next)) {
                startTag();
            } else {
                copyThrough(m_at + 1); // a stray '<'
            }
        }
        return {m_out.take(), m_endsInPlaintext};
    }

private:
    bool hidden() const { return !m_open.empty() && m_open.back().hidden; }

    void copyThrough(qsizetype end)
    {
        if (!hidden())
            m_out.add(m_in.sliced(m_at, end - m_at));
        m_at = end;
    }

    void addEndTag(QStringView name, Ns ns)
    {
        m_out.add(u"</");
        m_out.addName(name, ns);
        m_out.add(u'>');
    }

    // At "</": the end tag of the open element (the engine's markup nests properly;
    // anything else is written as it came, upper-cased as HTML).
    void endTag()
    {
        const qsizetype nameAt = m_at + 2;
        qsizetype k = m_in.indexOf(u'>', nameAt);
        if (k < 0)
            k = m_in.size();
        const QStringView name = m_in.sliced(nameAt, k - nameAt);
        Ns ns = Ns::Html;
        const bool wasHidden = hidden();
        qsizetype span = -1;
        if (!m_open.empty() && m_open.back().name == name) {
            ns = m_open.back().ns;
            span = m_open.back().span;
            closeSpan(span);
            m_open.pop_back();
        }
        if (!wasHidden)
            addEndTag(name, ns);
        endSpan(span);
        m_at = std::min(k + 1, m_in.size());
    }

    // At '<' and a name: the start tag, then for raw-text elements their content and
    // end tag too.
    void startTag()
    {
        const qsizetype n = m_in.size();
        qsizetype k = m_at + 1;
        while (k < n && !isTagEnd(m_in[k].unicode()))
            ++k;
        const QStringView name = m_in.sliced(m_at + 1, k - m_at - 1);
        const Open *parent = m_open.empty() ? nullptr : &m_open.back();
        const Ns ns = parent ? childNs(parent->ns, parent->children, name)
                             : childNs(Ns::Html, Children::Html, name);
        const bool parentHidden = parent && parent->hidden;
        const qsizetype tagAt = m_out.size();
        m_out.add(u'<');
        m_out.addName(name, ns);

        bool aid = false, htmlAnnotation = false;
        // Attributes: ' ' name '="' value '"'. A name may begin with '=' and holds no
        // other; a value holds no '"'.
        while (k < n && m_in[k] == u' ') {
            const qsizetype nameAt = ++k;
            if (k < n && m_in[k] == u'=')
                ++k;
            while (k < n && m_in[k] != u'=' && m_in[k] != u' ' && m_in[k] != u'>')
                ++k;
            const QStringView attribute = m_in.sliced(nameAt, k - nameAt);
            QStringView value;
            const bool hasValue = k + 1 < n && m_in[k] == u'=' && m_in[k + 1] == u'"';
            if (hasValue) {
                const qsizetype close = m_in.indexOf(u'"', k + 2);
                const qsizetype end = close < 0 ? n : close;
                value = m_in.sliced(k + 2, end - k - 2);
                k = close < 0 ? n : close + 1;
            }
            if (attribute == m_aids.markerAttribute)
                aid = true;
            if (!m_aids.attributes.isEmpty() && m_aids.attributes.contains(attribute.toString()))
                continue;
            if (ns == Ns::MathMl && is(attribute, u"encoding"))
                htmlAnnotation =
                    value.compare(literal(u"text/html"), Qt::CaseInsensitive) == 0 ||
                    value.compare(literal(u"application/xhtml+xml"), Qt::CaseInsensitive) == 0;
            m_out.add(u' ');
            m_out.add(attribute);
            if (hasValue) {
                m_out.add(u'=');
                addValue(m_out, value, m_style.quotedValues);
            }
        }
        if (k < n && m_in[k] == u'>')
            ++k;
        if (m_style.closedVoids && ns == Ns::Html && kindOf(name) == Void)
            m_out.add(u" /");
        m_out.add(u'>');
        m_at = k;
        const bool hide = parentHidden || aid;
        if (hide)
            m_out.truncate(tagAt);
        // Only the spans need it: the walk that numbers elements leaves template contents out.
        const bool inTemplate =
            m_spans && parent &&
            (parent->inTemplate || (parent->ns == Ns::Html && is(parent->name, u"template")));
        qsizetype span = -1;
        if (m_spans && !hide && !inTemplate) {
            span = qsizetype(m_spans->size());
            m_spans->push_back({tagAt, m_out.size(), m_out.size(), m_out.size()});
        }
        if (ns != Ns::Html) {
            m_open.push_back(
                {name, ns, childrenOf(ns, name, htmlAnnotation), hide, inTemplate, span});
            return;
        }
        switch (kindOf(name)) {
        case Void:
            return;
        case RawText:
            rawText(name, hide, span);
            return;
        case LeadingNewline:
            if (!hide && m_at < n && m_in[m_at] == u'\n')
                m_out.add(u'\n');
            break;
        case Plain:
            break;
        }
        m_open.push_back({name, ns, Children::Html, hide, inTemplate, span});
    }

    void closeSpan(qsizetype span)
    {
        if (span >= 0)
            (*m_spans)[size_t(span)].innerEnd = (*m_spans)[size_t(span)].outerEnd = m_out.size();
    }
    void endSpan(qsizetype span)
    {
        if (span >= 0)
            (*m_spans)[size_t(span)].outerEnd = m_out.size();
    }

    void rawText(QStringView name, bool hide, qsizetype span)
    {
        const qsizetype end = rawTextEnd(m_in, m_at, name);
        if (!hide)
            m_out.add(m_in.sliced(m_at, end - m_at));
        closeSpan(span);
        if (!hide && is(name, u"plaintext")) {
            m_endsInPlaintext = true;
            m_at = m_in.size();
            return;
        }
        m_at = end;
        if (end == m_in.size())
            return;
        qsizetype k = m_in.indexOf(u'>', end);
        if (k < 0)
            k = m_in.size();
        if (!hide)
            addEndTag(name, Ns::Html);
        endSpan(span);
        m_at = std::min(k + 1, m_in.size());
    }

    QStringView m_in;
    const Aids &m_aids;
    const WrittenStyle &m_style;
    Writer m_out;
    qsizetype m_at = 0;
    const bool m_hasCr;
    std::vector<ElementSpan> *m_spans;
    std::vector<Open> m_open;
    bool m_endsInPlaintext = false;
};

} // namespace

Rewritten rewrite(QStringView engineMarkup, const Aids &aids, const WrittenStyle &style,
                  std::vector<ElementSpan> *spans)
{
    return Rewriter(engineMarkup, aids, style, spans).run();
}

Rewritten rewrite(QStringView engineMarkup, const Aids &aids, bool upperCaseNames,
                  std::vector<ElementSpan> *spans)
{
    return rewrite(engineMarkup, aids, WrittenStyle{upperCaseNames}, spans);
}

QString document(QStringView before, QStringView root, QStringView after, const Aids &aids,
                 std::vector<ElementSpan> *spans)
{
    const size_t first = spans ? spans->size() : 0;
    Rewritten rewritten = rewrite(root, aids, true, spans);
    if (spans)
        for (size_t k = first; k < spans->size(); ++k) {
            ElementSpan &span = (*spans)[k];
            span.tagStart += before.size();
            span.innerStart += before.size();
            span.innerEnd += before.size();
            span.outerEnd += before.size();
        }
    if (before.isEmpty() && (after.isEmpty() || rewritten.endsInPlaintext))
        return std::move(rewritten.markup);
    QString html;
    html.reserve(before.size() + rewritten.markup.size() + after.size());
    html += before;
    html += rewritten.markup;
    if (!rewritten.endsInPlaintext)
        html += after;
    return html;
}

} // namespace lumipage::documentform
