#pragma once

#include "platform/markup/cssbytes.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

namespace lumipage
{

// The style sheet files a page links or imports, as the style panel reads and writes them:
// read once and kept while the file stays as it was; written in the sheet's own encoding,
// atomically, changing only the bytes of the text edited, and only while the file still
// holds the bytes it was read with.
class LinkedSheets
{
public:
    struct File {
        QByteArray bytes;
        css::SheetText text;
        QString readOnlyReason; // why it may not be written, or empty
        QDateTime modified;
        qint64 size = -1;
    };

    // The sheet at `path`, decoded (a BOM, its @charset, else `pageEncoding`); nullptr when
    // it cannot be read.
    const File *read(const QString &path, const QString &pageFolder,
                     const QByteArray &pageEncoding);
    // Replaces the text [start, end) of the sheet read last from `path` with `text` and
    // writes the file; `before` gets the bytes it held. Empty, or why it was not written.
    QString replace(const QString &path, qsizetype start, qsizetype end, const QString &text,
                    QByteArray *before);
    // Puts `bytes` back where the file still holds `expected` (an edit taken back).
    QString restore(const QString &path, const QByteArray &expected, const QByteArray &bytes);

    // Why the panel may not write the sheet at `path` (read-only, outside the page's
    // folder, open in another editor), or empty.
    static QString readOnlyReason(const QString &path, const QString &pageFolder);

private:
    QString writeChecked(const QString &path, const QByteArray &expected, const QByteArray &bytes);

    QHash<QString, File> m_files;
    QHash<QString, QByteArray> m_encodings; // the page encoding each was read with
};

} // namespace lumipage
