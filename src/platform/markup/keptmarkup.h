#pragma once

#include "platform/markup/documentform.h"
#include "platform/markup/sourcemap.h"
#include "platform/markup/sourcetree.h"

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
    // Or only some of its content: the nodes between two of its children from the load
    // (their ordinals; -1 for the content's start or end).
    std::vector<std::pair<qint32, qint32>> between = {};
};

// A stretch of the original bytes to write anew: an element's start tag, its content,
// or (`between`) the part of its content between its children `left` and `right`.
struct MarkupRegion {
    qint32 ordinal = 0;
    bool content = false;
    bool between = false;
    qint32 left = -1, right = -1;
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
    // A page was read: its bytes, their encoding and the text they decoded to. They are
    // parsed in the background, for the first save or recovery copy to find ready.
    void reset(const QByteArray &original, const QByteArray &encoding, const QString &decoded);
    // A page with no original to keep (a new page).
    void clear();
    bool hasOriginal() const { return m_source != nullptr; }
    // The text the original decoded to, in UTF-8 (empty without an original).
    QByteArray originalText() const { return m_source ? m_source->utf8 : QByteArray(); }

    // The stretches to write anew for `changes`: the nearest element whose start tag or
    // content lies whole in the source, none inside another; a part of the content where
    // its children around it are closed by their own end tags. nullopt when only the
    // whole page will do.
    std::optional<std::vector<MarkupRegion>>
    regions(const std::vector<MarkupChange> &changes) const;

    // The page's bytes: the original with `regions` replaced by `markup` (the engine's
    // serialisation of each: the element without its children for a start tag, its
    // inner markup for content, the markup of the nodes between for a part), provided the result
    // reads back as `html` (DocumentHTML). nullopt, with `why` set, when it does not.
    // Without `check`, the bytes are not read back (`html` is not needed): what a save would
    // write when the last check passed, for a view of the page that a save checks again.
    std::optional<QByteArray> write(const std::vector<MarkupRegion> &regions,
                                    const QStringList &markup, const QString &html,
                                    const documentform::Aids &aids, QString *why,
                                    bool check = true) const;

private:
    // One changed stretch: where it lies in the original bytes, the text written there,
    // and DocumentHTML's form of what the engine holds there (`form`, as it stands in the
    // page's DocumentHTML; `read`, what the text must read as where it stands).
    struct Piece {
        MarkupRegion region;
        qint32 from = 0, to = 0;
        QString text, form, read;
        QString tail; // white space after the body's end tag, read into it and not written
        QByteArray bytes;
    };

public:
    // `write` in two steps, for a save that puts the bytes together and on the disk while
    // the page's DocumentHTML is still being formed: compose() needs no `html`, readBack()
    // reads the bytes back against it (nullopt, with `why` set, where they differ).
    struct Composed {
        QByteArray bytes;
        std::vector<Piece> pieces;
    };
    std::optional<Composed> compose(const std::vector<MarkupRegion> &regions,
                                    const QStringList &markup, const documentform::Aids &aids,
                                    QString *why) const;
    std::optional<QByteArray> readBack(const Composed &composed, const QString &html,
                                       QString *why) const;

    // The original, parsed (waiting for the background parse if it has not finished).
    const SourceTree &tree() const;

    // How the last write checked that its bytes read back as the page: in place (each
    // changed stretch read where it stands) or whole (the written page parsed again).
    enum class Check { None, InPlace, Whole };
    Check lastCheck() const { return m_lastCheck; }

private:
    struct Parse;
    void forgetCheck() const;
    bool readsBackInPlace(const std::vector<Piece> &pieces, const QString &html) const;

    std::shared_ptr<const sourcemap::SourceText> m_source;
    std::shared_ptr<Parse> m_parse;
    QByteArray m_encoding;
    // The page's own style, followed by what is written anew: its tag names in lower
    // case, its lines ending in CR LF.
    bool m_lowerCase = false;
    bool m_crlf = false;
    mutable QString m_lastHtml;
    mutable Check m_lastCheck = Check::None;
    mutable QByteArray m_lastBytes;
};

} // namespace lumipage
