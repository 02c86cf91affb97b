#include "platform/markup/textcodec.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

namespace lumipage::textcodec
{

namespace
{

bool decodesCleanly(const QByteArray &bytes, const char *encoding)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Counts byte pairs that are kana or common kanji in each encoding, for the guess.
int japaneseScore(const QByteArray &bytes, bool euc)
{
    int score = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        if (a < 0x80)
            continue;
        if (euc) {
            if ((a == 0xA4 || a == 0xA5) && b >= 0xA1 && b <= 0xF6)
                score += 2; // hiragana / katakana rows
            else if (a >= 0xB0 && a <= 0xF4 && b >= 0xA1 && b <= 0xFE)
                ++score;
        } else {
            if (a == 0x82 && b >= 0x9F && b <= 0xF1)
                score += 2; // hiragana
            else if (a == 0x83 && b >= 0x40 && b <= 0x96)
                score += 2; // katakana
            else if (a >= 0x88 && a <= 0x9F && b >= 0x40 && b <= 0xFC)
                ++score;
        }
        ++i;
    }
    return score;
}

// In an encoding whose escape sequences set how bytes read (ISO-2022-JP), encoded text
// returns to ASCII at its end (the converter leaves it in the last set it chose, and what
// follows would be read in that set), and an escape straight before another is left out
// (decoders read that as a bad character).
void endInAscii(QByteArray &encoded, const QByteArray &encoding)
{
    if (!encoding.toLower().startsWith("iso-2022"))
        return;
    const qsizetype last = encoded.lastIndexOf('\x1B');
    if (last >= 0 && encoded.mid(last, 3) != "\x1B(B")
        encoded += "\x1B(B";
    for (qsizetype k = encoded.indexOf('\x1B'); k >= 0; k = encoded.indexOf('\x1B', k + 1)) {
        qsizetype end = k + 1;
        while (end < encoded.size() && encoded[end] >= 0x20 && encoded[end] <= 0x2F)
            ++end;
        if (end + 1 < encoded.size() && encoded[end + 1] == '\x1B') {
            encoded.remove(k, end + 1 - k);
            --k;
        }
    }
}

// Appends `part` encoded; a part that does not fit is split until single characters
// are left, which `escape` writes.
void appendEncoded(QByteArray &out, QStringView part, const QByteArray &encoding,
                   const std::function<QByteArray(char32_t)> &escape)
{
    QStringEncoder encoder(encoding.constData(), QStringConverter::Flag::Stateless);
    QByteArray encoded = encoder.encode(part);
    if (!encoder.hasError()) {
        endInAscii(encoded, encoding);
        out += encoded;
        return;
    }
    const bool single = part.size() == 1 || (part.size() == 2 && part.at(0).isHighSurrogate());
    if (single) {
        out += escape(part.toUcs4().value(0));
        return;
    }
    qsizetype half = part.size() / 2;
    if (part.at(half - 1).isHighSurrogate())
        ++half;
    appendEncoded(out, part.left(half), encoding, escape);
    appendEncoded(out, part.mid(half), encoding, escape);
}

} // namespace

QByteArray metaCharset(const QByteArray &bytes)
{
    static const QRegularExpression meta(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(4096));
    const auto match = meta.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

QByteArray detectEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF"))
        return "UTF-16BE";

    // A META names the charset as browsers read labels; a name only the converter knows
    // is still taken, so that pages saved in it read back as before.
    const QByteArray named = metaCharset(bytes);
    if (!named.isEmpty()) {
        const QByteArray known = encodingForLabel(named);
        if (!known.isEmpty() && QStringDecoder(known.constData()).isValid())
            return known;
        if (known.isEmpty() && QStringDecoder(named.constData()).isValid())
            return named;
    }

    if (bytes.contains("\x1B$B") || bytes.contains("\x1B$@"))
        return "ISO-2022-JP";
    if (decodesCleanly(bytes, "UTF-8"))
        return "UTF-8";

    const bool sjis = decodesCleanly(bytes, "windows-31j");
    const bool euc = decodesCleanly(bytes, "EUC-JP");
    if (sjis && !euc)
        return "windows-31j";
    if (euc && !sjis)
        return "EUC-JP";
    return japaneseScore(bytes, true) > japaneseScore(bytes, false) ? "EUC-JP" : "windows-31j";
}

std::optional<Decoded> decode(const QByteArray &bytes, const QByteArray &encoding)
{
    QStringDecoder decoder(encoding.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    Decoded decoded{decoder.decode(bytes), false};
    if (decoder.hasError()) {
        // Again with a line feed behind, so that a character cut off at the end shows as
        // an error instead of vanishing; the converter marks errors with U+001A (or
        // U+FFFD), which become U+FFFD unless the file holds that control byte itself.
        QStringDecoder again(encoding.constData(), QStringConverter::Flag::Stateless);
        decoded.text = again.decode(bytes + '\n');
        decoded.text.chop(1);
        if (!bytes.contains('\x1A'))
            decoded.text.replace(QChar(0x1A), QChar::ReplacementCharacter);
        decoded.replaced = true;
    }
    if (decoded.text.startsWith(QChar(0xFEFF)))
        decoded.text.remove(0, 1);
    return decoded;
}

QByteArray encode(const QString &text, const QByteArray &encoding)
{
    return encode(text, encoding,
                  [](char32_t c) { return "&#" + QByteArray::number(quint32(c)) + ';'; });
}

QByteArray encode(const QString &text, const QByteArray &encoding,
                  const std::function<QByteArray(char32_t)> &escape)
{
    QStringEncoder encoder(encoding.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toUtf8();
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError()) {
        endInAscii(whole, encoding);
        return whole;
    }

    // Some characters do not fit: find them by halving, so only they become references.
    QByteArray out;
    out.reserve(whole.size() + 64);
    appendEncoded(out, QStringView(text), encoding, escape);
    endInAscii(out, encoding);
    return out;
}

bool looksLikeText(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(8192);
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return true; // UTF-16 carries NUL bytes by nature
    static const char *const signatures[] = {"\x89PNG",
                                             "GIF87a",
                                             "GIF89a",
                                             "\xFF\xD8\xFF",
                                             "%PDF-",
                                             "PK\x03\x04",
                                             "\x7F"
                                             "ELF",
                                             "\x1F\x8B",
                                             "\xD0\xCF\x11\xE0",
                                             "RIFF",
                                             "Rar!",
                                             "7z\xBC\xAF"};
    for (const char *signature : signatures)
        if (head.startsWith(signature))
            return false;
    // A stray NUL or control byte is still a page (the engine reads it as a page); a file
    // where one byte in eight is one is not text.
    qsizetype controls = 0;
    for (const char c : head) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1B)
            ++controls;
    }
    return controls * 8 <= head.size();
}

} // namespace lumipage::textcodec
