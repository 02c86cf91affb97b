#include "platform/markup/writtenstyle.h"

#include "platform/markup/elementrules.h"

namespace lumipage
{

namespace
{

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

} // namespace

WrittenStyle writtenStyle(QByteArrayView original)
{
    qsizetype lower = 0, upper = 0, quoted = 0, bare = 0, closed = 0, open = 0;
    const qsizetype n = original.size();
    for (qsizetype k = original.indexOf('<'); k >= 0 && k + 1 < n;
         k = original.indexOf('<', k + 1)) {
        const char first = original[k + 1];
        if (!isLetter(first))
            continue;
        lower += first >= 'a' && first <= 'z';
        upper += first >= 'A' && first <= 'Z';
        qsizetype at = k + 1;
        while (at < n && !isSpace(original[at]) && original[at] != '>' && original[at] != '/')
            ++at;
        const QByteArray name = original.sliced(k + 1, at - k - 1).toByteArray().toLower();
        // Through the tag's end, past quoted values (which may hold '>').
        bool slash = false;
        for (; at < n && original[at] != '>'; ++at) {
            const char c = original[at];
            slash = c == '/';
            if (c != '=')
                continue;
            qsizetype v = at + 1;
            while (v < n && isSpace(original[v]))
                ++v;
            if (v < n && (original[v] == '"' || original[v] == '\'')) {
                ++quoted;
                const qsizetype end = original.indexOf(original[v], v + 1);
                at = end < 0 ? n : end;
            } else {
                ++bare;
            }
        }
        if (documentform::kindOf(QString::fromLatin1(name)) == documentform::Void)
            (slash ? closed : open) += 1;
        k = at < n ? at : n;
    }
    return {upper >= lower, quoted > bare, closed > open};
}

} // namespace lumipage
