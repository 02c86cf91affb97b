#pragma once

#include "platform/markup/cssparser.h"

#include <QString>

namespace lumipage::css
{

// One change of a sheet's text: [start, end) becomes `text`; everything else stays as the
// author wrote it. A refused edit carries its reason for the user and changes nothing.
struct Edit {
    qsizetype start = 0;
    qsizetype end = 0;
    QString text;
    QString problem; // in Japanese; empty when the edit can be made
    bool operator==(const Edit &) const = default;
};

// `text` with the edit made (unchanged when it was refused).
QString applied(const QString &text, const Edit &edit);

// The declarations of one block and where the block's inside stands: a rule's braces, or
// the whole value of a `style` attribute.
struct DeclarationBlock {
    qsizetype start = 0;
    qsizetype end = 0;
    QList<Declaration> declarations;
};
DeclarationBlock blockOf(const Rule &rule);
// A `style` attribute's value read as a declaration list.
DeclarationBlock attributeBlock(const Sheet &attributeValue);

// Why `value` cannot stand as one declaration's value (empty, a ';' or brace that would end
// it, something left open, a comment), or an empty string when it can.
QString valueProblem(const QString &value);

// The declaration's value becomes `value`. A value ending in "!important" makes the
// declaration important; otherwise an "!important" the author wrote stays.
Edit setValue(const Declaration &declaration, const QString &value);

// A new declaration after the block's last one, with the space before it and the
// separator after its name copied from the declarations already there; it ends with ';'
// unless the author leaves the last ';' out.
Edit addDeclaration(const QString &text, const DeclarationBlock &block, const QString &name,
                    const QString &value);

// The declaration goes with the space that set it apart.
Edit removeDeclaration(const QString &text, const DeclarationBlock &block,
                       const Declaration &declaration);

// Switches a declaration off by writing it as a comment, "/* color: red; */" (a ';' is
// added inside when the author left it out, so it reads back as a switched-off
// declaration), and back on by taking the comment marks away.
Edit switchOff(const QString &text, const Declaration &declaration);
Edit switchOn(const QString &text, const Declaration &declaration);

// A new rule `selector { name: value; }` at the end of the sheet, laid out like the sheet's
// rules (its line ends, indentation and one-line or several-line blocks). With a `media`
// condition it goes into the last @media block with that condition, or a new block at the
// end when the sheet has none.
Edit addRule(const QString &text, const Block &sheet, const QString &selector, const QString &name,
             const QString &value, const QString &media = {});

// The selector for an element's class or id, with the escapes an identifier needs.
QString classSelector(const QString &className);
QString idSelector(const QString &id);

} // namespace lumipage::css
