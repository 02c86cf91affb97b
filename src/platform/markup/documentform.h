#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

#include <vector>

namespace lumipage::documentform
{

// What the rewrite leaves out besides the markup itself.
struct Aids {
    // An element carrying this attribute is an editing aid: it is left out with its content.
    QString markerAttribute = QStringLiteral("data-lumipage-aid");
    // Attributes the editor sets on page elements for editing; they are left out.
    QSet<QString> attributes;
};

struct Rewritten {
    QString markup;
    // The markup ends inside PLAINTEXT, which reads to the end of the file: nothing
    // written after it would read back as anything but more of its text.
    bool endsInPlaintext = false;
};

// Where one element stands in rewritten markup: its start tag [tagStart, innerStart),
// its content [innerStart, innerEnd) (empty for a void element; after a PRE's start tag
// the doubled newline is outside it), its end [tagStart, outerEnd). Elements are listed in the
// order of their start tags, as the engine's element walk meets them: editing aids and the contents
// of templates are left out.
struct ElementSpan {
    qsizetype tagStart = 0, innerStart = 0, innerEnd = 0, outerEnd = 0;
};

// Turns the engine's own serialisation of an element (its outerHTML) into the form
// DocumentHTML writes: HTML element names in upper case (foreign SVG and MathML names
// as they are), attribute values bare when that reads back the same and quoted
// otherwise, text and raw-text content as the engine wrote it, a carriage return in
// text or in a value as `&#13;` (a raw one would read back as a line feed), a leading
// newline of PRE, TEXTAREA and LISTING doubled (the parser drops one), editing aids
// left out, and nothing after the content of PLAINTEXT. One pass, linear in the input;
// any input, however malformed, gives some output without reading past its end.
// `upperCaseNames` false leaves HTML names in the engine's lower case (for markup written
// into a page whose author wrote them so).
// With `spans`, each element's place in the result is added to it.
Rewritten rewrite(QStringView engineMarkup, const Aids &aids = {}, bool upperCaseNames = true,
                  std::vector<ElementSpan> *spans = nullptr);

// The whole page: the nodes before the root element (doctype, comments, already in
// their final form), the root element as the engine serialised it, and the nodes after.
QString document(QStringView before, QStringView root, QStringView after, const Aids &aids = {},
                 std::vector<ElementSpan> *spans = nullptr);

} // namespace lumipage::documentform
