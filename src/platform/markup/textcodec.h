#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace lumipage::textcodec
{

// The encoding of an HTML file's bytes: a BOM, else the META charset as browsers read
// it (see encodingForLabel), else valid
// UTF-8, else the likelier of Shift_JIS (windows-31j) and EUC-JP, else ISO-2022-JP
// when escape sequences show it. Returns a name QStringDecoder understands.
QByteArray detectEncoding(const QByteArray &bytes);

// The encoding a browser reads a page with when the page names `label` as its charset
// (a name QStringDecoder understands), or empty for a label browsers do not know.
QByteArray encodingForLabel(QByteArrayView label);

// The charset named by a <META … charset=…> in the first bytes, or empty.
QByteArray metaCharset(const QByteArray &bytes);

// Decoded text, and whether some bytes were not valid in the encoding (they read as
// U+FFFD, as a browser shows them).
struct Decoded {
    QString text;
    bool replaced = false;
};

// Decodes; nullopt only when the encoding is unknown to the converter.
std::optional<Decoded> decode(const QByteArray &bytes, const QByteArray &encoding);

// Encodes; characters the encoding cannot hold become numeric character references.
QByteArray encode(const QString &text, const QByteArray &encoding);

// Encodes; characters the encoding cannot hold become what `escape` writes for them (a
// style sheet escapes them its own way).
QByteArray encode(const QString &text, const QByteArray &encoding,
                  const std::function<QByteArray(char32_t)> &escape);

// Whether the bytes look like text at all: not a known binary format, and few control
// bytes in the first 8 KB (a stray NUL is still text).
bool looksLikeText(const QByteArray &bytes);

} // namespace lumipage::textcodec
