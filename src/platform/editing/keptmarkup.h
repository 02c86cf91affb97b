#pragma once

#include "platform/editing/documentform.h"
#include "platform/editing/sourcemap.h"
#include "platform/editing/sourcetree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace lumipage
{

// What changed in one element of the page since it was loaded, by its ordinal (the
// element's place among the page's elements in document order).
struct MarkupChange {
    qint32 ordinal = 0;
    bool attributes = false; // its start tag must be written anew
    bool content = false;    // its content must be written anew
};

// A stretch of the original bytes to write anew: an element's start tag or its content.
struct MarkupRegion {
    qint32 ordinal = 0;
    bool content = false;
    bool operator==(const MarkupRegion &) const = default;
};

// Writes a page as its author wrote it, but for what was edited: the original bytes
// everywhere else, character references, quotes, case, white space and line ends
// included. The edited elements' start tags or contents are written in DocumentHTML's
// form, in the page's own style where that is clear (lower-case names in a lower-case
// page, its line ends), and encoded in the page's encoding; the result must read back, by the
// parser's tree written in that form, as DocumentHTML itself, or it is not used (the caller writes
// the page whole, as before).
class KeptMarkup
{
public:
    // A page was read: its bytes, their encoding and the text they decoded to. Nothing
    // is parsed until the first save.
    void reset(const QByteArray &original, const QByteArray &encoding, const QString &decoded);
    // A page with no original to keep (a new page).
    void clear();
    bool hasOriginal() const { return m_source.has_value(); }

    // The stretches to write anew for `changes`: the nearest element whose start tag or
    // content lies whole in the source, none inside another. nullopt when only the whole
    // page will do.
    std::optional<std::vector<MarkupRegion>>
    regions(const std::vector<MarkupChange> &changes) const;

    // The page's bytes: the original with `regions` replaced by `markup` (the engine's
    // serialisation of each: the element without its children for a start tag, its
    // inner markup for content), provided the result reads back as `html`
    // (DocumentHTML). nullopt, with `why` set, when it does not.
    std::optional<QByteArray> write(const std::vector<MarkupRegion> &regions,
                                    const QStringList &markup, const QString &html,
                                    const documentform::Aids &aids, QString *why) const;

    // The bytes `write` gave last, when they were for a page that read back as `html`:
    // a save after a still moment (the recovery copy wrote them) only writes.
    std::optional<QByteArray> writtenBefore(const QString &html) const;

    // The original, parsed (on first use).
    const SourceTree &tree() const;

private:
    std::optional<sourcemap::SourceText> m_source;
    QByteArray m_encoding;
    // The page's own style, followed by what is written anew: its tag names in lower
    // case, its lines ending in CR LF.
    bool m_lowerCase = false;
    bool m_crlf = false;
    mutable std::unique_ptr<SourceTree> m_tree;
    mutable QString m_lastHtml;
    mutable QByteArray m_lastBytes;
};

} // namespace lumipage
