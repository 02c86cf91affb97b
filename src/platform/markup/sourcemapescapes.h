#pragma once

// The source map of an encoding whose bytes are read by a state that escape sequences set
// (ISO-2022-JP), and the fitting of stretches written anew into such bytes.
#include "platform/markup/sourcemap.h"

namespace lumipage::sourcemap
{

// Whether the encoding reads bytes by a state its escape sequences set (ISO-2022-JP): a
// stretch of it written anew must set the state it needs, and leave the one the bytes
// after it expect.
bool hasEscapeState(const QByteArray &encoding);

// map() for such an encoding: decoded stretch by stretch (an escape sequence and the
// bytes up to the next), an escape going with the character after it, so that the bytes
// from one character to another hold the escapes their characters are read with. An
// escape straight after another reads as a bad character (U+FFFD), whose bytes it is.
std::optional<SourceText> mapEscaped(const QByteArray &original, const QByteArray &encoding,
                                     const QString &decoded);

// `encoded` (a text encoded on its own: it begins in ASCII and returns to it) fitted to
// stand in place of the bytes [from, to) of `original`: ASCII set at its start where the
// bytes before leave another set, and at its end the set the bytes after it are read in,
// unless they set one themselves.
QByteArray fitEscapes(const QByteArray &original, qsizetype from, qsizetype to, QByteArray encoded);

} // namespace lumipage::sourcemap
