#include "platform/editing/keptmarkup.h"

#include "platform/editing/textcodec.h"

#include <algorithm>
#include <map>

namespace lumipage
{

void KeptMarkup::reset(const QByteArray &original, const QByteArray &encoding,
                       const QString &decoded)
{
    m_source = sourcemap::map(original, encoding, decoded);
    m_encoding = encoding;
    m_tree.reset();
}

void KeptMarkup::clear()
{
    m_source.reset();
    m_tree.reset();
}

const SourceTree &KeptMarkup::tree() const
{
    if (!m_tree)
        m_tree = std::make_unique<SourceTree>(*m_source);
    return *m_tree;
}

std::optional<std::vector<MarkupRegion>>
KeptMarkup::regions(const std::vector<MarkupChange> &changes) const
{
    const std::vector<SourceElement> &elements = tree().elements();
    const auto valid = [&](qint32 k) { return k >= 0 && size_t(k) < elements.size(); };
    // ordinal → {start tag, content}
    std::map<qint32, std::pair<bool, bool>> marks;
    for (const MarkupChange &change : changes) {
        if (!valid(change.ordinal))
            return std::nullopt;
        qint32 k = change.ordinal;
        bool tag = change.attributes, content = change.content;
        // Written by the parent instead: foreign elements (written within the nearest
        // HTML element), a start tag the parser implied, content that is not all between
        // the element's own tags.
        while (valid(k)) {
            const SourceElement &e = elements[size_t(k)];
            if (e.html && (!tag || e.startTag) && (!content || e.contiguous))
                break;
            k = e.parent;
            tag = false;
            content = true;
        }
        if (!valid(k))
            return std::nullopt;
        auto &mark = marks[k];
        mark.first = mark.first || tag;
        mark.second = mark.second || content;
    }
    std::vector<MarkupRegion> out;
    for (const auto &[ordinal, mark] : marks) {
        // Inside an element whose content is written anew: that writes it too.
        bool covered = false;
        for (qint32 k = elements[size_t(ordinal)].parent; valid(k) && !covered;
             k = elements[size_t(k)].parent) {
            const auto found = marks.find(k);
            covered = found != marks.end() && found->second.second;
        }
        if (covered)
            continue;
        if (mark.first)
            out.push_back({ordinal, false});
        if (mark.second)
            out.push_back({ordinal, true});
    }
    return out;
}

namespace
{

// The start tag alone, from the rewritten element with no children.
QString startTagOf(const QString &rewritten, const SourceElement &e)
{
    if (e.isVoid)
        return rewritten;
    const qsizetype end = rewritten.lastIndexOf(QLatin1String("</"));
    return end < 0 ? rewritten : rewritten.left(end);
}

} // namespace

std::optional<QByteArray> KeptMarkup::write(const std::vector<MarkupRegion> &regions,
                                            const QStringList &markup, const QString &html,
                                            const documentform::Aids &aids, QString *why) const
{
    const SourceTree &original = tree();
    if (original.documentHtml() != html && regions.empty()) {
        *why = QStringLiteral("the page changed where no change was seen");
        return std::nullopt;
    }
    if (regions.empty())
        return m_source->original; // read back as the page already, at the first check
    if (markup.size() != qsizetype(regions.size())) {
        *why = QStringLiteral("the page did not give the markup of each change");
        return std::nullopt;
    }
    struct Piece {
        qint32 from, to;
        QByteArray bytes;
    };
    std::vector<Piece> pieces;
    const std::vector<SourceElement> &elements = original.elements();
    for (size_t k = 0; k < regions.size(); ++k) {
        const SourceElement &e = elements[size_t(regions[k].ordinal)];
        QString text;
        if (!regions[k].content) {
            text = startTagOf(documentform::rewrite(markup.at(qsizetype(k)), aids).markup, e);
        } else {
            text = e.rawText ? markup.at(qsizetype(k))
                             : documentform::rewrite(markup.at(qsizetype(k)), aids).markup;
            if (!e.tail.isEmpty()) {
                if (!text.endsWith(e.tail)) {
                    *why = QStringLiteral("the white space after the body's end tag moved");
                    return std::nullopt;
                }
                text.chop(e.tail.size());
            }
            if (e.leadingLine && text.startsWith(u'\n'))
                text.prepend(u'\n');
        }
        const qint32 from = regions[k].content ? e.innerStart : e.tagStart;
        const qint32 to = regions[k].content ? e.innerEnd : e.tagEnd;
        pieces.push_back({from, to, textcodec::encode(text, m_encoding)});
    }
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece &a, const Piece &b) { return a.from < b.from; });
    const QByteArray &bytes = m_source->original;
    QByteArray out;
    out.reserve(bytes.size() + 1024);
    qint32 at = 0;
    for (const Piece &piece : pieces) {
        if (piece.from < at || piece.to < piece.from) {
            *why = QStringLiteral("two changed stretches overlap");
            return std::nullopt;
        }
        out.append(bytes.constData() + at, piece.from - at);
        out.append(piece.bytes);
        at = piece.to;
    }
    out.append(bytes.constData() + at, bytes.size() - at);

    // Safe by construction: the bytes must read back as the page.
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(out, m_encoding);
    if (!decoded) {
        *why = QStringLiteral("the written bytes do not decode");
        return std::nullopt;
    }
    sourcemap::SourceText check{{}, decoded->text.toUtf8(), {}};
    if (SourceTree(check).documentHtml() != html) {
        *why = QStringLiteral("the written page reads back otherwise than the page");
        return std::nullopt;
    }
    return out;
}

} // namespace lumipage
