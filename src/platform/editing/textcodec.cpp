#include "platform/editing/textcodec.h"

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

// Appends `part` encoded; a part that does not fit is split until single characters
// are left, which are written as numeric character references.
void appendEncoded(QByteArray &out, QStringView part, const QByteArray &encoding)
{
    QStringEncoder encoder(encoding.constData(), QStringConverter::Flag::Stateless);
    const QByteArray encoded = encoder.encode(part);
    if (!encoder.hasError()) {
        out += encoded;
        return;
    }
    const bool single = part.size() == 1 || (part.size() == 2 && part.at(0).isHighSurrogate());
    if (single) {
        out += "&#" + QByteArray::number(part.toUcs4().value(0)) + ';';
        return;
    }
    qsizetype half = part.size() / 2;
    if (part.at(half - 1).isHighSurrogate())
        ++half;
    appendEncoded(out, part.left(half), encoding);
    appendEncoded(out, part.mid(half), encoding);
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

    const QByteArray named = metaCharset(bytes);
    if (!named.isEmpty()) {
        QStringDecoder decoder(named.constData());
        if (decoder.isValid())
            return named.compare("shift_jis", Qt::CaseInsensitive) == 0 ||
                           named.compare("x-sjis", Qt::CaseInsensitive) == 0
                       ? QByteArray("windows-31j") // the superset pages use in practice
                       : named;
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

std::optional<QString> decode(const QByteArray &bytes, const QByteArray &encoding)
{
    QStringDecoder decoder(encoding.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

QByteArray encode(const QString &text, const QByteArray &encoding)
{
    QStringEncoder encoder(encoding.constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return text.toUtf8();
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;

    // Some characters do not fit: find them by halving, so only they become references.
    QByteArray out;
    out.reserve(whole.size() + 64);
    appendEncoded(out, QStringView(text), encoding);
    return out;
}

bool looksLikeText(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(8192);
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return true; // UTF-16 carries NUL bytes by nature
    return !head.contains('\0');
}

} // namespace lumipage::textcodec
