#pragma once

// What the parser's rules say about an element from its name: the namespace it lands
// in under its parent, and for HTML elements whether they are void, hold raw text or
// lose a leading newline. The writer of DocumentHTML follows them to read the engine's
// markup as the tree it came from.
#include <QStringView>

#include <string>

namespace lumipage::documentform
{

enum class Ns : quint8 { Html, Svg, MathMl };

// How the parser treats an element's children: as HTML (HTML elements and the
// integration points of foreign content), in the parent's own namespace, as MathML text
// (HTML apart from mglyph and malignmark), or as an annotation-xml without an HTML
// encoding (SVG for svg, MathML otherwise).
enum class Children : quint8 { Html, Foreign, MathText, Annotation };

// Whether `name` is exactly `literal`.
template <qsizetype N> bool is(QStringView name, const char16_t (&literal)[N])
{
    return name.size() == N - 1 &&
           std::char_traits<char16_t>::compare(name.utf16(), literal, N - 1) == 0;
}

// What an HTML element's name says about how it is written.
enum Kind : quint8 {
    Plain,
    Void,           // closed by the parser at once: no end tag
    RawText,        // content written by the engine as raw text
    LeadingNewline, // the parser drops a newline right after the start tag
};

// How an HTML element is written, from its (lower-case) name.
Kind kindOf(QStringView name);
// The namespace of a child element named `name` under a parent of `parentNs` whose
// children follow `rule` (an HTML parent: Ns::Html, Children::Html).
Ns childNs(Ns parentNs, Children rule, QStringView name);
// How the children of an element are parsed.
Children childrenOf(Ns ns, QStringView name, bool htmlAnnotation);

} // namespace lumipage::documentform
