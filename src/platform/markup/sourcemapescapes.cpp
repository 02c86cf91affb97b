// The source map of ISO-2022-JP, whose bytes are read by a state that escape sequences
// set: decoded stretch by stretch, each stretch with the escape that begins it.
#include "platform/markup/sourcemapescapes.h"

#include "platform/markup/textcodec.h"

#include <vector>

namespace lumipage::sourcemap
{

namespace
{

constexpr char kEscape = '\x1B';
const QByteArray kAscii = QByteArrayLiteral("\x1B(B");

// The length of the escape sequence at `at` (ESC, intermediates 0x20–0x2F, a final
// byte 0x30–0x7E), or 0.
qsizetype escapeLength(const QByteArray &bytes, qsizetype at)
{
    qsizetype k = at + 1;
    while (k < bytes.size() && bytes[k] >= 0x20 && bytes[k] <= 0x2F)
        ++k;
    if (k == at + 1 || k >= bytes.size() || bytes[k] < 0x30 || bytes[k] > 0x7E)
        return 0;
    return k + 1 - at;
}

// The escape sequence in effect at `at`: the last one before it, ASCII at the start.
QByteArray stateAt(const QByteArray &bytes, qsizetype at)
{
    const qsizetype last = bytes.lastIndexOf(kEscape, at - 1);
    if (last < 0 || at == 0)
        return kAscii;
    const qsizetype length = escapeLength(bytes, last);
    return length ? bytes.mid(last, length) : kAscii;
}

} // namespace

bool hasEscapeState(const QByteArray &encoding)
{
    return encoding.toLower().startsWith("iso-2022-jp");
}

std::optional<SourceText> mapEscaped(const QByteArray &original, const QByteArray &encoding,
                                     const QString &decoded)
{
    SourceText source{original, decoded.toUtf8(), {}};
    source.originalAt.resize(size_t(source.utf8.size()) + 1, 0);
    const qsizetype size = original.size();
    qsizetype at = 0, textAt = 0, utf8At = 0;
    QByteArray escape;
    while (at < size) {
        // One stretch: the escape sequences that begin it (none at the start) and the bytes
        // up to the next. An escape straight after another reads as a bad character
        // (U+FFFD), before the stretch's text: each goes with the escape it stands for, the
        // text with the last escape, which sets the state it is read in.
        std::vector<qsizetype> escapes;
        const qsizetype stretchStart = at;
        while (at < size && original[at] == kEscape) {
            const qsizetype length = escapeLength(original, at);
            if (!length)
                return std::nullopt;
            escapes.push_back(at);
            escape = original.mid(at, length);
            at += length;
        }
        qsizetype end = original.indexOf(kEscape, at);
        if (end < 0)
            end = size;
        const std::optional<textcodec::Decoded> whole =
            textcodec::decode(original.mid(stretchStart, end - stretchStart), encoding);
        const std::optional<textcodec::Decoded> part =
            textcodec::decode(escape + original.mid(at, end - at), encoding);
        if (!whole || !part || !whole->text.endsWith(part->text) ||
            QStringView(decoded).sliced(textAt).left(whole->text.size()) != whole->text)
            return std::nullopt;
        const qsizetype bad = whole->text.size() - part->text.size();
        if (bad > 0 && bad >= qsizetype(escapes.size()))
            return std::nullopt;
        for (qsizetype k = 0; k < bad; ++k) {
            if (whole->text.at(k) != QChar::ReplacementCharacter)
                return std::nullopt;
            source.originalAt[size_t(utf8At)] = qint32(escapes[size_t(k)]);
            utf8At += 3; // U+FFFD in UTF-8
        }
        textAt += bad;
        // Two bytes a character in a two-byte set (ESC $ …), controls and spaces one byte.
        const bool twoBytes = escape.startsWith("\x1B$");
        qsizetype byte = at;
        for (qsizetype k = 0; k < part->text.size(); ++k) {
            if (byte >= end)
                return std::nullopt;
            const char16_t c = part->text.at(k).unicode();
            source.originalAt[size_t(utf8At)] = qint32(k > 0             ? byte
                                                       : escapes.empty() ? stretchStart
                                                                         : escapes.back());
            utf8At += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
            const auto b = static_cast<unsigned char>(original[byte]);
            byte += twoBytes && b > 0x20 && b < 0x7F ? 2 : 1;
        }
        if (byte != end)
            return std::nullopt;
        textAt += part->text.size();
        at = end;
    }
    if (textAt != decoded.size() || utf8At != source.utf8.size())
        return std::nullopt;
    source.originalAt.back() = qint32(size);
    return source;
}

QByteArray fitEscapes(const QByteArray &original, qsizetype from, qsizetype to, QByteArray encoded)
{
    const QByteArray before = stateAt(original, from);
    // Where the bytes before end in an escape, the stretch stood straight after it with
    // an escape of its own (the pair reads as a bad character): it keeps one.
    const qsizetype lastBefore = from > 0 ? original.lastIndexOf(kEscape, from - 1) : -1;
    const bool afterEscape =
        lastBefore >= 0 && lastBefore + escapeLength(original, lastBefore) == from;
    if (!encoded.isEmpty() && encoded[0] != kEscape && (before != kAscii || afterEscape))
        encoded.prepend(kAscii);
    // The set the new bytes leave: their own last escape, else the one before them.
    const qsizetype last = encoded.lastIndexOf(kEscape);
    const QByteArray left = last >= 0 ? encoded.mid(last, escapeLength(encoded, last)) : before;
    if (to < original.size() && original[to] == kEscape) {
        // The bytes after set their own; a return to ASCII just before it says nothing.
        if (encoded.endsWith(kAscii))
            encoded.chop(kAscii.size());
        return encoded;
    }
    const QByteArray after = stateAt(original, to);
    if (left != after) {
        if (encoded.endsWith(kAscii))
            encoded.chop(kAscii.size());
        encoded += after;
    }
    return encoded;
}

} // namespace lumipage::sourcemap
