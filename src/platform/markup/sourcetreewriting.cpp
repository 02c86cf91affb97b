// How the parser's names, attributes and text are written, as the engine's outerHTML
// writes them.
#include "platform/markup/sourcetreewriting.h"

namespace lumipage
{

documentform::Kind kindOfName(const std::string &name)
{
    // Names of HTML void, raw-text and newline elements are short ASCII.
    if (name.size() > 9)
        return documentform::Kind::Plain;
    char16_t wide[10];
    for (size_t k = 0; k < name.size(); ++k)
        wide[k] = char16_t(static_cast<unsigned char>(name[k]));
    return documentform::kindOf(QStringView(wide, qsizetype(name.size())));
}

namespace
{

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 0x20);
    return out;
}

} // namespace

// The element's name as the engine's outerHTML writes it.
std::string writtenName(const GumboElement &e)
{
    if (e.tag_namespace == GUMBO_NAMESPACE_SVG && e.original_tag.length) {
        GumboStringPiece piece = e.original_tag;
        gumbo_tag_from_original_text(&piece);
        if (const char *adjusted = gumbo_normalize_svg_tagname(&piece))
            return adjusted;
    }
    if (e.tag != GUMBO_TAG_UNKNOWN)
        return gumbo_normalized_tagname(e.tag);
    GumboStringPiece piece = e.original_tag;
    gumbo_tag_from_original_text(&piece);
    return lower(std::string_view(piece.data, piece.length));
}

std::string writtenAttributeName(const GumboAttribute &a)
{
    switch (a.attr_namespace) {
    case GUMBO_ATTR_NAMESPACE_XLINK:
        return std::string("xlink:") + a.name;
    case GUMBO_ATTR_NAMESPACE_XML:
        return std::string("xml:") + a.name;
    case GUMBO_ATTR_NAMESPACE_XMLNS:
        return std::string_view(a.name) == "xmlns" ? "xmlns" : std::string("xmlns:") + a.name;
    default:
        return a.name;
    }
}

// Text escaped as the engine's serialiser escapes it: in text & < > and U+00A0, in an
// attribute value & " and U+00A0.
void addEscaped(std::string &out, std::string_view text, bool attribute)
{
    for (size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '&')
            out += "&amp;";
        else if (c == '<' && !attribute)
            out += "&lt;";
        else if (c == '>' && !attribute)
            out += "&gt;";
        else if (c == '"' && attribute)
            out += "&quot;";
        else if (c == '\xC2' && k + 1 < text.size() && text[k + 1] == '\xA0')
            out += "&nbsp;", ++k;
        else
            out += c;
    }
}

bool rawTextParent(const GumboNode *parent)
{
    if (!parent || parent->type == GUMBO_NODE_DOCUMENT)
        return false;
    const GumboElement &e = parent->v.element;
    if (e.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    switch (e.tag) {
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_PLAINTEXT:
        return true;
    default:
        return false;
    }
}

} // namespace lumipage
