#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumipage::textcodec
{

// The encoding of an HTML file's bytes: a BOM, else the META charset, else valid
// UTF-8, else the likelier of Shift_JIS (windows-31j) and EUC-JP, else ISO-2022-JP
// when escape sequences show it. Returns a name QStringDecoder understands.
QByteArray detectEncoding(const QByteArray &bytes);

// The charset named by a <META … charset=…> in the first bytes, or empty.
QByteArray metaCharset(const QByteArray &bytes);

// Decodes strictly; nullopt when the bytes are not valid in that encoding.
std::optional<QString> decode(const QByteArray &bytes, const QByteArray &encoding);

// Encodes; characters the encoding cannot hold become numeric character references.
QByteArray encode(const QString &text, const QByteArray &encoding);

// Whether the bytes look like text at all (no NUL bytes in the first 8 KB).
bool looksLikeText(const QByteArray &bytes);

} // namespace lumipage::textcodec
