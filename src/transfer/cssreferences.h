#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace lumipage::cssreferences
{

// A file a style sheet names: by url() or by @import (with a string or a url()).
struct Reference {
    QString name; // escapes resolved, quotes taken off
    bool import = false;
};

// The files a style sheet's text names, in order. Only a small scanner for these two
// forms: comments are skipped and strings read whole (with their escapes), so that a
// "url(" inside a comment or a string names nothing.
QList<Reference> references(QStringView css);

// The encoding a sheet's bytes are read in, as browsers choose it: a byte-order mark,
// else an @charset rule at the very start, else `fallback` (the page's encoding).
QByteArray sheetEncoding(const QByteArray &bytes, const QByteArray &fallback);

} // namespace lumipage::cssreferences
