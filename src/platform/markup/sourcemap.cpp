#include "platform/markup/sourcemap.h"
#include "platform/markup/sourcemapescapes.h"

namespace lumipage::sourcemap
{

namespace
{

enum class Family { Utf8, ShiftJis, EucJp, SingleByte, Other };

Family familyOf(const QByteArray &encoding)
{
    const QByteArray name = encoding.toLower();
    if (name == "utf-8" || name == "utf8")
        return Family::Utf8;
    if (name == "windows-31j" || name == "shift_jis" || name == "sjis" || name == "cp932" ||
        name == "ms932" || name == "windows-932")
        return Family::ShiftJis;
    if (name == "euc-jp" || name == "eucjp")
        return Family::EucJp;
    if (name.startsWith("iso-8859-") || name.startsWith("windows-125") || name == "us-ascii" ||
        name == "koi8-r" || name == "koi8-u" || name == "macintosh" || name == "latin1")
        return Family::SingleByte;
    return Family::Other;
}

bool inRange(unsigned char b, unsigned char low, unsigned char high)
{
    return b >= low && b <= high;
}

// How many bytes from `at` the converter reads as one character (an undecodable byte is
// one character of its own, U+FFFD, as is a lead byte whose partner is missing).
qsizetype charBytes(Family family, const unsigned char *p, qsizetype at, qsizetype size)
{
    const unsigned char b = p[at];
    const auto next = [&](qsizetype k) { return at + k < size ? p[at + k] : 0; };
    if (b < 0x80 || family == Family::SingleByte)
        return 1;
    switch (family) {
    case Family::Utf8: {
        qsizetype length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (inRange(b, 0xC2, 0xDF))
            length = 2;
        else if (inRange(b, 0xE0, 0xEF))
            length = 3, low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        else if (inRange(b, 0xF0, 0xF4))
            length = 4, low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        else
            return 1;
        // A broken sequence reads as one replacement for its longest valid beginning.
        for (qsizetype k = 1; k < length; ++k) {
            if (!inRange(next(k), k == 1 ? low : 0x80, k == 1 ? high : 0xBF))
                return k;
        }
        return length;
    }
    case Family::ShiftJis:
        if (inRange(b, 0xA1, 0xDF))
            return 1;
        if ((inRange(b, 0x81, 0x9F) || inRange(b, 0xE0, 0xFC)) &&
            (inRange(next(1), 0x40, 0x7E) || inRange(next(1), 0x80, 0xFC)))
            return 2;
        return 1;
    case Family::EucJp:
        if (b == 0x8E)
            return inRange(next(1), 0xA1, 0xDF) ? 2 : 1;
        if (b == 0x8F)
            return inRange(next(1), 0xA1, 0xFE) && inRange(next(2), 0xA1, 0xFE) ? 3 : 1;
        if (inRange(b, 0xA1, 0xFE))
            return inRange(next(1), 0xA1, 0xFE) ? 2 : 1;
        return 1;
    default:
        return 1;
    }
}

} // namespace

std::optional<SourceText> map(const QByteArray &original, const QByteArray &encoding,
                              const QString &decoded)
{
    if (hasEscapeState(encoding))
        return mapEscaped(original, encoding, decoded);
    const Family family = familyOf(encoding);
    if (family == Family::Other)
        return std::nullopt;
    SourceText source{original, decoded.toUtf8(), {}};
    const qsizetype bom = family == Family::Utf8 && original.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bom == 0 && source.utf8 == original)
        return source;

    const auto *bytes = reinterpret_cast<const unsigned char *>(original.constData());
    const qsizetype size = original.size();
    source.originalAt.resize(size_t(source.utf8.size()) + 1, 0);
    qsizetype at = bom, utf8At = 0;
    for (qsizetype k = 0; k < decoded.size(); ++k) {
        if (at >= size)
            return std::nullopt;
        const char32_t c = decoded.at(k).isHighSurrogate() && k + 1 < decoded.size()
                               ? QChar::surrogateToUcs4(decoded.at(k), decoded.at(k + 1))
                               : decoded.at(k).unicode();
        if (c > 0xFFFF)
            ++k;
        const qsizetype length = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        source.originalAt[size_t(utf8At)] = qint32(at);
        utf8At += length;
        at += charBytes(family, bytes, at, size);
    }
    // Every byte read, and the UTF-8 walked in step: otherwise the converter segmented
    // the bytes otherwise than the rules above, and no offset can be trusted.
    if (at != size || utf8At != source.utf8.size())
        return std::nullopt;
    source.originalAt.back() = qint32(size);
    return source;
}

} // namespace lumipage::sourcemap
