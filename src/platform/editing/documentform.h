#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

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
Rewritten rewrite(QStringView engineMarkup, const Aids &aids = {}, bool upperCaseNames = true);

// The whole page: the nodes before the root element (doctype, comments, already in
// their final form), the root element as the engine serialised it, and the nodes after.
QString document(QStringView before, QStringView root, QStringView after, const Aids &aids = {});

} // namespace lumipage::documentform
