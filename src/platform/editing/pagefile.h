#pragma once

#include <QByteArray>
#include <QString>

namespace lumipage::pagefile
{

// A page read from disk: its text and the encoding it was written in.
struct Page {
    QString text;
    QByteArray encoding;
};

// Reads and decodes a page; false with `error` (words for the user) when it cannot.
bool read(const QString &path, Page *page, QString *error);

// Writes `html` in `encoding` atomically; the old file stays whole when this fails.
bool write(const QString &path, const QString &html, const QByteArray &encoding, QString *error);

} // namespace lumipage::pagefile
