#include "platform/editing/documentform.h"

#include <vector>

namespace lumipage::documentform
{

namespace
{

enum class Ns : quint8 { Html, Svg, MathMl };

// How the parser treats an element's children: as HTML (HTML elements and the
// integration points of foreign content), in the parent's own namespace, as MathML text
// (HTML apart from mglyph and malignmark), or as an annotation-xml without an HTML
// encoding (SVG for svg, MathML otherwise).
enum class Children : quint8 { Html, Foreign, MathText, Annotation };

struct Open {
    QStringView name;
    Ns ns;
    Children children;
    bool hidden; // an editing aid, or inside one
};

using namespace Qt::StringLiterals;

bool oneOf(QStringView name, std::initializer_list<QLatin1StringView> names)
{
    for (QLatin1StringView n : names)
        if (name == n)
            return true;
    return false;
}

// The elements the parser closes at once: they are written without end tags.
bool isVoid(QStringView name)
{
    return oneOf(name, {"area"_L1, "base"_L1, "basefont"_L1, "bgsound"_L1, "br"_L1, "col"_L1,
                        "embed"_L1, "frame"_L1, "hr"_L1, "img"_L1, "input"_L1, "keygen"_L1,
                        "link"_L1, "meta"_L1, "param"_L1, "source"_L1, "track"_L1, "wbr"_L1});
}

// The elements whose content the engine writes as raw text.
bool isRawText(QStringView name)
{
    return oneOf(name, {"script"_L1, "style"_L1, "xmp"_L1, "iframe"_L1, "noembed"_L1, "noframes"_L1,
                        "plaintext"_L1});
}

Ns childNs(const Open *parent, QStringView name)
{
    const Children rule = parent ? parent->children : Children::Html;
    switch (rule) {
    case Children::Foreign:
        return parent->ns;
    case Children::Annotation:
        return name == "svg"_L1 ? Ns::Svg : Ns::MathMl;
    case Children::MathText:
        if (name == "mglyph"_L1 || name == "malignmark"_L1)
            return Ns::MathMl;
        [[fallthrough]];
    case Children::Html:
        break;
    }
    return name == "svg"_L1 ? Ns::Svg : name == "math"_L1 ? Ns::MathMl : Ns::Html;
}

Children childrenOf(Ns ns, QStringView name, bool htmlAnnotation)
{
    if (ns == Ns::Html)
        return Children::Html;
    if (ns == Ns::Svg)
        return oneOf(name, {"foreignObject"_L1, "desc"_L1, "title"_L1}) ? Children::Html
                                                                        : Children::Foreign;
    if (oneOf(name, {"mi"_L1, "mo"_L1, "mn"_L1, "ms"_L1, "mtext"_L1}))
        return Children::MathText;
    if (name == "annotation-xml"_L1)
        return htmlAnnotation ? Children::Html : Children::Annotation;
    return Children::Foreign;
}

// White space as script's \s knows it: a value holding any of it is quoted.
bool isSpace(char16_t c)
{
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
    case 0xFEFF:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isTagEnd(char16_t c)
{
    return c == u' ' || c == u'>' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' ||
           c == u'/';
}

void appendName(QString &out, QStringView name, Ns ns)
{
    if (ns != Ns::Html) {
        out += name;
        return;
    }
    const qsizetype at = out.size();
    out += name;
    for (QChar *c = out.data() + at, *end = out.data() + out.size(); c != end; ++c)
        if (c->unicode() >= u'a' && c->unicode() <= u'z')
            *c = QChar(c->unicode() - 0x20);
}

// Text as the engine escaped it (&, <, > and U+00A0), with carriage returns as
// references so they survive the parser's line-ending rule.
void appendText(QString &out, QStringView text)
{
    qsizetype from = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
        out += text.sliced(from, cr - from);
        out += "&#13;"_L1;
        from = cr + 1;
    }
    out += text.sliced(from);
}

// A value as the engine wrote it between double quotes (& as &amp;, " as &quot;,
// U+00A0 as &nbsp;), written bare when it reads back the same, else in double quotes
// with only & and " escaped.
void appendValue(QString &out, QStringView value)
{
    bool bare = !value.isEmpty();
    for (qsizetype k = 0; bare && k < value.size(); ++k) {
        const char16_t c = value[k].unicode();
        bare = !(isSpace(c) || c == u'\'' || c == u'`' || c == u'=' || c == u'<' || c == u'>' ||
                 c == u'&' || c == u'"');
    }
    if (bare) {
        out += value;
        return;
    }
    out += u'"';
    qsizetype from = 0;
    for (qsizetype k = 0; k < value.size(); ++k) {
        const char16_t c = value[k].unicode();
        if (c == u'\r') {
            out += value.sliced(from, k - from);
            out += "&#13;"_L1;
            from = k + 1;
        } else if (c == u'&' && value.sliced(k).startsWith("&nbsp;"_L1)) {
            out += value.sliced(from, k - from);
            out += QChar(0xA0);
            k += 5;
            from = k + 1;
        }
    }
    out += value.sliced(from);
    out += u'"';
}

// Where the raw text of `name` starting at `from` ends: at the first end tag of that
// name, or, in a script, at the first one outside a `<!--<script>` … `</script>` run,
// as the tokenizer reads script data.
qsizetype rawTextEnd(QStringView in, qsizetype from, QStringView name)
{
    const qsizetype n = in.size();
    // `at` is just past '<' or "</": `tag` follows, then the end of a tag name.
    const auto tagAt = [&](qsizetype at, QStringView tag) {
        const qsizetype end = at + tag.size();
        return end < n && in.sliced(at, tag.size()).compare(tag, Qt::CaseInsensitive) == 0 &&
               isTagEnd(in[end].unicode());
    };
    const bool script = name == "script"_L1;
    bool escaped = false, doubleEscaped = false;
    for (qsizetype k = from; k < n; ++k) {
        const char16_t c = in[k].unicode();
        if (script && escaped && c == u'-' && in.sliced(k).startsWith("-->"_L1)) {
            escaped = doubleEscaped = false;
            k += 2;
            continue;
        }
        if (c != u'<')
            continue;
        if (script && !escaped && in.sliced(k).startsWith("<!--"_L1)) {
            qsizetype p = k + 4;
            while (p < n && in[p] == u'-')
                ++p;
            escaped = p >= n || in[p] != u'>'; // "<!-->" and "<!--->" open nothing
            k = escaped ? p - 1 : p;
            continue;
        }
        const bool endTag = k + 1 < n && in[k + 1] == u'/';
        if (script && escaped && !endTag && tagAt(k + 1, name)) {
            doubleEscaped = true;
            continue;
        }
        if (endTag && tagAt(k + 2, name)) {
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
    Rewriter(QStringView in, const Aids &aids) : m_in(in), m_aids(aids)
    {
        m_result.markup.reserve(in.size() + in.size() / 32 + 16);
    }

    Rewritten run()
    {
        const qsizetype n = m_in.size();
        while (m_at < n && !m_result.endsInPlaintext) {
            qsizetype lt = m_in.indexOf(u'<', m_at);
            if (lt < 0)
                lt = n;
            if (lt > m_at) {
                if (!hidden())
                    appendText(out(), m_in.sliced(m_at, lt - m_at));
                m_at = lt;
                continue;
            }
            const QStringView rest = m_in.sliced(m_at);
            if (rest.startsWith("<!--"_L1)) {
                const qsizetype end = m_in.indexOf("-->"_L1, m_at + 4);
                copyThrough(end < 0 ? n : end + 3);
            } else if (rest.startsWith("</"_L1)) {
                endTag();
            } else if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?')) {
                const qsizetype end = m_in.indexOf(u'>', m_at);
                copyThrough(end < 0 ? n : end + 1);
            } else if (rest.size() > 1 && !isTagEnd(rest[1].unicode())) {
                startTag();
            } else {
                copyThrough(m_at + 1); // a stray '<'
            }
        }
        return std::move(m_result);
    }

private:
    QString &out() { return m_result.markup; }
    bool hidden() const { return !m_open.empty() && m_open.back().hidden; }

    void copyThrough(qsizetype end)
    {
        if (!hidden())
            out() += m_in.sliced(m_at, end - m_at);
        m_at = end;
    }

    // At "</": the end tag of the open element (the engine's markup nests properly;
    // anything else is written as it came, upper-cased as HTML).
    void endTag()
    {
        const qsizetype nameAt = m_at + 2;
        qsizetype k = nameAt;
        while (k < m_in.size() && m_in[k] != u'>')
            ++k;
        const QStringView name = m_in.sliced(nameAt, k - nameAt);
        Ns ns = Ns::Html;
        bool wasHidden = hidden();
        if (!m_open.empty() && m_open.back().name == name) {
            ns = m_open.back().ns;
            m_open.pop_back();
        }
        if (!wasHidden) {
            out() += "</"_L1;
            appendName(out(), name, ns);
            out() += u'>';
        }
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
        const Ns ns = childNs(parent, name);
        const bool parentHidden = parent && parent->hidden;
        const qsizetype tagAt = out().size();
        out() += u'<';
        appendName(out(), name, ns);

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
            bool hasValue = false;
            if (k + 1 < n && m_in[k] == u'=' && m_in[k + 1] == u'"') {
                const qsizetype close = m_in.indexOf(u'"', k + 2);
                const qsizetype end = close < 0 ? n : close;
                value = m_in.sliced(k + 2, end - k - 2);
                hasValue = true;
                k = close < 0 ? n : close + 1;
            }
            if (attribute == m_aids.markerAttribute)
                aid = true;
            if (!m_aids.attributes.isEmpty() && m_aids.attributes.contains(attribute.toString()))
                continue;
            if (ns == Ns::MathMl && name == "annotation-xml"_L1 && attribute == "encoding"_L1)
                htmlAnnotation =
                    value.compare("text/html"_L1, Qt::CaseInsensitive) == 0 ||
                    value.compare("application/xhtml+xml"_L1, Qt::CaseInsensitive) == 0;
            out() += u' ';
            out() += attribute;
            if (hasValue) {
                out() += u'=';
                appendValue(out(), value);
            }
        }
        if (k < n && m_in[k] == u'>')
            ++k;
        out() += u'>';
        m_at = k;
        const bool hide = parentHidden || aid;
        if (hide)
            out().truncate(tagAt);
        if (ns != Ns::Html) {
            m_open.push_back({name, ns, childrenOf(ns, name, htmlAnnotation), hide});
            return;
        }
        if (isVoid(name))
            return;
        if (isRawText(name)) {
            rawText(name, hide);
            return;
        }
        if (!hide && m_at < n && m_in[m_at] == u'\n' &&
            oneOf(name, {"pre"_L1, "textarea"_L1, "listing"_L1}))
            out() += u'\n';
        m_open.push_back({name, ns, Children::Html, hide});
    }

    void rawText(QStringView name, bool hide)
    {
        const qsizetype end = rawTextEnd(m_in, m_at, name);
        if (!hide)
            out() += m_in.sliced(m_at, end - m_at);
        if (name == "plaintext"_L1 && !hide) {
            m_result.endsInPlaintext = true;
            m_at = m_in.size();
            return;
        }
        m_at = end;
        if (end == m_in.size())
            return;
        qsizetype k = end;
        while (k < m_in.size() && m_in[k] != u'>')
            ++k;
        if (!hide) {
            out() += "</"_L1;
            appendName(out(), name, Ns::Html);
            out() += u'>';
        }
        m_at = std::min(k + 1, m_in.size());
    }

    QStringView m_in;
    const Aids &m_aids;
    qsizetype m_at = 0;
    std::vector<Open> m_open;
    Rewritten m_result;
};

} // namespace

Rewritten rewrite(QStringView engineMarkup, const Aids &aids)
{
    return Rewriter(engineMarkup, aids).run();
}

QString document(QStringView before, QStringView root, QStringView after, const Aids &aids)
{
    Rewritten rewritten = rewrite(root, aids);
    QString html;
    html.reserve(before.size() + rewritten.markup.size() + after.size());
    html += before;
    html += rewritten.markup;
    if (!rewritten.endsInPlaintext)
        html += after;
    return html;
}

} // namespace lumipage::documentform
