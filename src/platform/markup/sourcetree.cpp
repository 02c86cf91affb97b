#include "platform/markup/sourcetree.h"

#include "platform/markup/documentform.h"
#include "platform/markup/elementrules.h"
#include "platform/markup/formends.h"
#include "platform/markup/sourcetreewriting.h"

#include <gumbo.h>

#include <cstring>
#include <optional>
#include <string>

namespace lumipage
{

namespace
{

using documentform::Kind;

// Copies the parser made of a formatting element left open, with the original's start tag.
constexpr unsigned kCloned =
    GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
constexpr unsigned kDisplaced =
    kCloned | GUMBO_INSERTION_ADOPTION_AGENCY_MOVED | GUMBO_INSERTION_FOSTER_PARENTED |
    GUMBO_INSERTION_CONVERTED_FROM_END_TAG | GUMBO_INSERTION_FROM_ISINDEX;

// The end tags in `past` without the white space around them; nullopt when it holds
// anything else, or no white space.
std::optional<QString> endTagsAlone(QByteArrayView past)
{
    const auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    };
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    QString tags;
    qsizetype k = 0, spaces = 0;
    while (k < past.size()) {
        if (space(past[k])) {
            ++k, ++spaces;
            continue;
        }
        if (!past.sliced(k).startsWith("</"))
            return std::nullopt;
        qsizetype end = k + 2;
        while (end < past.size() && letter(past[end]))
            ++end;
        const qsizetype name = end;
        while (end < past.size() && space(past[end]))
            ++end;
        if (name == k + 2 || end == past.size() || past[end] != '>')
            return std::nullopt;
        tags += QLatin1String("</") + QLatin1String(past.sliced(k + 2, name - k - 2)) + u'>';
        k = end + 1;
    }
    if (!spaces)
        return std::nullopt;
    return tags;
}

class Walker
{
public:
    Walker(const sourcemap::SourceText &source, std::vector<SourceElement> &elements,
           bool recording)
        : m_source(source), m_elements(elements), m_recording(recording), m_forms(source.utf8)
    {
    }

    bool wellNested() const { return m_wellNested; }

    // Writes `node` as the engine's outerHTML would, recording elements on the way.
    void write(const GumboNode *node, qint32 parent, std::string &out)
    {
        if (node->parse_flags & kDisplaced)
            m_wellNested = false;
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA: {
            const char *text = node->v.text.text + m_forms.skipOf(node);
            if (rawTextParent(node->parent))
                out += text;
            else
                addEscaped(out, text, false);
            return;
        }
        case GUMBO_NODE_COMMENT:
            out += "<!--";
            out += node->v.text.text;
            out += "-->";
            return;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            element(node, parent, out);
            return;
        case GUMBO_NODE_DOCUMENT:
            return;
        }
    }

private:
    qint32 original(unsigned utf8Offset) const
    {
        return qint32(m_source.toOriginal(qsizetype(utf8Offset)));
    }

    void element(const GumboNode *node, qint32 parent, std::string &out)
    {
        const GumboElement &e = node->v.element;
        const std::string name = writtenName(e);
        const bool html = e.tag_namespace == GUMBO_NAMESPACE_HTML;
        // Template contents are a fragment of their own, outside the engine's tree walk.
        const bool counted = m_recording && !m_inTemplate;
        const qint32 ordinal = counted ? qint32(m_elements.size()) : -1;
        const FormEnds::End *formEnd = html ? m_forms.of(node) : nullptr;
        // The text after a child form gives up its start before this element is recorded.
        for (unsigned k = 0; k < e.children.length; ++k) {
            const auto *child = static_cast<const GumboNode *>(e.children.data[k]);
            if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_FORM)
                m_forms.of(child);
        }
        if (counted)
            m_elements.push_back(record(node, parent, name, html, formEnd));
        if (html && leavesStateBehind(node))
            m_wellNested = false;

