#include "platform/markup/keptmarkup.h"

#include "platform/markup/elementrules.h"
#include "platform/markup/keptstarttags.h"
#include "platform/markup/sourcemapescapes.h"
#include "platform/markup/textcodec.h"
#include "platform/markup/writtenstyle.h"

#include <QThreadPool>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <mutex>

namespace lumipage
{

// The original's parse, made on a worker thread.
struct KeptMarkup::Parse {
    WrittenStyle style; // how the original's tags are written, known before the parse starts
    std::mutex mutex;
    std::condition_variable done;
    std::unique_ptr<const SourceTree> tree;
};

void KeptMarkup::reset(const QByteArray &original, const QByteArray &encoding,
                       const QString &decoded)
{
    clear();
    std::optional<sourcemap::SourceText> source = sourcemap::map(original, encoding, decoded);
    if (!source)
        return;
    m_source = std::make_shared<const sourcemap::SourceText>(*std::move(source));
    m_encoding = encoding;
    m_parse = std::make_shared<Parse>();
    m_parse->style = writtenStyle(original);
    m_lowerCase = !m_parse->style.upperCaseNames;
    QThreadPool::globalInstance()->start([parse = m_parse, source = m_source] {
        auto tree = std::make_unique<const SourceTree>(*source);
        const std::lock_guard lock(parse->mutex);
        parse->tree = std::move(tree);
        parse->done.notify_all();
    });
    const qsizetype lineEnd = original.indexOf('\n');
    m_crlf = lineEnd > 0 && original.at(lineEnd - 1) == '\r';
}

void KeptMarkup::clear()
{
    m_source.reset();
    m_parse.reset();
    forgetCheck();
}

const SourceTree &KeptMarkup::tree() const
{
    std::unique_lock lock(m_parse->mutex);
    m_parse->done.wait(lock, [this] { return m_parse->tree != nullptr; });
    return *m_parse->tree;
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

// Where `original`'s content [from, to) ends in end tags and white space alone, with one end
// tag at least: that end of `text` (the content written anew) as the original wrote it, when
// `text` ends in the same white space.
void keepEndTagsRunOver(QString &text, const QByteArray &original, qint32 from, qint32 to)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    qint32 at = to;
    QString white;
    for (bool tag = true; tag;) {
        while (at > from && space(original[at - 1]))
            white.prepend(QLatin1Char(original[--at]));
        const qsizetype open = at > from ? original.lastIndexOf("</", at - 1) : -1;
        tag = open >= from && original[at - 1] == '>';
        for (qsizetype k = open + 2; tag && k < at - 1; ++k)
            tag = std::isalpha(static_cast<unsigned char>(original[k])) || space(original[k]);
        if (tag)
            at = qint32(open);
    }
    white.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    if (at == to || !original.sliced(at, to - at).contains("</") || !text.endsWith(white))
        return;
    text.chop(white.size());
    text += QString::fromLatin1(original.sliced(at, to - at));
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
                                            const documentform::Aids &aids, QString *why,
                                            bool check) const
{
    std::optional<Composed> composed = compose(regions, markup, aids, why);
    if (!composed) {
        if (check)
            forgetCheck();
        return std::nullopt;
    }
    if (!check)
        return std::move(composed->bytes);
    return readBack(*composed, html, why);
}

std::optional<KeptMarkup::Composed> KeptMarkup::compose(const std::vector<MarkupRegion> &regions,
                                                        const QStringList &markup,
                                                        const documentform::Aids &aids,
                                                        QString *why) const
{
    const SourceTree &original = tree();
    if (regions.empty())
        return Composed{m_source->original, {}};
    if (markup.size() != qsizetype(regions.size())) {
        *why = QStringLiteral("the page did not give the markup of each change");
        return std::nullopt;
    }
    std::vector<Piece> pieces;
    const std::vector<SourceElement> &elements = original.elements();
    for (size_t k = 0; k < regions.size(); ++k) {
        const SourceElement &e = elements[size_t(regions[k].ordinal)];
        const QString &engine = markup.at(qsizetype(k));
        Piece piece;
        piece.region = regions[k];
        const bool content = piece.region.content;
        // A part of the content that runs to the content's end, or the whole of it.
        const bool toEnd = content && (!piece.region.between || piece.region.right < 0);
        if (e.rawText && content && !piece.region.between) {
            piece.text = piece.form = piece.read = engine;
        } else {
            // DocumentHTML's form; written in the page's own style (the same text on an
            // upper-case page that leaves values bare where it can).
            piece.read = documentform::rewrite(engine, aids).markup;
            const WrittenStyle &style = m_parse->style;
            piece.text = style.upperCaseNames && !style.quotedValues && !style.closedVoids
                             ? piece.read
                             : documentform::rewrite(engine, aids, style).markup;
            if (!content) {
                piece.form = startTagOf(piece.read, e);
                piece.text = startTagOf(piece.text, e);
            } else {
                piece.form =
                    e.leadingLine && engine.startsWith(u'\n') ? u'\n' + piece.read : piece.read;
                // The elements it still holds keep their start tags as written.
                const MarkupRegion &r = piece.region;
                const qint32 from =
                    r.between && r.left >= 0 ? elements[size_t(r.left)].outerEnd : e.innerStart;
                const qint32 to =
                    r.between && r.right >= 0 ? elements[size_t(r.right)].tagStart : e.innerEnd;
                piece.text = keptStartTags(engine, aids, style, original, *m_source, m_encoding,
                                           r.ordinal, from, to);
            }
        }
        // After a child whose end the parser implied from what followed it: what is written
        // there now may not imply it (text would go into the paragraph left open), so its
        // end tag is written first.
        if (piece.region.between && piece.region.left >= 0) {
            const SourceElement &left = elements[size_t(piece.region.left)];
            if (!left.endTag && !left.isVoid)
                piece.text.prepend(
                    QLatin1String("</") +
                    QString::fromLatin1(m_lowerCase ? left.name : left.name.toUpper()) + u'>');
        }
        if (toEnd && !e.tail.isEmpty()) {
            if (!piece.text.endsWith(e.tail)) {
                *why = QStringLiteral("the white space after the body's end tag moved");
                return std::nullopt;
            }
            piece.text.chop(e.tail.size());
            piece.tail = e.tail;
        }
        const MarkupRegion &r = piece.region;
        const qint32 contentEnd =
            r.between && r.right >= 0 ? elements[size_t(r.right)].tagStart : e.innerEnd;
        // The content runs on past its end tag (white space after </body> and </html>
        // read into a paragraph left open): written to its end, it is written to where it
        // runs on to, those end tags after it without the white space it holds already.
        const bool runsOn = toEnd && e.runsOnTo > contentEnd;
        if (runsOn)
            piece.text += e.endTagsPast;
        // Or the element is left open and its own content runs over the end tags after it
        // (a last paragraph without </p> holds the line ends around </body> and </html>):
        // those end tags stay where they stand, the white space around them as written.
        if (toEnd && !runsOn && !e.endTag)
            keepEndTagsRunOver(piece.text, m_source->original,
                               piece.region.between && r.left >= 0
                                   ? elements[size_t(r.left)].outerEnd
                                   : e.innerStart,
                               contentEnd);
        if (content && e.leadingLine && piece.text.startsWith(u'\n'))
            piece.text.prepend(u'\n');
        if (m_crlf)
            toCrLf(piece.text);
        piece.from = !content                   ? e.tagStart
                     : r.between && r.left >= 0 ? elements[size_t(r.left)].outerEnd
                                                : e.innerStart;
        piece.to = !content ? e.tagEnd : runsOn ? e.runsOnTo : contentEnd;
        piece.bytes = textcodec::encode(piece.text, m_encoding);
        if (sourcemap::hasEscapeState(m_encoding))
            piece.bytes =
                sourcemap::fitEscapes(m_source->original, piece.from, piece.to, piece.bytes);
        pieces.push_back(std::move(piece));
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
    return Composed{std::move(out), std::move(pieces)};
}

void KeptMarkup::forgetCheck() const
{
    m_lastCheck = Check::None;
    m_lastHtml.clear();
    m_lastBytes.clear();
}

std::optional<QByteArray> KeptMarkup::readBack(const Composed &composed, const QString &html,
                                               QString *why) const
{
    const QByteArray &out = composed.bytes;
    // The same bytes for the same page as at the last check (a save after the recovery
    // copy wrote them): they read back then, by the check `m_lastCheck` still names.
    if (!m_lastHtml.isEmpty() && m_lastHtml == html && m_lastBytes == out)
        return out;
    forgetCheck();
    const std::vector<Piece> &pieces = composed.pieces;
    if (pieces.empty()) {
        // Unchanged, the original read back as the page at the first check.
        if (tree().documentHtml() != html) {
            *why = QStringLiteral("the page changed where no change was seen");
            return std::nullopt;
        }
        return out;
    }
    // Safe by construction: the bytes must read back as the page, checked where the
    // changes stand when the page allows it, else by parsing the written page whole.
    // A stretch in an encoding with escape state reads by the state around it: the whole
    // page is decoded again.
    if (!sourcemap::hasEscapeState(m_encoding) && readsBackInPlace(pieces, html)) {
        m_lastCheck = Check::InPlace;
    } else {
        sourcemap::SourceText written;
        if (m_source->originalAt.empty() && m_encoding == "UTF-8") {
            written.utf8 = out; // UTF-8 read as it is: no byte-order mark, no bad bytes
        } else {
            const std::optional<textcodec::Decoded> decoded = textcodec::decode(out, m_encoding);
            if (!decoded) {
                *why = QStringLiteral("the written bytes do not decode");
                return std::nullopt;
            }
            written.utf8 = decoded->text.toUtf8();
        }
        if (SourceTree(written, false).documentHtml() != html) {
            *why = QStringLiteral("the written page reads back otherwise than the page");
            return std::nullopt;
        }
        m_lastCheck = Check::Whole;
    }
    m_lastHtml = html;
    m_lastBytes = out;
    return out;
}

namespace
{

// Raw text the parser ends only at its own end tag (in a script also not inside an
// escaped run, which begins with "<!--"): text without either stays text.
bool staysRawText(const SourceElement &e, const QString &text)
{
    // PLAINTEXT has no end at all; TITLE and TEXTAREA read references.
    const QString name = QString::fromLatin1(e.name);
    if (documentform::kindOf(name) != documentform::RawText || name == u"plaintext" ||
        text.contains(u'\r'))
        return false;
    if (text.contains(QLatin1String("</") + QLatin1String(e.name), Qt::CaseInsensitive))
        return false;
    return e.name != "script" || !text.contains(QLatin1String("<!--"));
}

} // namespace

bool KeptMarkup::readsBackInPlace(const std::vector<Piece> &pieces, const QString &html) const
{
    const SourceTree &original = tree();
    if (!original.wellNested() || original.spans().empty())
        return false;
    // The page is the original as the parser read it, but for the changed stretches.
    const QStringView was(original.documentHtml()), now(html);
    qsizetype d = 0, h = 0;
    const auto same = [&](QStringView expected) {
        if (now.size() - h < expected.size() || now.sliced(h, expected.size()) != expected)
            return false;
        h += expected.size();
        return true;
    };
    const std::vector<documentform::ElementSpan> &spans = original.spans();
    for (const Piece &piece : pieces) {
        const MarkupRegion &r = piece.region;
        const documentform::ElementSpan &span = spans[size_t(r.ordinal)];
        const qsizetype from = !r.content                 ? span.tagStart
                               : r.between && r.left >= 0 ? spans[size_t(r.left)].outerEnd
                                                          : span.innerStart;
        const qsizetype to = !r.content                  ? span.innerStart
                             : r.between && r.right >= 0 ? spans[size_t(r.right)].tagStart
                                                         : span.innerEnd;
        if (from < d || !same(was.sliced(d, from - d)) || !same(piece.form))
            return false;
        d = to;
    }
    if (!same(was.sliced(d)) || h != now.size())
        return false;

    // Each stretch, read where it stands, is what the engine holds there.
    const std::vector<SourceElement> &elements = original.elements();
    for (const Piece &piece : pieces) {
        // The text as it will be read: characters the encoding lacks went in as references.
        QString written = piece.text;
        if (m_encoding != "UTF-8") {
            std::optional<textcodec::Decoded> decoded = textcodec::decode(piece.bytes, m_encoding);
            if (!decoded || decoded->replaced)
                return false;
            written = std::move(decoded->text);
        }
        const MarkupRegion &r = piece.region;
        const SourceElement &e = elements[size_t(r.ordinal)];
        if (r.content && e.rawText && !r.between) {
            if (!staysRawText(e, piece.read) ||
                written.replace(QLatin1String("\r\n"), QLatin1String("\n")) != piece.read)
                return false;
            continue;
        }
        std::vector<QByteArray> ancestors;
        for (qint32 k = e.parent; k >= 0; k = elements[size_t(k)].parent) {
            if (!elements[size_t(k)].html)
                return false;
            ancestors.insert(ancestors.begin(), elements[size_t(k)].name);
        }
        if (r.content)
            ancestors.push_back(e.name);
        const bool opens = !r.content && !e.isVoid;
        QByteArray stillOpen;
        if (r.between && r.left >= 0 && !elements[size_t(r.left)].endTag &&
            !elements[size_t(r.left)].isVoid)
            stillOpen = elements[size_t(r.left)].name;
        const std::optional<QString> read =
            SourceTree::readInPlace(ancestors, written, opens, original.quirks(), stillOpen);
        if (!read || *read + piece.tail != piece.read)
            return false;
    }
    return true;
}

} // namespace lumipage
