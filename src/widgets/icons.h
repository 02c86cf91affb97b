#pragma once

#include <QIcon>
#include <QString>

namespace lumipage::Icons
{

// A picture of our own: the glyph on a rounded tile of the group's colour (dialog
// buttons and pictures that stand for no desktop action).
QIcon glyph(const QString &text, int group);
// The window icon.
QIcon application();

// The icon of a toolbar action by its key ("new_doc", "moji_bold"…): the desktop
// theme's icon of the matching freedesktop name, or our own drawing where the theme has
// none or the key has no such name. Never a null icon, also for an unknown key.
QIcon forKey(const QString &key);
// The freedesktop icon name a key stands for; empty when there is none.
QString themeName(const QString &key);
// Where our own drawing of a key lies among the program's resources.
QString ownIconPath(const QString &key);

// Chooses an icon theme when the desktop names none (a bare X server, a minimal window
// manager): Breeze, dark or light after `darkPalette`, else any theme that is
// installed; the theme the desktop chose is left alone.
void chooseTheme(bool darkPalette);

} // namespace lumipage::Icons
