#pragma once

#include <QString>

namespace lumipage::programfiles
{

// The folder of the files the program reads beside itself: script templates, the palette
// page, the information texts and the engine's spelling dictionary. In the build tree they
// lie beside the executable; installed, they lie in <prefix>/share/lumipage while the
// executable is in <prefix>/bin.
QString sideFolder();

// A folder the program may write its own files in (the preview copy): beside the
// executable when it runs from its build tree, else the user's cache folder (created).
QString writableFolder();

// The engine reads its spelling dictionaries from the `qtwebengine_dictionaries` folder of
// the side folder, unless the environment names another. The engine reads that place from
// the environment once, as it starts: call pointEngineAtDictionaries() before the first
// page and releaseEngineDictionaries() once a page exists, so that the programs the editor
// starts (the desktop's browser for the preview) do not inherit the setting.
void pointEngineAtDictionaries();
void releaseEngineDictionaries();

} // namespace lumipage::programfiles
