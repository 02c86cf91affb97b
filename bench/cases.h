#pragma once

#include <QByteArray>
#include <QString>

class QWebEngineView;

namespace lumipage
{
class MainWindow;
}

namespace lumipage::bench
{

// Load, DocumentHTML and save of generated pages against the bare engine.
void componentCases(const QString &dir, const QString &only);
// The same on a big page of `megabytes`, and whether it reads back the same after a save.
// Runs only when asked for (--big-mb N, or --only big): the engine's own load time grows
// about with the square of the page, some two minutes at 10 MB on the development machine.
void bigPageCases(const QString &dir, const QString &only, int megabytes);
// Opening a page nested `depth` DIVs deep: the time, and whether the page opened whole or
// was refused once the engine stopped making progress. Runs only when asked for (--only
// deep): at 100,000 the engine alone takes about two minutes.
void deepPageCases(const QString &dir, const QString &only, int depth);
// The main window's refresh after a caret move, typing and the fragment paste.
void windowCases(const QString &dir, const QString &only);
// Whole commands of the main window: 保存 (1MB, 5MB), the switch to browse mode and one
// effect insertion (100KB, 1MB).
void commandCases(const QString &dir, const QString &only);
// One effect inserted through its dialog on `window`, against `bare`'s insertHTML.
void effectInsertionCases(MainWindow &window, QWebEngineView &bare, const QString &dir,
                          const QString &only);
// The source pane: typing and a caret move with it shown, shown on a 5 MB page, and one
// element edited in it (1 MB).
void sourcePaneCases(const QString &dir, const QString &only);
// Publishing 200 files (10 MB) to the test FTP and SFTP servers against curl sending them
// in one run, and an unchanged 1,000-file site against hashing its files.
void publishCases(const QString &dir, const QString &only);
// Bulk replace against QString::replace.
void replaceCases(const QString &only);
// Our CSS reader on a 1 MB sheet against the engine's parse of the same text; the style
// panel filled after a caret move on a page with a 5,000-rule sheet.
void styleCases(const QString &dir, const QString &only);

} // namespace lumipage::bench
