#pragma once

#include <QByteArray>
#include <QString>

namespace lumipage::bench
{

// Writes `bytes` to `dir`/`name`.htm; the file's path.
QString writePage(const QString &dir, const QString &name, const QByteArray &bytes);

// Load, DocumentHTML and save of generated pages against the bare engine.
void componentCases(const QString &dir, const QString &only);
// The same on a 50 MB page, and whether it reads back the same after a save.
void bigPageCases(const QString &dir, const QString &only);
// The main window's refresh after a caret move, typing and the fragment paste.
void windowCases(const QString &dir, const QString &only);
// Bulk replace against QString::replace.
void replaceCases(const QString &only);

} // namespace lumipage::bench
