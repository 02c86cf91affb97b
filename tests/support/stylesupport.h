#pragma once

#include <QString>

#include <functional>

class QAction;
class QMainWindow;

namespace lumipage
{
class StyleController;
class WebEngineEditingComponent;
} // namespace lumipage

namespace lumipage::test
{

// A style panel for `editor` in `window` (shown, with its command `toggle`), the page at
// `path` loaded with its markup kept; null when the page did not load.
StyleController *openStylePanel(QMainWindow &window, QAction &toggle,
                                WebEngineEditingComponent &editor, const QString &path);

// The panel filled afresh for the element `target`, whose name it shows as `name`, once
// `ready` holds: the caret goes to the page's P#other first, so that it moves, and a fill
// asked for from there, which may still land, is waited out.
bool fillStylePanelFor(StyleController &styles, WebEngineEditingComponent &editor,
                       const QString &target, const QString &name,
                       const std::function<bool()> &ready);

} // namespace lumipage::test
