#pragma once

#include "document/atomicfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace lumipage::pagefile
{

// A page read from disk: its text, the encoding it was written in, and what the user
// should know about the reading (bytes the encoding could not decode), if anything.
struct Page {
    QByteArray bytes; // as they lie in the file
    QString text;
    QByteArray encoding;
    QString notice;
};

// Reads and decodes a page; false with `error` (words for the user) when it cannot.
bool read(const QString &path, Page *page, QString *error);

// Writes `html` in `encoding` atomically; the old file stays whole when this fails.
bool write(const QString &path, const QString &html, const QByteArray &encoding, QString *error);
// Writes bytes already encoded, atomically.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error);
// The same in two steps (atomicfile::begin, then commitWrite), for a save that checks
// its bytes while they reach the disk. nullopt, with `error` set, when the first fails.
std::optional<atomicfile::Pending> beginWrite(const QString &path, const QByteArray &bytes,
                                              QString *error);
bool commitWrite(atomicfile::Pending &pending, const QString &path, qint64 size, QString *error);

} // namespace lumipage::pagefile
