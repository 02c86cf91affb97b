#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lumipage::css
{

// A style sheet's bytes read as text: the encoding they were read in and the length of the
// byte-order mark before the text, so that places in the text lead back to bytes.
struct SheetText {
    QString text;
    QByteArray encoding; // a name QStringDecoder understands
    qsizetype bomLength = 0;
    bool replaced = false; // some bytes were not valid in the encoding (read as U+FFFD)
};

// Reads a sheet as a browser does: a byte-order mark, else the encoding a server named
// (`protocolLabel`, for a sheet fetched over the network), else `@charset "…";` as the
// sheet's very first bytes, else the encoding of the page that links it
// (`environmentEncoding`), else UTF-8. Labels browsers do not know are passed over.
SheetText decodeSheet(const QByteArray &bytes, QByteArrayView protocolLabel = {},
                      QByteArrayView environmentEncoding = {});

// The byte offset in `bytes` (as `sheet` was decoded from them) where the text offset
// `offset` starts.
qsizetype byteOffset(const QByteArray &bytes, const SheetText &sheet, qsizetype offset);

// `text` in the sheet's encoding; characters it cannot hold are written as CSS escapes
// ("\2603 "), which read back as the same characters.
QByteArray encodeSheetText(const QString &text, const QByteArray &encoding);

// `bytes` with the text [start, end) replaced by `replacement`: every other byte stays
// exactly as it was (characters with two encodings, stray bytes, the line ends).
QByteArray spliceBytes(const QByteArray &bytes, const SheetText &sheet, qsizetype start,
                       qsizetype end, const QString &replacement);

} // namespace lumipage::css
