// New markup read by the parser where it will stand in a page, without the rest of the
// page: after the start tags of the elements around it.
#include "platform/markup/sourcetree.h"
#include "platform/markup/sourcetreewriting.h"

#include <gumbo.h>

namespace lumipage
{

std::optional<QString> SourceTree::readInPlace(const std::vector<QByteArray> &ancestors,
                                               const QString &piece, bool opens, bool quirks,
                                               const QByteArray &stillOpen, int *nodes)
{
    // The mark: a template goes in as it is wherever an element may be (in a table, a
    // select, the head), and only into the element open at that point.
    static constexpr char kMark[] = "<template></template>";
    QByteArray text = quirks ? QByteArray() : QByteArrayLiteral("<!DOCTYPE html>");
    for (const QByteArray &name : ancestors)
        text += '<' + name + '>';
    if (!stillOpen.isEmpty())
        text += '<' + stillOpen + '>';
    text += piece.toUtf8();
    const unsigned markAt = unsigned(text.size());
    text += kMark;

    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, text.constData(), size_t(text.size()));
    // The mark is the last element in the tree, unless something took it elsewhere.
    GumboNode *node = output->document;
    while (node->type == GUMBO_NODE_DOCUMENT || node->type == GUMBO_NODE_ELEMENT ||
           node->type == GUMBO_NODE_TEMPLATE) {
        const GumboVector &children = node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                                                        : node->v.element.children;
        if (!children.length)
            break;
        node = static_cast<GumboNode *>(children.data[children.length - 1]);
    }
    GumboNode *inner = node->parent;
    const bool marked = node->type == GUMBO_NODE_TEMPLATE &&
                        node->v.element.start_pos.offset == markAt && inner &&
                        inner->type == GUMBO_NODE_ELEMENT;
    // The mark's place: inside the ancestors (and the element the piece opens), nothing
    // else between.
    bool placed = marked;
    size_t depth = ancestors.size() + (opens ? 1 : 0);
    for (const GumboNode *n = inner; placed && n && n->type != GUMBO_NODE_DOCUMENT; n = n->parent) {
        placed = depth > 0 && (depth > ancestors.size() ||
                               writtenName(n->v.element) == ancestors[depth - 1].toStdString());
        --depth;
    }
    // The sibling left open before the piece: closed by it, with nothing in it.
    const GumboVector &around = inner ? inner->v.element.children : GumboVector{};
    const auto *first =
        around.length > 1 ? static_cast<const GumboNode *>(around.data[0]) : nullptr;
    const unsigned skip = stillOpen.isEmpty() ? 0 : 1;
    if (skip && placed)
        placed = first && first->type == GUMBO_NODE_ELEMENT && !first->v.element.children.length &&
                 writtenName(first->v.element) == stillOpen.toStdString();
    std::optional<QString> read;
    if (placed && depth == 0) {
        std::string out;
        GumboVector &children = inner->v.element.children;
        --children.length; // the mark left out, and put back before the tree is freed
        if (opens) {
            out = writtenNode(inner, text);
        } else {
            for (unsigned k = skip; k < children.length; ++k)
                out += writtenNode(static_cast<const GumboNode *>(children.data[k]), text);
        }
        if (nodes)
            *nodes = int(children.length - skip);
        ++children.length;
        read = documentform::rewrite(QString::fromStdString(out)).markup;
    }
    gumbo_destroy_output(&options, output);
    return read;
}

} // namespace lumipage
