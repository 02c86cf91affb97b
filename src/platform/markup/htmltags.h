#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace lumipage::htmltags
{

// An attribute as a page's start tag writes it: name in lower case, value with its
// quotes taken off and its character references decoded.
struct Attribute {
    QString name;
    QString value;
};

// A start tag of the page's markup (never one inside a comment, script or style).
struct StartTag {
    QString name; // upper case
    QList<Attribute> attributes;
    qsizetype start = 0; // position of '<'
    int line = 1;        // page line, from 1

    // The value of an attribute; null when the tag does not have it.
    QString value(const QString &attributeName) const;
    bool has(const QString &attributeName) const;
};

// The attributes of a start tag's text after its name.
QList<Attribute> attributes(const QString &tagText);
// Text with the common character references (&amp; &#nn; &#xhh; …) decoded.
QString decodeEntities(const QString &value);

// [start, end) ranges of comments and of the content of script and style elements:
// markup-looking text there is not markup. Sorted, not overlapping.
QList<QPair<qsizetype, qsizetype>> opaqueRanges(const QString &html);
// Whether `pos` lies in one of `ranges`.
bool inside(const QList<QPair<qsizetype, qsizetype>> &ranges, qsizetype pos);

// The start tags of a page, in order.
QList<StartTag> startTags(const QString &html);

// The page with a BASE element naming `folder` at the start of its head, so that the
// names it writes relatively resolve there wherever the page is opened from; a page
// with a BASE of its own comes back as it is.
QString withBaseFolder(const QString &html, const QString &folder);

// Line numbers of positions in a page, counted once (LF, or CR in a page without LF).
class LineIndex
{
public:
    explicit LineIndex(const QString &html);
    int lineAt(qsizetype pos) const;

private:
    QList<qsizetype> m_ends;
};

} // namespace lumipage::htmltags
