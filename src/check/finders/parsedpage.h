#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

struct GumboInternalNode;
struct GumboInternalOutput;

namespace lumipage::check
{

// An element of the checked page. Its ordinal is its index in ParsedPage::elements().
struct CheckedElement {
    const GumboInternalNode *node = nullptr;
    QString name;          // upper case ("TABLE")
    qsizetype start = -1;  // position of its start tag in the text; -1 when implied
    qsizetype tagEnd = -1; // position past its start tag; -1 when implied
    qsizetype end = -1;    // position past its end (its end tag, or where it was closed)
    int line = 0;          // line of its start tag; 0 when implied
};

// A page's text as the HTML parser reads it, with the places of its elements and lines.
// Elements are numbered in document order (a walk over elements, template contents left
// out), as the editing surface and the source pane number them, so a finding names an
// element both can select. Lines end at LF, CR LF or a lone CR, as libtidy counts them.
class ParsedPage
{
public:
    explicit ParsedPage(const QString &text);
    ~ParsedPage();
    ParsedPage(const ParsedPage &) = delete;
    ParsedPage &operator=(const ParsedPage &) = delete;

    const QString &text() const { return m_text; }
    const QByteArray &utf8() const { return m_utf8; }
    // The parse's document node.
    const GumboInternalNode *document() const;
    const std::vector<CheckedElement> &elements() const { return m_elements; }
    // The ordinal of an element node of this parse; -1 for any other node.
    int ordinalOf(const GumboInternalNode *node) const;

    // The position in text() of an offset in utf8().
    qsizetype positionOfUtf8(qsizetype offset) const;
    // The line (from 1) of a position in text().
    int lineAt(qsizetype position) const;
    // The position of `column` (characters from 1) in `line` (from 1); -1 past the text.
    qsizetype positionAt(int line, int column) const;
    // The element whose start tag begins at `position`, else the innermost element that
    // holds it; -1 when none does.
    int elementAt(qsizetype position) const;

private:
    void walk(const GumboInternalNode *node, bool inTemplate);

    QString m_text;
    QByteArray m_utf8;
    GumboInternalOutput *m_output = nullptr;
    std::vector<CheckedElement> m_elements;
    QHash<const GumboInternalNode *, int> m_ordinals;
    std::vector<qint32> m_positionOfUtf8; // by UTF-8 offset, size utf8().size() + 1
    std::vector<qsizetype> m_lineStarts;
};

// The name of an element node in upper case, as DocumentHTML writes it.
QString elementName(const GumboInternalNode *node);
// The value of an element node's attribute (name in lower case); null when it has none.
QString attribute(const GumboInternalNode *node, const char *name);
bool hasAttribute(const GumboInternalNode *node, const char *name);

} // namespace lumipage::check
