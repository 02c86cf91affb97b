#include "platform/markup/textchange.h"

#include "platform/markup/markupproblems.h"

#include <algorithm>

namespace lumipage::textchange
{

namespace
{
bool continuationByte(char c)
{
    return (uchar(c) & 0xC0) == 0x80;
}
} // namespace

std::optional<Stretch> between(QByteArrayView before, QByteArrayView after)
{
    if (before == after)
        return std::nullopt;
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    // A character begins where the stretch begins.
    while (head > 0 && head < before.size() && continuationByte(before[head]))
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // And the common end begins with a whole character too.
    while (tail > 0 && continuationByte(before[before.size() - tail]))
        --tail;
    return Stretch{head, before.size() - head - tail,
                   after.sliced(head, after.size() - head - tail).toByteArray()};
}

qint32 elementAt(const std::vector<SourceElement> &elements, qsizetype offset)
{
    qint32 found = -1;
    for (qint32 k = 0; k < qint32(elements.size()); ++k) {
        const SourceElement &e = elements[size_t(k)];
        if (!e.startTag)
            continue; // implied by the parser: nothing of it is in the text
        // In document order, each later element that holds it lies inside the one before.
        if (e.tagStart <= offset && offset < std::max(e.outerEnd, e.tagEnd))
            found = k;
    }
    return found;
}

std::optional<ElementEdit> elementEdit(const SourceTree &parsed, const QByteArray &before,
                                       const QByteArray &after)
{
    const std::optional<Stretch> change = between(before, after);
    if (!change)
        return std::nullopt;
    const std::vector<SourceElement> &elements = parsed.elements();
    const qsizetype changeEnd = change->start + change->removed;
    const qsizetype shift = change->inserted.size() - change->removed;
    for (qint32 k = elementAt(elements, change->start); k >= 0; k = elements[size_t(k)].parent) {
        const SourceElement &e = elements[size_t(k)];
        std::vector<QByteArray> ancestors;
        for (qint32 a = e.parent; a >= 0; a = elements[size_t(a)].parent)
            ancestors.insert(ancestors.begin(), elements[size_t(a)].name);
        if (std::find(ancestors.cbegin(), ancestors.cend(), "body") == ancestors.cend())
            return std::nullopt; // the body itself, or the head and what is in it
        const qsizetype end = std::max(e.outerEnd, e.tagEnd);
        // Tags as written around it, and the change between them.
        if (!e.html || !e.startTag || e.displaced || !(e.endTag || e.isVoid) ||
            change->start < e.tagStart || changeEnd > end)
            continue;
        const QByteArray markup = after.mid(e.tagStart, end + shift - e.tagStart);
        int nodes = 0;
        const std::optional<QString> read = SourceTree::readInPlace(
            ancestors, QString::fromUtf8(markup), false, parsed.quirks(), {}, &nodes);
        if (!markup.startsWith('<') || !read || nodes != 1 || read->startsWith(u"<!"))
            continue; // more or less than one element: the one around may be whole
        QByteArray context = parsed.quirks() ? QByteArray() : QByteArrayLiteral("<!DOCTYPE html>");
        for (const QByteArray &name : ancestors)
            context += '<' + name + '>';
        // Read otherwise than written here, it is read so in every element around it too.
        if (!markupproblems::problems(markup, context).empty())
            return std::nullopt;
        return ElementEdit{k, e.name, markup};
    }
    return std::nullopt;
}

} // namespace lumipage::textchange
