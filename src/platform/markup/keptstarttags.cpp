#include "platform/markup/keptstarttags.h"

#include "platform/markup/textcodec.h"

#include <QHash>

#include <algorithm>

namespace lumipage
{

namespace
{

// The elements the parser keeps in its list of open formatting elements, to open again
// where they were not closed by their own end tags.
bool isFormatting(const QByteArray &name)
{
    static const QByteArrayList names = {"a",    "b", "big",   "code",   "em",     "font", "i",
                                         "nobr", "s", "small", "strike", "strong", "tt",   "u"};
    return names.contains(name);
}

QStringView formOf(QStringView in, const documentform::ElementSpan &s)
{
    return in.sliced(s.tagStart, s.innerStart - s.tagStart);
}

// Which of the original's elements `held` (their forms in `was` by `spans`) each one written
// is (its form in `now` by `written`): the longest run of equal start tags in order, or past
// a size where that costs too much, each one the next equal one within a few.
std::vector<std::pair<size_t, size_t>>
matches(const std::vector<qint32> &held, QStringView was,
        const std::vector<documentform::ElementSpan> &spans, QStringView now,
        const std::vector<documentform::ElementSpan> &written)
{
    const size_t n = held.size(), m = written.size();
    QHash<QStringView, int> ids;
    std::vector<int> a(n), b(m);
    for (size_t i = 0; i < n; ++i) {
        const QStringView form = formOf(was, spans[size_t(held[i])]);
        auto found = ids.constFind(form);
        a[i] = found != ids.cend() ? found.value() : ids.insert(form, int(ids.size())).value();
    }
    for (size_t k = 0; k < m; ++k) {
        const auto found = ids.constFind(formOf(now, written[k]));
        b[k] = found == ids.cend() ? -1 : found.value();
    }
    std::vector<std::pair<size_t, size_t>> out;
    if (n * m > 4'000'000) {
        constexpr size_t kLookAhead = 64;
        size_t next = 0;
        for (size_t k = 0; k < m && next < n; ++k) {
            size_t found = next;
            while (found < n && found < next + kLookAhead && a[found] != b[k])
                ++found;
            if (found < n && found < next + kLookAhead) {
                out.emplace_back(found, k);
                next = found + 1;
            }
        }
        return out;
    }
    // lcs[i][k]: the longest common run of a[i…] and b[k…].
    std::vector<quint32> lcs((n + 1) * (m + 1), 0);
    const auto at = [&](size_t i, size_t k) -> quint32 & { return lcs[i * (m + 1) + k]; };
    for (size_t i = n; i-- > 0;)
        for (size_t k = m; k-- > 0;)
            at(i, k) = a[i] == b[k] ? at(i + 1, k + 1) + 1 : std::max(at(i + 1, k), at(i, k + 1));
    for (size_t i = 0, k = 0; i < n && k < m;) {
        if (a[i] == b[k]) {
            out.emplace_back(i++, k++);
        } else if (at(i + 1, k) >= at(i, k + 1)) {
            ++i;
        } else {
            ++k;
        }
    }
    return out;
}

} // namespace

QString keptStartTags(QStringView engine, const documentform::Aids &aids, const WrittenStyle &style,
                      const SourceTree &tree, const sourcemap::SourceText &source,
                      const QByteArray &encoding, qint32 ordinal, qint32 from, qint32 to)
{
    std::vector<documentform::ElementSpan> readSpans, textSpans;
    const QString read = documentform::rewrite(engine, aids, true, &readSpans).markup;
    const QString text = documentform::rewrite(engine, aids, style, &textSpans).markup;
    const std::vector<SourceElement> &elements = tree.elements();
    const std::vector<documentform::ElementSpan> &spans = tree.spans();
    if (readSpans.size() != textSpans.size() || spans.size() != elements.size())
        return text;
    // The original's elements inside it whose start tags are their own, in order: all of
    // them (an edit that splits an element moves what follows into a copy written in
    // another stretch), or on a large one those in [from, to).
    std::vector<qint32> held;
    qint32 end = ordinal + 1;
    for (; size_t(end) < elements.size(); ++end) {
        qint32 p = elements[size_t(end)].parent;
        while (p > ordinal)
            p = elements[size_t(p)].parent;
        if (p != ordinal)
            break; // past the element's descendants
    }
    constexpr qint32 kWhole = 2000;
    for (qint32 k = ordinal + 1; k < end; ++k) {
        const SourceElement &e = elements[size_t(k)];
        if (e.html && e.startTag && !e.cloned &&
            (end - ordinal <= kWhole || (e.tagStart >= from && e.tagEnd <= to)))
            held.push_back(k);
    }
    if (held.empty())
        return text;
    const QStringView was(tree.documentHtml()), now(read);
    // Each kept tag: where it goes in the text, what it replaces there, and its bytes.
    struct Kept {
        qsizetype at, length;
        qint32 from, to;
    };
    // Whether the element, closed by its own end tag, and all inside it stand where their
    // tags are, with no formatting element closed otherwise than by its own end tag: its
    // bytes then leave nothing open for the parser to carry on (a bold closed only by the
    // end of a FONT around it would come back in what follows).
    const auto closedThrough = [&](qint32 k) {
        if (!elements[size_t(k)].endTag)
            return false;
        for (qint32 d = k; d < end; ++d) {
            if (d > k) {
                qint32 p = elements[size_t(d)].parent;
                while (p > k)
                    p = elements[size_t(p)].parent;
                if (p != k)
                    return true; // past its descendants
            }
            const SourceElement &x = elements[size_t(d)];
            if ((!x.contiguous && !x.isVoid) || x.displaced || x.cloned ||
                (!x.endTag && isFormatting(x.name)))
                return false;
        }
        return true;
    };
    std::vector<Kept> kept;
    qsizetype skipUntil = -1; // inside an element kept whole
    for (const auto &[i, k] : matches(held, was, spans, now, readSpans)) {
        const documentform::ElementSpan &r = readSpans[k];
        if (r.tagStart < skipUntil)
            continue;
        const SourceElement &e = elements[size_t(held[i])];
        const documentform::ElementSpan &t = textSpans[k];
        // The same element through its end as it was, where its bytes hold just it: all of
        // it as written (character references in its text too), nothing inside it taken again.
        const documentform::ElementSpan &o = spans[size_t(held[i])];
        if (closedThrough(held[i]) && now.sliced(r.tagStart, r.outerEnd - r.tagStart) ==
                                          was.sliced(o.tagStart, o.outerEnd - o.tagStart)) {
            kept.push_back({t.tagStart, t.outerEnd - t.tagStart, e.tagStart, e.outerEnd});
            skipUntil = r.outerEnd;
            continue;
        }
        kept.push_back({t.tagStart, t.innerStart - t.tagStart, e.tagStart, e.tagEnd});
        // Its end tag too, where it had one of its own (any case reads as the same end).
        if (e.endTag && !e.isVoid && !e.rawText && t.outerEnd > t.innerEnd)
            kept.push_back({t.innerEnd, t.outerEnd - t.innerEnd, e.innerEnd, e.outerEnd});
    }
    std::sort(kept.begin(), kept.end(), [](const Kept &a, const Kept &b) { return a.at < b.at; });
    QString out;
    qsizetype at = 0;
    for (const Kept &tag : kept) {
        const std::optional<textcodec::Decoded> bytes =
            textcodec::decode(source.original.mid(tag.from, tag.to - tag.from), encoding);
        if (!bytes || bytes->replaced || tag.at < at)
            continue;
        out += QStringView(text).sliced(at, tag.at - at);
        out += bytes->text;
        at = tag.at + tag.length;
    }
    out += QStringView(text).sliced(at);
    return out;
}

} // namespace lumipage
