#include "platform/markup/textchange.h"

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

std::optional<Stretch> between(const QByteArray &before, const QByteArray &after)
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
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // And the common end begins with a whole character too.
    while (tail > 0 && continuationByte(before[before.size() - tail]))
        --tail;
    return Stretch{head, before.size() - head - tail, after.mid(head, after.size() - head - tail)};
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

} // namespace lumipage::textchange
