#include "platform/markup/formends.h"

#include <cstring>

namespace lumipage
{

namespace
{

bool isText(const GumboNode *n)
{
    return n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE ||
           n->type == GUMBO_NODE_CDATA;
}

// Where `node`'s own bytes end in the parsed text (its end tag, or its last descendant).
unsigned sourceEnd(const GumboNode *node)
{
    if (isText(node))
        return node->v.text.start_pos.offset + unsigned(node->v.text.original_text.length);
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
        return node->v.text.start_pos.offset + unsigned(node->v.text.original_text.length);
    const GumboElement &e = node->v.element;
    if (e.original_end_tag.length)
        return e.end_pos.offset + unsigned(e.original_end_tag.length);
    unsigned end = e.start_pos.offset + unsigned(e.original_tag.length);
    if (e.children.length)
        end = std::max(
            end, sourceEnd(static_cast<const GumboNode *>(e.children.data[e.children.length - 1])));
    return end;
}

// Text as the parser reads it in a body: references resolved, line ends as line feeds.
std::string textRead(const QByteArray &bytes)
{
    const QByteArray page = "<body>" + bytes;
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, page.constData(), size_t(page.size()));
    std::string text;
    const GumboVector &children = output->root->v.element.children;
    const auto *body = static_cast<const GumboNode *>(children.data[children.length - 1]);
    for (unsigned k = 0; k < body->v.element.children.length; ++k) {
        const auto *n = static_cast<const GumboNode *>(body->v.element.children.data[k]);
        text += isText(n) ? n->v.text.text : "\x01"; // anything else is not plain text
    }
    gumbo_destroy_output(&options, output);
    return text;
}

} // namespace

const FormEnds::End *FormEnds::of(const GumboNode *form)
{
    const GumboElement &e = form->v.element;
    if (e.tag != GUMBO_TAG_FORM || e.tag_namespace != GUMBO_NAMESPACE_HTML ||
        e.original_end_tag.length || e.end_pos.offset ||
        (form->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG) || !form->parent)
        return nullptr;
    if (const auto found = m_ends.find(form); found != m_ends.end())
        return &found->second;
    // The first `</form` past the form's content: what lies between is text alone, for
    // anything else would have been put into the form.
    const qsizetype from = qsizetype(sourceEnd(form));
    qsizetype at = from;
    for (;; ++at) {
        at = m_parsed.indexOf("</", at);
        if (at < 0 || at + 6 >= m_parsed.size())
            return nullptr;
        if (qstrnicmp(m_parsed.constData() + at + 2, "form", 4) == 0 &&
            strchr(" \t\n\f\r/>", m_parsed.at(at + 6)))
            break;
    }
    const qsizetype close = m_parsed.indexOf('>', at);
    if (close < 0)
        return nullptr;
    End end{unsigned(at), unsigned(close + 1 - at), {}};
    if (at > from) {
        end.ownText = textRead(m_parsed.mid(from, at - from));
        // It went to the start of the text after the form.
        const GumboVector &siblings = form->parent->v.element.children;
        const size_t next = form->index_within_parent + 1;
        const auto *text =
            next < siblings.length ? static_cast<const GumboNode *>(siblings.data[next]) : nullptr;
        if (!end.ownText.empty() &&
            (!text || !isText(text) || text->v.text.start_pos.offset >= unsigned(at) ||
             strncmp(text->v.text.text, end.ownText.data(), end.ownText.size()) != 0))
            return nullptr;
        if (!end.ownText.empty())
            m_skips[text] = {end.ownText.size(), end.endTag + end.endTagLength};
    }
    return &(m_ends[form] = std::move(end));
}

size_t FormEnds::skipOf(const GumboNode *text) const
{
    const auto found = m_skips.find(text);
    return found == m_skips.end() ? 0 : found->second.first;
}

unsigned FormEnds::startOf(const GumboNode *text) const
{
    const auto found = m_skips.find(text);
    return found == m_skips.end() ? text->v.text.start_pos.offset : found->second.second;
}

} // namespace lumipage
