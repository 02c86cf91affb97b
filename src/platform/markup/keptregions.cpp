// Which stretches of a page's original bytes a set of changes writes anew.
#include "platform/markup/keptmarkup.h"

#include <algorithm>
#include <map>

namespace lumipage
{

std::optional<std::vector<MarkupRegion>>
KeptMarkup::regions(const std::vector<MarkupChange> &changes) const
{
    const std::vector<SourceElement> &elements = tree().elements();
    const auto valid = [&](qint32 k) { return k >= 0 && size_t(k) < elements.size(); };
    // A part of an element's content: from past its child `left` to its child `right`.
    const auto partFrom = [&](const SourceElement &e, qint32 left) {
        return left >= 0 ? elements[size_t(left)].outerEnd : e.innerStart;
    };
    const auto partTo = [&](const SourceElement &e, qint32 right) {
        return right >= 0 ? elements[size_t(right)].tagStart : e.innerEnd;
    };
    const auto descends = [&](qint32 d, qint32 ancestor) {
        qint32 p = elements[size_t(d)].parent;
        while (p > ancestor)
            p = elements[size_t(p)].parent;
        return p == ancestor;
    };
    struct Mark {
        bool tag = false, content = false;
        std::vector<std::pair<qint32, qint32>> between;
    };
    std::map<qint32, Mark> marks;
    for (const MarkupChange &change : changes) {
        if (!valid(change.ordinal))
            return std::nullopt;
        qint32 k = change.ordinal;
        bool tag = change.attributes, content = change.content;
        std::vector<std::pair<qint32, qint32>> between =
            content ? decltype(between){} : change.between;
        // A part stands alone where the parser reads it after the content's start or a
        // child it has closed (by its own end tag, or one whose end is implied by what
        // follows when all inside it is closed), and before a child whose start tag it met.
        const auto closedBefore = [&](qint32 left) {
            const SourceElement &l = elements[size_t(left)];
            if (l.endTag || l.isVoid)
                return true;
            if (!l.html || !l.contiguous || l.rawText)
                return false;
            for (qint32 d = left + 1; valid(d) && descends(d, left); ++d) {
                const SourceElement &c = elements[size_t(d)];
                if (c.parent == left && !c.endTag && !c.isVoid)
                    return false;
            }
            return true;
        };
        // Between two children of `parent` whose content is not all where its tags are
        // (the parser moved a child of it, on a misnested page), or between its content's
        // start (where its tags stand) and a child: the part stands alone when the elements
        // between the two, and only they, have their tags between the two, misnested among
        // themselves or not. Around a misnested child (`moved`), a left child the parser
        // moved out of a misnested element still ends where its own end tag stands (a
        // copy's tags are another's); an edit's own part starts past a child left in place.
        const auto endsInPlace = [&](qint32 k, bool moved) {
            const SourceElement &e = elements[size_t(k)];
            return !e.displaced || (moved && e.startTag && e.endTag && !e.cloned);
        };
        // `right` < 0: to the content's end, where the parent's own end tag stands.
        const auto inPlaceBetween = [&](qint32 parent, qint32 left, qint32 right,
                                        bool moved = false) {
            const SourceElement &p = elements[size_t(parent)];
            qint32 past = right; // the first element after the part's
            if (right < 0 && p.endTag && !p.displaced && !p.cloned)
                for (past = parent + 1; valid(past) && descends(past, parent);)
                    ++past;
            if (past <= std::max(left, parent) ||
                (left >= 0 ? !endsInPlace(left, moved) : p.displaced) ||
                (right >= 0 && (!valid(right) || elements[size_t(right)].displaced)))
                return false;
            const qint32 from = partFrom(p, left);
            const qint32 to = partTo(p, right);
            // Past the left child's own descendants.
            qint32 first = std::max(left, parent) + 1;
            while (left >= 0 && first < past && descends(first, left))
                ++first;
            for (qint32 d = first; d < past; ++d)
                if (elements[size_t(d)].tagStart < from || elements[size_t(d)].tagStart >= to)
                    return false;
            qint32 inside = 0;
            for (const SourceElement &e : elements)
                inside += e.tagStart >= from && e.tagStart < to;
            return from <= to && inside == past - first;
        };
        // The siblings around `child` in `parent` between which it stands alone, the fewest
        // between them first, or a sibling before it and the content's end (a formatting
        // element left open, copied by the parser to the end, leaves no sibling after it
        // in place); nullopt when there are none.
        const auto partAround = [&](qint32 parent,
                                    qint32 child) -> std::optional<std::pair<qint32, qint32>> {
            constexpr int kSiblings = 8; // on each side
            std::vector<qint32> lefts, rights;
            for (qint32 left = child - 1; left > parent && int(lefts.size()) < kSiblings; --left)
                if (elements[size_t(left)].parent == parent)
                    lefts.push_back(left);
            for (qint32 right = child + 1;
                 valid(right) && elements[size_t(right)].parent >= parent &&
                 int(rights.size()) < kSiblings;
                 ++right)
                if (elements[size_t(right)].parent == parent)
                    rights.push_back(right);
            rights.push_back(-1);
            for (size_t width = 0; width + 2 <= lefts.size() + rights.size(); ++width) {
                for (size_t l = 0; l <= width; ++l) {
                    const size_t r = width - l;
                    if (l >= lefts.size() || r >= rights.size())
                        continue;
                    if (closedBefore(lefts[l]) &&
                        (rights[r] < 0 || elements[size_t(rights[r])].startTag) &&
                        inPlaceBetween(parent, lefts[l], rights[r], true))
                        return std::pair{lefts[l], rights[r]};
                }
            }
            return std::nullopt;
        };
        const SourceElement &changed = elements[size_t(k)];
        bool parts = changed.html && !changed.rawText && !changed.leadingLine;
        for (const auto &[left, right] : between)
            parts = parts && (changed.contiguous || inPlaceBetween(k, left, right));
        for (const auto &[left, right] : between) {
            parts = parts &&
                    (left < 0 ||
                     (valid(left) && elements[size_t(left)].parent == k && closedBefore(left))) &&
                    (right < 0 || (valid(right) && elements[size_t(right)].parent == k &&
                                   elements[size_t(right)].startTag));
        }
        if (!between.empty() && !parts) {
            between.clear();
            content = true;
        }
        // Written by the parent instead: foreign elements (written within the nearest
        // HTML element), a start tag the parser implied or copied, content that is not all
        // between the element's own tags.
        while (valid(k)) {
            const SourceElement &e = elements[size_t(k)];
            if (e.html && (!tag || (e.startTag && !e.cloned)) && (!content || e.contiguous))
                break;
            const qint32 child = k;
            k = e.parent;
            tag = false;
            content = true;
            between.clear();
            // In a parent whose content is not all where its tags are, the part around
            // the child will do.
            if (valid(k) && elements[size_t(k)].html && !elements[size_t(k)].contiguous) {
                if (const auto part = partAround(k, child)) {
                    content = false;
                    between = {*part};
                    break;
                }
            }
        }
        if (!valid(k))
            return std::nullopt;
        Mark &mark = marks[k];
        mark.tag = mark.tag || tag;
        mark.content = mark.content || content;
        mark.between.insert(mark.between.end(), between.begin(), between.end());
    }
    std::vector<MarkupRegion> out;
    for (auto &[ordinal, mark] : marks) {
        // Inside an element whose content, or the part of it, is written anew: that
        // writes it too.
        const SourceElement &e = elements[size_t(ordinal)];
        bool covered = false;
        for (qint32 k = e.parent; valid(k) && !covered; k = elements[size_t(k)].parent) {
            const auto found = marks.find(k);
            if (found == marks.end())
                continue;
            covered = found->second.content;
            for (const auto &[left, right] : found->second.between)
                covered = covered || (e.tagStart >= partFrom(elements[size_t(k)], left) &&
                                      e.tagStart < partTo(elements[size_t(k)], right));
        }
        if (covered)
            continue;
        if (mark.tag)
            out.push_back({ordinal, false});
        if (mark.content) {
            out.push_back({ordinal, true});
            continue;
        }
        // Parts that overlap (one around a misnested child, one between its neighbours)
        // are written as one.
        std::sort(mark.between.begin(), mark.between.end());
        std::vector<std::pair<qint32, qint32>> parts;
        const auto endOf = [](qint32 right) { return right < 0 ? INT32_MAX : right; };
        for (const auto &part : mark.between) {
            if (!parts.empty() && part.first < endOf(parts.back().second))
                parts.back().second = endOf(part.second) > endOf(parts.back().second)
                                          ? part.second
                                          : parts.back().second;
            else
                parts.push_back(part);
        }
        for (const auto &[left, right] : parts)
            out.push_back({ordinal, true, true, left, right});
    }
    return out;
}

} // namespace lumipage
