#include "platform/markup/markupproblems.h"

#include "platform/markup/elementrules.h"
#include "platform/markup/sourcetreewriting.h"
#include "platform/markup/textchange.h"

#include <gumbo.h>

#include <QString>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace lumipage::markupproblems
{

namespace
{

// Elements whose end tag the parser implies where the next element or the parent's end
// comes: leaving it out reads as written.
bool endTagOptional(const std::string &name)
{
    static const std::set<std::string> optional = {
        "html",    "head",  "body",  "p",     "li",       "dt",     "dd",
        "rb",      "rt",    "rtc",   "rp",    "optgroup", "option", "colgroup",
        "caption", "thead", "tbody", "tfoot", "tr",       "td",     "th"};
    return optional.count(name) > 0;
}

// Elements whose text the tokenizer reads as text to their own end tag.
bool holdsRawText(const GumboNode *parent)
{
    if (!parent || parent->type != GUMBO_NODE_ELEMENT)
        return false;
    switch (parent->v.element.tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_PLAINTEXT:
        return true;
    default:
        return false;
    }
}

struct Walk {
    std::vector<std::pair<qsizetype, qsizetype>> markup; // tags, comments, raw text
    std::set<qsizetype> endTags;                         // end tags that closed their element
    std::vector<Problem> found;

    void visit(const GumboNode *node)
    {
        if (node->type == GUMBO_NODE_COMMENT || node->type == GUMBO_NODE_TEXT ||
            node->type == GUMBO_NODE_CDATA) {
            if (node->type != GUMBO_NODE_TEXT || holdsRawText(node->parent))
                markup.emplace_back(node->v.text.start_pos.offset,
                                    node->v.text.start_pos.offset +
                                        node->v.text.original_text.length);
            return;
        }
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE &&
            node->type != GUMBO_NODE_DOCUMENT)
            return;
        const GumboVector &children = node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                                                        : node->v.element.children;
        if (node->type != GUMBO_NODE_DOCUMENT)
            element(node->v.element, node->parse_flags);
        for (unsigned k = 0; k < children.length; ++k)
            visit(static_cast<const GumboNode *>(children.data[k]));
    }

    void element(const GumboElement &e, unsigned flags)
    {
        // The end tag the parser read for the element, when it names it (else it stands for
        // the tag that made the parser close the element).
        const bool ownEnd = e.original_end_tag.length &&
                            tagName(e.original_end_tag, 2) == tagName(e.original_tag, 1);
        if (ownEnd)
            endTags.insert(e.end_pos.offset);
        // Copies the parser made of an element (formatting carried on) are not written.
        constexpr unsigned copies = GUMBO_INSERTION_BY_PARSER |
                                    GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT |
                                    GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
        if (!e.original_tag.length || (flags & copies))
            return;
        const qsizetype start = e.start_pos.offset;
        markup.emplace_back(start, start + qsizetype(e.original_tag.length));
        if (ownEnd)
            return;
        const std::string name = writtenName(e);
        // Self-closed in SVG or MathML.
        const bool foreign = e.tag_namespace != GUMBO_NAMESPACE_HTML;
        if (!foreign && !endTagOptional(name) &&
            documentform::kindOf(QString::fromStdString(name)) != documentform::Void)
            found.push_back({Problem::Unclosed, start, start + qsizetype(e.original_tag.length)});
    }

    // The name a tag's text holds after its first `skip` characters, in lower case.
    static QByteArray tagName(const GumboStringPiece &tag, size_t skip)
    {
        size_t end = skip;
        while (end < tag.length && !std::strchr(" \t\n\r\f/>", tag.data[end]))
            ++end;
        return QByteArray(tag.data + skip, qsizetype(end - skip)).toLower();
    }
};

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::vector<Problem> problems(const QByteArray &text, const QByteArray &context)
{
    const QByteArray parsed = context + text;
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output =
        gumbo_parse_with_options(&options, parsed.constData(), size_t(parsed.size()));
    Walk walk;
    walk.visit(output->document);
    gumbo_destroy_output(&options, output);

    // End tags that stand outside every tag, comment and raw text and closed nothing.
    std::sort(walk.markup.begin(), walk.markup.end());
    auto covering = walk.markup.cbegin();
    for (qsizetype k = parsed.indexOf("</", context.size()); k >= 0;
         k = parsed.indexOf("</", k + 2)) {
        while (covering != walk.markup.cend() && covering->second <= k)
            ++covering;
        const bool inside = covering != walk.markup.cend() && covering->first <= k;
        if (inside || k + 2 >= parsed.size() || !isAsciiLetter(parsed.at(k + 2)) ||
            walk.endTags.count(k))
            continue;
        const qsizetype close = parsed.indexOf('>', k);
        walk.found.push_back({Problem::StrayEndTag, k, close < 0 ? parsed.size() : close + 1});
    }
    std::vector<Problem> out;
    for (Problem p : walk.found) {
        if (p.start < context.size())
            continue;
        p.start -= context.size();
        p.end -= context.size();
        out.push_back(p);
    }
    std::sort(out.begin(), out.end(),
              [](const Problem &a, const Problem &b) { return a.start < b.start; });
    return out;
}

std::vector<Problem> introduced(const QByteArray &before, const QByteArray &after)
{
    const std::optional<textchange::Stretch> change = textchange::between(before, after);
    if (!change)
        return {};
    // Where each problem of `before` stands in `after`, when its text is still there.
    const qsizetype changeEnd = change->start + change->removed;
    const qsizetype shift = change->inserted.size() - change->removed;
    std::set<std::pair<int, qsizetype>> had;
    for (const Problem &p : problems(before)) {
        if (p.end <= change->start)
            had.emplace(p.kind, p.start);
        else if (p.start >= changeEnd)
            had.emplace(p.kind, p.start + shift);
    }
    std::vector<Problem> out;
    for (const Problem &p : problems(after))
        if (!had.count({p.kind, p.start}))
            out.push_back(p);
    return out;
}

} // namespace lumipage::markupproblems
