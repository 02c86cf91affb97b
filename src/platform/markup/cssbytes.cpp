#include "platform/markup/cssbytes.h"

#include "platform/markup/textcodec.h"

#include <QStringDecoder>

namespace lumipage::css
{

namespace
{

// A label a browser knows, as a converter name; empty for an unknown one.
QByteArray knownEncoding(QByteArrayView label)
{
    if (label.trimmed().isEmpty())
        return {};
    QByteArray known = textcodec::encodingForLabel(label);
    if (known.isEmpty() && QStringDecoder(label.toByteArray().constData()).isValid())
        known = label.toByteArray(); // a converter name handed on from the page's reading
    return known;
}

// The label of `@charset "…";` when the sheet starts with exactly those bytes.
QByteArray charsetRule(const QByteArray &bytes)
{
    static const QByteArray opening = "@charset \"";
    if (!bytes.startsWith(opening))
        return {};
    const qsizetype close = bytes.indexOf("\";", opening.size());
    if (close < 0 || close > 1024)
        return {};
    const QByteArray label = bytes.sliced(opening.size(), close - opening.size());
    return label.contains('"') ? QByteArray() : label;
}

} // namespace

SheetText decodeSheet(const QByteArray &bytes, QByteArrayView protocolLabel,
                      QByteArrayView environmentEncoding)
{
    SheetText sheet;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        sheet.encoding = "UTF-8";
        sheet.bomLength = 3;
    } else if (bytes.startsWith("\xFF\xFE")) {
        sheet.encoding = "UTF-16LE";
        sheet.bomLength = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        sheet.encoding = "UTF-16BE";
        sheet.bomLength = 2;
    } else {
        // A sheet's own @charset cannot name UTF-16: the label table reads those as UTF-8.
        for (const QByteArray &candidate :
             {knownEncoding(protocolLabel), knownEncoding(charsetRule(bytes)),
              knownEncoding(environmentEncoding), QByteArray("UTF-8")}) {
            if (!candidate.isEmpty()) {
                sheet.encoding = candidate;
                break;
            }
        }
    }
    auto decoded = textcodec::decode(bytes.sliced(sheet.bomLength), sheet.encoding);
    if (!decoded) {
        sheet.encoding = "UTF-8";
        decoded = textcodec::decode(bytes.sliced(sheet.bomLength), sheet.encoding);
    }
    sheet.text = decoded->text;
    sheet.replaced = decoded->replaced;
    return sheet;
}

qsizetype byteOffset(const QByteArray &bytes, const SheetText &sheet, qsizetype offset)
{
    const QString prefix = sheet.text.left(offset);
    const QByteArray body = bytes.sliced(sheet.bomLength);
    // Where the prefix encodes back to as many bytes as it was read from, that is the
    // place (characters with two encodings have the same length in both).
    const qsizetype guess = encodeSheetText(prefix, sheet.encoding).size();
    if (guess <= body.size()) {
        const auto back = textcodec::decode(body.first(guess), sheet.encoding);
        if (back && back->text == prefix)
            return sheet.bomLength + guess;
    }
    // Otherwise (stray bytes, shift states) feed the bytes one at a time and stop where
    // the decoded text reaches the offset.
    QStringDecoder decoder(sheet.encoding.constData());
    qsizetype produced = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (produced >= offset)
            return sheet.bomLength + i;
        produced += QString(decoder.decode(body.sliced(i, 1))).size();
        if (produced > offset)
            return sheet.bomLength + i; // the byte completed an error mark and a character
    }
    return bytes.size();
}

QByteArray encodeSheetText(const QString &text, const QByteArray &encoding)
{
    return textcodec::encode(
        text, encoding, [](char32_t c) { return '\\' + QByteArray::number(quint32(c), 16) + ' '; });
}

QByteArray spliceBytes(const QByteArray &bytes, const SheetText &sheet, qsizetype start,
                       qsizetype end, const QString &replacement)
{
    const qsizetype from = byteOffset(bytes, sheet, start);
    const qsizetype to = byteOffset(bytes, sheet, end);
    return bytes.first(from) + encodeSheetText(replacement, sheet.encoding) + bytes.sliced(to);
}

} // namespace lumipage::css
