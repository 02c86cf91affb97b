#pragma once

#include "platform/markup/documentform.h"
#include "platform/markup/sourcemap.h"

#include <QString>

#include <optional>
#include <vector>

namespace lumipage
{

// Where one element of a page came from in its original bytes.
struct SourceElement {
    qint32 parent = -1; // ordinal of the parent element; -1 for the root
    // [tagStart, tagEnd): its start tag; [innerStart, innerEnd): its content; outerEnd:
    // past its end tag (innerEnd when it has none in the source).
    qint32 tagStart = 0, tagEnd = 0, innerStart = 0, innerEnd = 0, outerEnd = 0;
    bool html = true;         // in the HTML namespace
    bool startTag = true;     // its start tag is in the source (not implied by the parser)
    bool endTag = false;      // its own end tag closed it (it was not implied)
    bool contiguous = true;   // its content is exactly the bytes of [innerStart, innerEnd)
    bool rawText = false;     // content written verbatim (script, style and the like)
    bool leadingLine = false; // the parser drops a newline right after its start tag
    bool isVoid = false;
    bool displaced = false; // the parser put it elsewhere than its tags stand (misnesting)
    // A copy the parser made of a formatting element left open (misnesting): [tagStart,
    // tagEnd) is the original's start tag, not its own; its content begins at its first child.
    bool cloned = false;
    // White space read into its content from after its end tag (the body takes the line
    // end after </html>): the end of the engine's content that is not between its tags.
    QString tail;
    // Or read into a descendant left open at its end (a last paragraph without </p>), which
    // the parser holds open past its end tag and those after it (</body>, </html>): its
    // content runs on to `runsOnTo` (0 when it does not), and written anew to its end it
    // is written to there, followed by those end tags (`endTagsPast`, without the white
    // space, which the content holds).
    qint32 runsOnTo = 0;
    QString endTagsPast;
    QByteArray name; // as the engine writes it
};

// A page's source as an HTML parser reads it: its elements in document order (the
// order of the engine's tree walk over elements, template contents left out) with their
// byte ranges, and the page written as DocumentHTML writes the engine's tree. When that
// writing equals the engine's DocumentHTML, both read the page alike and an element's
// ordinal names the same element in both.
class SourceTree
{
public:
    // Parses `source`; without `recordElements` only the page's form is written.
    explicit SourceTree(const sourcemap::SourceText &source, bool recordElements = true);

    const std::vector<SourceElement> &elements() const { return m_elements; }
    // The page in DocumentHTML's form.
    const QString &documentHtml() const { return m_html; }
    // Each element's place in documentHtml(), by ordinal; empty when they could not be
    // matched with the elements.
    const std::vector<documentform::ElementSpan> &spans() const { return m_spans; }
    // Every element was read where its tags stand, nested as they are, with nothing left
    // open that could reach past an element's end tag (no misnested formatting, nothing
    // moved out of a table, no frameset): the parser's state at an element's start tag or
    // content is then the element's ancestors alone, and new markup there can be read
    // in place (readInPlace) rather than with the whole page.
    bool wellNested() const { return m_wellNested; }
    bool quirks() const { return m_quirks; }

    // How the parser reads `piece` written after the start tags of `ancestors` (HTML
    // names, outermost first) on a page in or out of quirks mode: in DocumentHTML's form,
    // the element the piece opens without its content (`opens`), or else what the piece
    // puts into the innermost ancestor. nullopt when the piece does not stay there: a
    // mark written after it must land in that element, with nothing left open after it.
    // `stillOpen` names the sibling before the piece when the parser still holds it open
    // there (its end is implied by what follows): the piece must close it, empty.
    // `nodes`, when given, tells how many nodes the piece put there.
    static std::optional<QString> readInPlace(const std::vector<QByteArray> &ancestors,
                                              const QString &piece, bool opens, bool quirks,
                                              const QByteArray &stillOpen = {},
                                              int *nodes = nullptr);

private:
    std::vector<SourceElement> m_elements;
    std::vector<documentform::ElementSpan> m_spans;
    QString m_html;
    bool m_wellNested = true;
    bool m_quirks = false;
};

} // namespace lumipage