        out += '<';
        out += name;
        for (unsigned k = 0; k < e.attributes.length; ++k) {
            const auto *a = static_cast<const GumboAttribute *>(e.attributes.data[k]);
            out += ' ';
            out += writtenAttributeName(*a);
            out += "=\"";
            addEscaped(out, a->value, true);
            out += '"';
        }
        out += '>';
        if (html && kindOfName(name) == Kind::Void)
            return;
        const bool wasInTemplate = m_inTemplate;
        m_inTemplate = m_inTemplate || node->type == GUMBO_NODE_TEMPLATE;
        for (unsigned k = 0; k < e.children.length; ++k)
            write(static_cast<const GumboNode *>(e.children.data[k]), ordinal, out);
        if (formEnd)
            addEscaped(out, formEnd->ownText, false);
        m_inTemplate = wasInTemplate;
        out += "</";
        out += name;
        out += '>';
    }

    // Where a node begins in the parsed bytes.
    unsigned startOf(const GumboNode *node) const
    {
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return m_forms.startOf(node);
        return node->v.element.start_pos.offset;
    }

    SourceElement record(const GumboNode *node, qint32 parent, const std::string &name, bool html,
                         const FormEnds::End *formEnd) const
    {
        const GumboElement &e = node->v.element;
        // Where its end tag stands, also for a form the parser left without one.
        const unsigned endAt = formEnd ? formEnd->endTag : e.end_pos.offset;
        const unsigned endTagLength =
            formEnd ? formEnd->endTagLength : unsigned(e.original_end_tag.length);
        SourceElement r;
        r.parent = parent;
        r.name = QByteArray::fromStdString(name);
        r.html = html;
        r.startTag = e.original_tag.length > 0;
        const unsigned start = e.start_pos.offset;
        const unsigned tagEnd = start + unsigned(e.original_tag.length);
        r.tagStart = original(start);
        r.tagEnd = original(tagEnd);
        // A copy's content is what the parser put into it where it made it: the bytes
        // from its first child on, which stand in place (an empty copy has no place).
        const auto *first =
            e.children.length ? static_cast<const GumboNode *>(e.children.data[0]) : nullptr;
        r.cloned = html && (node->parse_flags & kCloned);
        const unsigned contentStart = r.cloned && first ? startOf(first) : tagEnd;
        r.innerStart = original(contentStart);
        r.innerEnd = std::max(original(endAt), r.innerStart);
        r.endTag = endTagLength > 0 && !(node->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG);
        r.outerEnd = r.endTag ? original(endAt + endTagLength) : r.innerEnd;
        if (html) {
            const Kind kind = kindOfName(name);
            r.rawText = kind == Kind::RawText || e.tag == GUMBO_TAG_TITLE;
            r.leadingLine = kind == Kind::LeadingNewline;
            r.isVoid = kind == Kind::Void;
            if (r.isVoid) {
                r.endTag = false;
                r.outerEnd = r.tagEnd;
            }
        }
        // Its content must lie between its tags, in the order of the tree.
        r.displaced = node->parse_flags & kDisplaced;
        r.contiguous = (!r.displaced || (r.cloned && first)) && !r.isVoid;
        unsigned last = contentStart;
        // A copy's end may be the original's (the parser copies the element with where it
        // ended): what follows that end is not white space run on past the copy's own.
        const bool ownEndTag = endTagLength && !r.cloned;
        for (unsigned k = 0; k < e.children.length && r.contiguous; ++k) {
            const auto *child = static_cast<const GumboNode *>(e.children.data[k]);
            const unsigned at = startOf(child);
            // White space after the end tag (the line end after </html>) joins the body.
            if (at >= endAt && child->type == GUMBO_NODE_WHITESPACE && ownEndTag) {
                r.tail += QString::fromUtf8(child->v.text.text + m_forms.skipOf(child));
                continue;
            }
            // A copy among the children is not in the content's bytes (its start tag is
            // another's, which the parser copies again where the content is read).
            if (at < last || at > endAt || !r.tail.isEmpty() || (child->parse_flags & kDisplaced))
                r.contiguous = false;
            last = at;
        }
        if (r.contiguous && e.children.length && ownEndTag)
            runOnText(e, endAt, r);
        if (ownEndTag && r.tail.isEmpty())
            runOnPast(e, endAt, r);
        return r;
    }

    // A descendant left open at the content's end, down its last children, that the
    // parser holds open past the end tag at `endAt`: the white space after the end tags
    // that follow goes into it. Only end tags and white space may stand in between.
    void runOnPast(const GumboElement &e, unsigned endAt, SourceElement &r) const
    {
        const GumboElement *open = nullptr;
        for (const GumboElement *at = &e; at->children.length && !open;) {
            const auto *last =
                static_cast<const GumboNode *>(at->children.data[at->children.length - 1]);
            if (last->type != GUMBO_NODE_ELEMENT)
                return;
            at = &last->v.element;
            const bool ownEnd = at->original_end_tag.length &&
                                !(last->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG);
            if (at->end_pos.offset > endAt && !ownEnd)
                open = at;
        }
        if (!open)
            return;
        const unsigned to = open->end_pos.offset;
        if (std::optional<QString> tags =
                endTagsAlone(QByteArrayView(m_source.utf8).sliced(endAt, to - endAt))) {
            r.runsOnTo = original(to);
            r.endTagsPast = *std::move(tags);
        }
    }

    // The last text may run on past the end tag (white space after </body> joins the
    // body's last text): what lies beyond is the tail, or the content is not contiguous.
    void runOnText(const GumboElement &e, unsigned endAt, SourceElement &r) const
    {
        const auto *last = static_cast<const GumboNode *>(e.children.data[e.children.length - 1]);
        if (last->type != GUMBO_NODE_WHITESPACE && last->type != GUMBO_NODE_TEXT)
            return;
        const unsigned from = m_forms.startOf(last), to = endAt;
        const char *own = last->v.text.text + m_forms.skipOf(last);
        if (from >= to || strlen(own) <= to - from)
            return; // references and line ends only ever make the text shorter
        QString inside = QString::fromUtf8(m_source.utf8.constData() + from, to - from);
        inside.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
        const QString text = QString::fromUtf8(own);
        const QString beyond = text.mid(inside.size());
        if (text.startsWith(inside) && beyond.trimmed().isEmpty())
            r.tail = beyond + r.tail;
        else
            r.contiguous = false;
    }

    // What the parser may carry past this element's end: a formatting element closed
    // without its end tag stays in the list of formatting elements (and comes back in
    // what follows), a form in a table section leaves the form open, a frameset changes
    // how a body reads.
    static bool leavesStateBehind(const GumboNode *node)
    {
        const GumboElement &e = node->v.element;
        switch (e.tag) {
        case GUMBO_TAG_A:
        case GUMBO_TAG_B:
        case GUMBO_TAG_BIG:
        case GUMBO_TAG_CODE:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_FONT:
        case GUMBO_TAG_I:
        case GUMBO_TAG_NOBR:
        case GUMBO_TAG_S:
        case GUMBO_TAG_SMALL:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_STRONG:
        case GUMBO_TAG_TT:
        case GUMBO_TAG_U:
            return node->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG;
        case GUMBO_TAG_FORM: {
            const GumboNode *parent = node->parent;
            if (!parent || parent->type != GUMBO_NODE_ELEMENT)
                return false;
            const GumboTag p = parent->v.element.tag;
            return p == GUMBO_TAG_TABLE || p == GUMBO_TAG_TBODY || p == GUMBO_TAG_THEAD ||
                   p == GUMBO_TAG_TFOOT || p == GUMBO_TAG_TR;
        }
        case GUMBO_TAG_FRAMESET:
            return true;
        default:
            return false;
        }
    }

    const sourcemap::SourceText &m_source;
    std::vector<SourceElement> &m_elements;
    const bool m_recording;
    FormEnds m_forms;
    bool m_inTemplate = false;
    bool m_wellNested = true;
};

