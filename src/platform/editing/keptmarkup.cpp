#include "platform/editing/keptmarkup.h"

#include "platform/editing/textcodec.h"

#include <algorithm>
#include <map>

namespace lumipage
{

void KeptMarkup::reset(const QByteArray &original, const QByteArray &encoding,
                       const QString &decoded)
{
    clear();
    m_source = sourcemap::map(original, encoding, decoded);
    m_encoding = encoding;
    // Most tags in lower case; the first line end a CR LF.
    qsizetype lower = 0, upper = 0;
    for (qsizetype k = original.indexOf('<'); k >= 0 && k + 1 < original.size();
         k = original.indexOf('<', k + 1)) {
        const char c = original.at(k + 1);
        lower += c >= 'a' && c <= 'z';
        upper += c >= 'A' && c <= 'Z';
    }
    m_lowerCase = lower > upper;
    const qsizetype lineEnd = original.indexOf('\n');
    m_crlf = lineEnd > 0 && original.at(lineEnd - 1) == '\r';
}

void KeptMarkup::clear()
{
    m_source.reset();
    m_tree.reset();
    m_lastHtml.clear();
    m_lastBytes.clear();
}

std::optional<QByteArray> KeptMarkup::writtenBefore(const QString &html) const
{
    if (m_lastHtml.isEmpty() || m_lastHtml != html)
        return std::nullopt;
    return m_lastBytes;
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

// Line feeds as CR LF; the parser reads both as one line feed, in text, values and
// raw text alike.
void toCrLf(QString &text)
{
    QString out;
    qsizetype from = 0;
    for (qsizetype k = text.indexOf(u'\n'); k >= 0; k = text.indexOf(u'\n', k + 1)) {
        if (k > 0 && text.at(k - 1) == u'\r')
            continue;
        out += QStringView(text).sliced(from, k - from);
        out += QLatin1String("\r\n");
        from = k + 1;
    }
    if (from == 0)
        return;
    out += QStringView(text).sliced(from);
    text = std::move(out);
}

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
            text = startTagOf(
                documentform::rewrite(markup.at(qsizetype(k)), aids, !m_lowerCase).markup, e);
        } else {
            text = e.rawText
                       ? markup.at(qsizetype(k))
                       : documentform::rewrite(markup.at(qsizetype(k)), aids, !m_lowerCase).markup;
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
        if (m_crlf)
            toCrLf(text);
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
    sourcemap::SourceText check;
    if (m_source->originalAt.empty() && m_encoding == "UTF-8") {
        check.utf8 = out; // UTF-8 read as it is: no byte-order mark, no bad bytes
    } else {
        const std::optional<textcodec::Decoded> decoded = textcodec::decode(out, m_encoding);
        if (!decoded) {
            *why = QStringLiteral("the written bytes do not decode");
            return std::nullopt;
        }
        check.utf8 = decoded->text.toUtf8();
    }
    if (SourceTree(check, false).documentHtml() != html) {
        *why = QStringLiteral("the written page reads back otherwise than the page");
        return std::nullopt;
    }
    m_lastHtml = html;
    m_lastBytes = out;
    return out;
}

} // namespace lumipage
