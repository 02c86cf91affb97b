#include "support/stylesupport.h"

#include "platform/editing/webengineeditingcomponent.h"
#include "styles/stylecontroller.h"
#include "styles/stylepanel.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QMainWindow>

namespace lumipage::test
{

StyleController *openStylePanel(QMainWindow &window, QAction &toggle,
                                WebEngineEditingComponent &editor, const QString &path)
{
    editor.setKeepMarkup(true);
    auto *styles = new StyleController(window, editor, toggle);
    window.show();
    styles->setShown(true);
    return loadAndWait(editor, path) ? styles : nullptr;
}

bool fillStylePanelFor(StyleController &styles, WebEngineEditingComponent &editor,
                       const QString &target, const QString &name,
                       const std::function<bool()> &ready)
{
    auto *label = styles.panel()->findChild<QLabel *>(QStringLiteral("styleElement"));
    if (!selectIn(editor, QStringLiteral("other"), 0, 0) ||
        !waitFor([&] { return label->text() == QLatin1String("P#other"); }, 10000))
        return false;
    // The element's name shows at once; its rules once the page has answered.
    return selectIn(editor, target, 0, 0) &&
           waitFor([&] { return label->text() == name && ready(); }, 10000) &&
           waitUntilQuiet(&styles, &StyleController::filled);
}

} // namespace lumipage::test
