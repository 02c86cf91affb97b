#pragma once

#include <QByteArray>
#include <QString>

namespace lumipage::bench
{

// Writes `bytes` to `dir`/`name`.htm; the file's path.
QString writePage(const QString &dir, const QString &name, const QByteArray &bytes);

// Load, DocumentHTML and save of generated pages against the bare engine.
void componentCases(const QString &dir, const QString &only);
// The same on a big page of `megabytes` (50 unless --big-mb says otherwise; selected by
// --only big or --only 50MB), and whether it reads back the same after a save. The
// engine's own load time grows faster than the page, so a slow machine measures a smaller one.
void bigPageCases(const QString &dir, const QString &only, int megabytes);
// The main window's refresh after a caret move, typing and the fragment paste.
void windowCases(const QString &dir, const QString &only);
// Bulk replace against QString::replace.
void replaceCases(const QString &only);

} // namespace lumipage::bench
