#include "check/finders/parsedpage.h"

#include <gumbo.h>

#include <algorithm>

namespace lumipage::check
{

namespace
{

const GumboVector &childrenOf(const GumboNode *node)
{
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

} // namespace

ParsedPage::ParsedPage(const QString &text) : m_text(text), m_utf8(text.toUtf8())
{
    // Positions: each UTF-8 offset to the UTF-16 index of the character it falls in.
    m_positionOfUtf8.resize(size_t(m_utf8.size()) + 1);
    qint32 current = 0, next = 0;
    for (qsizetype k = 0; k < m_utf8.size(); ++k) {
        const auto byte = uchar(m_utf8[k]);
        if ((byte & 0xC0) != 0x80) { // a lead byte begins the next character
            current = next;
            next += byte >= 0xF0 ? 2 : 1;
        }
        m_positionOfUtf8[size_t(k)] = current;
    }
    m_positionOfUtf8.back() = next;

    m_lineStarts.push_back(0);
    for (qsizetype k = 0; k < m_text.size(); ++k) {
        const QChar c = m_text[k];
        if (c == u'\n' || (c == u'\r' && (k + 1 == m_text.size() || m_text[k + 1] != u'\n')))
            m_lineStarts.push_back(k + 1);
    }

    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    m_output = gumbo_parse_with_options(&options, m_utf8.constData(), size_t(m_utf8.size()));
    walk(m_output->document, false);
}

ParsedPage::~ParsedPage()
{
    gumbo_destroy_output(&kGumboDefaultOptions, m_output);
}

const GumboNode *ParsedPage::document() const
{
    return m_output->document;
}

void ParsedPage::walk(const GumboNode *node, bool inTemplate)
{
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) {
        if (!inTemplate) {
            const GumboElement &e = node->v.element;
            CheckedElement element;
            element.node = node;
            element.name = elementName(node);
            if (e.original_tag.length > 0) {
                element.start = positionOfUtf8(e.start_pos.offset);
                element.tagEnd = positionOfUtf8(e.start_pos.offset + e.original_tag.length);
                element.line = lineAt(element.start);
            }
            element.end = std::max(element.tagEnd,
                                   positionOfUtf8(e.end_pos.offset + e.original_end_tag.length));
            m_ordinals.insert(node, int(m_elements.size()));
            m_elements.push_back(element);
        }
        inTemplate = inTemplate || node->type == GUMBO_NODE_TEMPLATE;
    } else if (node->type != GUMBO_NODE_DOCUMENT) {
        return;
    }
    const GumboVector &children = childrenOf(node);
    for (unsigned k = 0; k < children.length; ++k)
        walk(static_cast<const GumboNode *>(children.data[k]), inTemplate);
}

int ParsedPage::ordinalOf(const GumboNode *node) const
{
    return m_ordinals.value(node, -1);
}

qsizetype ParsedPage::positionOfUtf8(qsizetype offset) const
{
    return m_positionOfUtf8[size_t(std::clamp<qsizetype>(offset, 0, m_utf8.size()))];
}

int ParsedPage::lineAt(qsizetype position) const
{
    return int(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position) -
               m_lineStarts.begin());
}

qsizetype ParsedPage::positionAt(int line, int column) const
{
    if (line < 1 || size_t(line) > m_lineStarts.size())
        return -1;
    qsizetype at = m_lineStarts[size_t(line - 1)];
    for (int c = 1; c < column && at < m_text.size(); ++c)
        at += m_text[at].isHighSurrogate() ? 2 : 1;
    return at;
}

int ParsedPage::elementAt(qsizetype position) const
{
    int holder = -1;
    for (size_t k = 0; k < m_elements.size(); ++k) {
        const CheckedElement &e = m_elements[k];
        if (e.start == position)
            return int(k);
        // Later elements in the walk lie inside earlier ones: the last holder is innermost.
        if (e.start >= 0 && e.start < position && position < e.end)
            holder = int(k);
    }
    return holder;
}

QString elementName(const GumboNode *node)
{
    const GumboElement &e = node->v.element;
    if (e.tag != GUMBO_TAG_UNKNOWN)
        return QString::fromLatin1(gumbo_normalized_tagname(e.tag)).toUpper();
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    return QString::fromUtf8(piece.data, qsizetype(piece.length)).toUpper();
}

QString attribute(const GumboNode *node, const char *name)
{
    const GumboAttribute *a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? QString::fromUtf8(a->value) : QString();
}

bool hasAttribute(const GumboNode *node, const char *name)
{
    return gumbo_get_attribute(&node->v.element.attributes, name) != nullptr;
}

} // namespace lumipage::check
