#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace lumipage::sourcemap
{

// A page's original bytes beside the same text in UTF-8 (what the parser reads), with
// the byte offset in the original of every UTF-8 offset that begins a character, so
// that positions the parser reports lead back to the bytes the author wrote.
struct SourceText {
    QByteArray original;
    QByteArray utf8;
    // Original offset of each UTF-8 offset (size utf8.size() + 1); empty when the two are
    // the same bytes (a UTF-8 page without a byte-order mark or bad bytes).
    std::vector<qint32> originalAt;

    qsizetype toOriginal(qsizetype utf8Offset) const
    {
        return originalAt.empty() ? utf8Offset : originalAt[size_t(utf8Offset)];
    }
};

// Lines `decoded` (the text `original` read in `encoding`, byte-order mark dropped) up
// with the bytes it came from, character by character (ISO-2022-JP: sourcemapescapes.h).
// nullopt for an encoding whose characters cannot be told apart by their bytes (UTF-16),
// or when the converter read the bytes other than the rules here expect.
std::optional<SourceText> map(const QByteArray &original, const QByteArray &encoding,
                              const QString &decoded);

} // namespace lumipage::sourcemap
