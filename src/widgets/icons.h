#pragma once

#include <QIcon>
#include <QString>

namespace lumipage::Icons
{

// A toolbar picture of our own: the glyph on a rounded tile of the group's colour.
QIcon glyph(const QString &text, int group);
// The window icon.
QIcon application();

} // namespace lumipage::Icons