qsizetype doctypeOffset(const QByteArray &utf8)
{
    for (qsizetype k = utf8.indexOf("<!"); k >= 0; k = utf8.indexOf("<!", k + 2))
        if (utf8.mid(k + 2, 7).compare("doctype", Qt::CaseInsensitive) == 0)
            return k;
    return 0;
}

std::string doctype(const GumboDocument &d)
{
    std::string s = std::string("<!DOCTYPE ") + d.name;
    if (*d.public_identifier)
        s += std::string(" PUBLIC \"") + d.public_identifier + '"';
    if (*d.system_identifier)
        s += std::string(*d.public_identifier ? "" : " SYSTEM") + " \"" + d.system_identifier + '"';
    return s + '>';
}

} // namespace

SourceTree::SourceTree(const sourcemap::SourceText &source, bool recordElements)
{
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0; // only the tree counts
    GumboOutput *output =
        gumbo_parse_with_options(&options, source.utf8.constData(), size_t(source.utf8.size()));
    const GumboDocument &document = output->document->v.document;
    std::string before, root, after;
    // The doctype among the comments before the root, where it stands in the source.
    const qsizetype doctypeAt = document.has_doctype ? doctypeOffset(source.utf8) : -1;
    bool doctypeWritten = !document.has_doctype;
    Walker walker(source, m_elements, recordElements);
    for (unsigned k = 0; k < document.children.length; ++k) {
        const auto *node = static_cast<const GumboNode *>(document.children.data[k]);
        const qsizetype at = node->type == GUMBO_NODE_ELEMENT ? node->v.element.start_pos.offset
                                                              : node->v.text.start_pos.offset;
        if (!doctypeWritten && (node == output->root || at >= doctypeAt || !root.empty())) {
            before += doctype(document);
            doctypeWritten = true;
        }
        if (node == output->root)
            walker.write(node, -1, root);
        else
            walker.write(node, -1, root.empty() ? before : after);
    }
    if (!doctypeWritten)
        before += doctype(document);
    m_quirks = document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    m_wellNested = walker.wellNested();
    gumbo_destroy_output(&options, output);
    m_html = documentform::document(QString::fromStdString(before), QString::fromStdString(root),
                                    QString::fromStdString(after), {},
                                    recordElements ? &m_spans : nullptr);
    if (m_spans.size() != m_elements.size())
        m_spans.clear();
}

std::string writtenNode(const GumboNode *node, const QByteArray &parsed)
{
    sourcemap::SourceText source;
    source.utf8 = parsed;
    std::vector<SourceElement> unused;
    std::string out;
    Walker(source, unused, false).write(node, -1, out);
    return out;
}

} // namespace lumipage
